#include "dialogs/kit/line_grid_tools.h"

#include "ado/recordset.h"
#include "ado/recordset_view.h"
#include "automation/text_compare.h"
#include "automation/vb_format.h"
#include "components/registration.h"
#include "components/session_context.h"
#include "components/suite_utility.h"
#include "components/unit_quantity.h"
#include "dialogs/kit/line_lists.h"
#include "forms/scope_guard.h"
#include "forms/super_grid.h"
#include "module/grid_records.h"
#include "module/lookups.h"
#include "module/module_state.h"
#include "module/text_helpers.h"

namespace quillon::dialogs::kit {

using automation::Variant;

int LineFieldColumn(const ado::Recordset* lines, std::string_view field) {
  if (lines == nullptr) return 0;
  const auto index = ado::RecordsetView(*lines).fieldIndex(field);
  return index ? *index + 1 : 0;
}

std::string LineFieldCell(const forms::MsSuperGrid& grid, const ado::Recordset* lines, int row,
                          std::string_view field) {
  const int col = LineFieldColumn(lines, field);
  return col > 0 && col < grid.Cols() ? grid.TextMatrix(col, row) : std::string();
}

double LineFieldNumber(const forms::MsSuperGrid& grid, const ado::Recordset* lines, int row,
                       std::string_view field) {
  return module::ToNumber(Variant(LineFieldCell(grid, lines, row, field)));
}

std::shared_ptr<ado::Recordset> LineRecordOf(const forms::MsSuperGrid& grid, module::LineGrid kind,
                                             ado::Recordset& lines, int row) {
  auto record = components::suiteUtility()->copyStructure(lines);
  module::CollectMarkedRows(grid, kind, *record, row);
  record->moveFirst();
  return record;
}

bool HasLineData(const forms::MsSuperGrid& grid) {
  return grid.Rows() > 1 && grid.Cols() > 2;
}

void EmptyGrid(forms::MsSuperGrid& grid) {
  grid.setRows(1);
  grid.Clear();
  grid.setRow(0);
}

void CopyCurrentRow(forms::MsSuperGrid& grid) {
  const int row = grid.Row();
  if (row < 1 || row >= grid.Rows()) return;
  const auto redraw = forms::redrawPaused(grid);
  const int added = grid.Rows();
  grid.setRows(added + 1);
  for (int c = 0; c < grid.Cols(); ++c) grid.setTextMatrix(c, added, grid.TextMatrix(c, row));
  grid.setRowLabel(added, grid.rowLabel(row));
}

void ClearMarks(forms::MsSuperGrid& grid) {
  for (int row = 1; row < grid.Rows(); ++row) grid.setMarked(row, false);
}

void HideCurrentRow(forms::MsSuperGrid& grid) {
  const int row = grid.Row();
  if (row < 1 || row >= grid.Rows()) return;
  grid.setRowHeight(row, 0);
}

std::vector<std::string> RowCells(const forms::MsSuperGrid& grid, int row) {
  std::vector<std::string> cells;
  for (int c = 0; c < grid.Cols(); ++c) cells.push_back(grid.TextMatrix(c, row));
  return cells;
}

void RestoreRow(forms::MsSuperGrid& grid, int row, const std::vector<std::string>& cells) {
  for (int c = 0; c < grid.Cols() && c < static_cast<int>(cells.size()); ++c) {
    grid.setTextMatrix(c, row, cells[static_cast<std::size_t>(c)]);
  }
}

void RunUnitRoutine(forms::MsSuperGrid& grid, module::LineGrid kind, ado::Recordset& lines, int row,
                    int col, const module::GridNumberFormats& formats) {
  const ado::RecordsetView fields(lines);
  const std::string field = col == grid.Cols() - 2                   ? std::string("iquantity")
                            : col == grid.Cols() - 1                 ? std::string("inum")
                            : col >= 1 && col <= fields.fieldCount() ? fields.fieldName(col - 1)
                                                                     : std::string();
  auto record = LineRecordOf(grid, kind, lines, row);
  auto unit = components::createAs<components::UnitQuantity>(components::kUnitQuantityProgId);
  unit->setLogin(module::gContext);
  unit->setBody(record);
  unit->recalculate(field);
  const ado::RecordsetView line(*unit->body());
  if (line.rowCount() == 0) return;
  auto value = [&](std::string_view name) {
    const auto index = line.fieldIndex(name);
    return index ? line.value(0, *index) : Variant();
  };
  auto number = [](const Variant& v) { return v.isNull() || v.isEmpty() ? 0.0 : v.toDouble(); };
  grid.setTextMatrix(
      grid.Cols() - 2, row,
      automation::formatNumber(number(value("iquantity")), formats.quantityPattern()));
  grid.setTextMatrix(grid.Cols() - 1, row,
                     automation::formatNumber(number(value("inum")), formats.piecesPattern()));
  if (const int c = LineFieldColumn(&lines, "iinvexchrate"); c > 0) {
    grid.setTextMatrix(
        c, row, automation::formatNumber(number(value("iinvexchrate")), formats.exchRatePattern()));
  }
  for (const char* name : {"cinva_unit", "cwhcode", "cwhname"}) {
    if (const int c = LineFieldColumn(&lines, name); c > 0 && c != col) {
      grid.setTextMatrix(c, row, value(name).displayText());
    }
  }
}

std::vector<std::string> EditWithUnitRoutine(forms::MsSuperGrid& grid, module::LineGrid kind,
                                             ado::Recordset& lines, int row, int col,
                                             const std::string& text,
                                             const module::GridNumberFormats& formats,
                                             bool& cancel) {
  std::vector<std::string> before = RowCells(grid, row);
  grid.setTextMatrix(col, row, text);
  try {
    RunUnitRoutine(grid, kind, lines, row, col, formats);
  } catch (...) {
    RestoreRow(grid, row, before);
    cancel = true;
    throw;
  }
  grid.setTextMatrix(col, row, text);
  return before;
}

bool ChooseLineListValue(const forms::MsSuperGrid& grid, const ado::Recordset& lines, int row,
                         int col, std::string& chosen) {
  const ado::RecordsetView fields(lines);
  const std::string field = col >= 1 && col <= fields.fieldCount() ? fields.fieldName(col - 1) : "";
  const std::string caption = grid.TextMatrix(col, 0);
  const std::string item = LineFieldCell(grid, &lines, row, "cinvcode");
  std::vector<module::LookupRow> rows;
  if (automation::equalsNoCase(field, "cinva_unit")) {
    rows = module::ChooseFromLookup(UnitListQuery(item, ""), caption, "ComputationUnit",
                                    "计量单位编码", "计量单位名称", false);
  } else if (const int freeNo = FreeItemNumber(field); freeNo > 0) {
    rows = module::ChooseFromLookup(FreeItemListQuery(item, freeNo, ""), caption, "InvFreeValue",
                                    "代码", "值", false);
  }
  if (rows.empty()) return false;
  chosen = rows.front().name;
  return true;
}

}  // namespace quillon::dialogs::kit
