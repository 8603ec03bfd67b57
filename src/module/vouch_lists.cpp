#include "module/vouch_lists.h"

#include "ado/recordset.h"
#include "ado/recordset_view.h"
#include "automation/text_compare.h"
#include "components/marlin_col_set.h"
#include "forms/recordset_rows.h"
#include "forms/row_growth.h"
#include "forms/vouch_list.h"

namespace quillon::module {

std::size_t ShownListFirstRows() {
  return forms::listsGrowWhileShown() ? kShownListFirstRows : 0;
}

void FillVouchList(forms::MarlinVouchList& list, std::string_view definitions,
                   const ado::Recordset* rs, const VouchFieldFormats& formats,
                   const std::string& defineFormat, const VouchFieldTexts& texts) {
  list.resetLayout();
  list.setColumnDefinitions(definitions);
  if (!defineFormat.empty()) FormatDefineColumns(list, defineFormat);
  if (rs == nullptr || !rs->isOpen()) return;
  // A recordset still loading is drawn as it comes (what reads the list reads it whole).
  auto rows = std::make_shared<forms::RecordsetRows>(ado::RecordsetView::growing(*rs));
  for (const forms::VouchColumn& column : list.columns()) {
    if (column.format.empty()) continue;
    if (const auto index = rows->view().fieldIndex(column.key))
      rows->setFormat(*index, column.format);
  }
  for (const auto& [field, format] : formats) {
    if (const auto index = rows->view().fieldIndex(field)) rows->setFormat(*index, format);
  }
  for (const auto& [field, shown] : texts) {
    if (const auto index = rows->view().fieldIndex(field)) rows->setShownText(*index, shown);
  }
  list.bind(std::move(rows));
}

bool IsNumericDefineField(std::string_view key) {
  if (automation::equalsNoCase(key, "tdqtyd")) return true;
  for (std::string_view prefix : {"cdefine", "cinvdefine", "cvendefine"}) {
    if (key.size() <= prefix.size() || !automation::startsWithNoCase(key, prefix)) continue;
    bool digits = true;
    for (char c : key.substr(prefix.size())) digits = digits && c >= '0' && c <= '9';
    if (digits) return true;
  }
  return false;
}

void FormatDefineColumns(forms::MarlinVouchList& list, const std::string& format) {
  const auto& columns = list.columns();
  for (std::size_t c = 0; c < columns.size(); ++c) {
    if (IsNumericDefineField(columns[c].key)) list.setColFormat(static_cast<int>(c) + 1, format);
  }
}

std::vector<int> MarkedRows(const forms::MarlinVouchList& list) {
  std::vector<int> rows;
  for (int r = 1; r < list.Rows(); ++r) {
    if (list.Marked(r)) rows.push_back(r);
  }
  return rows;
}

std::string VouchCell(const forms::MarlinVouchList& list, int row, std::string_view key) {
  const int col = list.colIndex(key);
  return col < 0 ? std::string() : list.TextMatrix(row, col);
}

std::vector<std::string> MarkedCells(const forms::MarlinVouchList& list, std::string_view key) {
  std::vector<std::string> cells;
  for (int r : MarkedRows(list)) cells.push_back(VouchCell(list, r, key));
  return cells;
}

void MarkAllRows(forms::MarlinVouchList& list, bool on) {
  for (int r = 1; r < list.Rows(); ++r) list.setMarked(r, on);
}

void KeepColumnWidths(forms::MarlinVouchList& list,
                      const std::shared_ptr<components::MarlinColSet>& columnSet) {
  std::weak_ptr<components::MarlinColSet> weak = columnSet;
  list.ColumnResized = [&list, weak](int col, int width) {
    const auto set = weak.lock();
    if (!set || col < 1 || col >= list.Cols()) return;
    set->keepWidth(list.columns()[static_cast<std::size_t>(col) - 1].key, width);
  };
}

}  // namespace quillon::module
