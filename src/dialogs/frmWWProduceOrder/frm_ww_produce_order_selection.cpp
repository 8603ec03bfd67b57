// frmWWProduceOrder: marking headers, product lines and materials, this time's quantities and the
// kit quantity, OK and cancel.
#include <random>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/com_error.h"
#include "automation/text_compare.h"
#include "automation/vb_format.h"
#include "automation/vb_strings.h"
#include "components/marlin_col_set.h"
#include "dialogs/frmWWProduceOrder/frm_ww_produce_order.h"
#include "dialogs/frmWWProduceOrder/ww_produce_order_messages.h"
#include "dialogs/frmWWProduceOrder/ww_produce_order_results.h"
#include "forms/scope_guard.h"
#include "forms/ui_host.h"
#include "module/module_ctl.h"

namespace quillon::dialogs {

using automation::Variant;
using module::MarkedCells;
using module::MarkedRows;
using module::VouchCell;
using namespace ww_produce_order;

namespace {

// The tab of the material list.
constexpr int kMaterialTab = 1;
// How many random names the temporary table of this time's quantities may try.
constexpr int kTableNameTries = 20;

}  // namespace

// ---- headers

void frmWWProduceOrder::VouchListH_RowMarkChanged(int row) {
  if (marking_) return;
  if (VouchListH.Marked(row)) {
    if (severalOrders(ownerVouchType())) {
      std::vector<std::string> vendors;
      for (int r : MarkedRows(VouchListH)) {
        if (r != row) vendors.push_back(VouchCell(VouchListH, r, "cVenCode"));
      }
      if (!sameVendor(vendors, VouchCell(VouchListH, row, "cVenCode"))) {
        forms::MsgBox(std::string(kVendorMismatch), forms::vbOKOnly, std::string(kErrorTitle));
        VouchListH.setMarked(row, false);
        return;
      }
    } else {
      for (int r : MarkedRows(VouchListH)) {
        if (r != row) VouchListH.setMarked(r, false);
      }
    }
  }
  headersChanged();
}

void frmWWProduceOrder::headersChanged() {
  const auto busyPointer = busy();
  const std::string ids = idList(MarkedCells(VouchListH, "ID"));
  if (ids == kNoIds) {
    lineNumbers_.clear();
    closeLevel(lines_);
    closeLevel(materials_);
    emptyList(VouchListB);
    emptyList(VouchListS);
    return;
  }
  errText_.clear();
  RecordsetPtr rs = loadLines(ids, errText_);
  if (!rs) {
    // The product lines stay as they were.
    if (!errText_.empty()) prompt(errText_);
    return;
  }
  lineNumbers_ = readLineNumbers();
  closeLevel(lines_);
  lines_ = std::move(rs);
  showLines();
  closeLevel(materials_);
  emptyList(VouchListS);
}

void frmWWProduceOrder::chkSelectAllHead_Click() {
  const bool on = chkSelectAllHead.Value() == forms::vbChecked;
  bool refused = false;
  {
    const auto quiet = forms::valueForScope(marking_, true);
    module::MarkAllRows(VouchListH, false);
    if (on && VouchListH.Rows() > 1) {
      if (!severalOrders(ownerVouchType())) {
        VouchListH.setMarked(1, true);
      } else {
        const std::string vendor = VouchCell(VouchListH, 1, "cVenCode");
        for (int r = 1; r < VouchListH.Rows(); ++r) {
          const bool same = sameVendor({vendor}, VouchCell(VouchListH, r, "cVenCode"));
          VouchListH.setMarked(r, same);
          refused = refused || !same;
        }
      }
    }
  }
  if (refused) {
    forms::MsgBox(std::string(kVendorMismatch), forms::vbOKOnly, std::string(kErrorTitle));
  }
  headersChanged();
  if (chkSelectAll.Value() == forms::vbChecked) chkSelectAll_Click();
}

// ---- product lines and materials

void frmWWProduceOrder::VouchListB_RowMarkChanged(int row) {
  if (marking_) return;
  if (VouchListB.Marked(row)) txtInvCode.setText(VouchCell(VouchListB, row, "cInvCode"));
  linesChanged();
}

void frmWWProduceOrder::chkSelectAll_Click() {
  {
    const auto quiet = forms::valueForScope(marking_, true);
    module::MarkAllRows(VouchListB, chkSelectAll.Value() == forms::vbChecked);
  }
  linesChanged();
}

void frmWWProduceOrder::linesChanged() {
  const auto busyPointer = busy();
  const std::string mainIds = idList(MarkedCells(VouchListB, "MainID"));
  if (mainIds == kNoIds || bOI) {
    closeLevel(materials_);
    emptyList(VouchListS);
    return;
  }
  errText_.clear();
  RecordsetPtr rs = loadMaterials(mainIds, errText_);
  if (!rs) {
    closeLevel(materials_);
    emptyList(VouchListS);
    if (!errText_.empty()) prompt(errText_, forms::vbOKOnly);
    return;
  }
  closeLevel(materials_);
  materials_ = std::move(rs);
  showMaterials();
  for (int row : MarkedRows(VouchListB)) {
    if (!automation::Trim(VouchCell(VouchListB, row, "iCurQuantity")).empty()) applyKit(row);
  }
}

void frmWWProduceOrder::applyKit(int productRow) {
  const std::string mainId = automation::Trim(VouchCell(VouchListB, productRow, "MainID"));
  const std::string taken = VouchCell(VouchListB, productRow, "iCurQuantity");
  const std::string ordered = VouchCell(VouchListB, productRow, "fQuantity");
  const int quantityCol = VouchListS.colIndex("iCurOutQuantity");
  const int piecesCol = VouchListS.colIndex("iCurOutNum");
  for (int r = 1; r < VouchListS.Rows(); ++r) {
    if (automation::Trim(VouchCell(VouchListS, r, "mainid")) != mainId) continue;
    const KitMaterial kit = kitMaterial(taken, ordered, VouchCell(VouchListS, r, "fQuantity"),
                                        VouchCell(VouchListS, r, "iinvexchrate"), quantityFormat_);
    if (kit.quantity && quantityCol > 0) VouchListS.setTextMatrix(r, quantityCol, *kit.quantity);
    if (kit.pieces && piecesCol > 0) VouchListS.setTextMatrix(r, piecesCol, *kit.pieces);
  }
}

void frmWWProduceOrder::quantityCellChange(forms::MarlinVouchList& list, std::string& text,
                                           bool& cancel, int row, int col) {
  if (automation::Trim(text).empty()) return;
  if (!cellNumber(text)) {
    cancel = true;
    prompt(quantityNotNumber(text));
    return;
  }
  if (&list == &VouchListB && col == VouchListB.colIndex("iCurQuantity")) {
    list.setTextMatrix(row, col, text);
    if (list.Marked(row)) applyKit(row);
  }
}

void frmWWProduceOrder::edtInvQuantity_KeyDown(int& keyCode) {
  if (keyCode != forms::vbKeyReturn) return;
  // Enter applies the kit quantity; it never reaches the dialog's buttons.
  keyCode = 0;
  const auto value = cellNumber(edtInvQuantity.Text());
  if (!value) return;
  const std::string quantity = automation::Format(Variant(*value), quantityFormat_);
  const std::string code = automation::Trim(txtInvCode.Text());
  const int col = VouchListB.colIndex("iCurQuantity");
  if (col < 1) return;
  for (int row : MarkedRows(VouchListB)) {
    if (!code.empty() &&
        !automation::equalsNoCase(automation::Trim(VouchCell(VouchListB, row, "cInvCode")), code)) {
      continue;
    }
    VouchListB.setTextMatrix(row, col, quantity);
    applyKit(row);
  }
}

// ---- OK and cancel

bool frmWWProduceOrder::materialsInUse() const {
  return !bOI && SSTab1.Tab() == kMaterialTab && !MarkedRows(VouchListS).empty();
}

frmWWProduceOrder::RecordsetPtr frmWWProduceOrder::readChild() {
  const ConnectionPtr& conn = connection();
  if (!conn) throw automation::ComError::objectNotSet();
  std::random_device seed;
  std::mt19937 random(seed());
  std::uniform_int_distribution<int> below1000(0, 999);
  std::string name;
  for (int attempt = 1;; ++attempt) {
    name = materialTableName(below1000(random));
    try {
      conn->execute(createMaterialTableSql(name));
      break;
    } catch (const automation::ComError&) {
      // The name is taken on this connection (an earlier OK that was refused): try another.
      if (attempt == kTableNameTries) throw;
    }
  }
  std::vector<std::string> subIds;
  for (int row : MarkedRows(VouchListS)) {
    const MaterialQuantity m{VouchCell(VouchListS, row, "SubID"),
                             VouchCell(VouchListS, row, "iCurOutQuantity"),
                             VouchCell(VouchListS, row, "iCurOutNum")};
    conn->execute(insertMaterialSql(name, m));
    subIds.push_back(automation::Trim(m.subId));
  }
  return reReadChosen(childSql(name, subIds));
}

void frmWWProduceOrder::okClicked() {
  const bool makePrice = zgInstal();
  RecordsetPtr child;
  if (materialsInUse() && !(child = readChild())) return;

  // Only the concession lines' statement reads the rejection records; an ordinary receipt's
  // inspected line is chosen by its inspection row alone (its rejection, if any, is not in the
  // statement the lines are read again from).
  const bool rejections = lineStatementOf(mode(), ownerVouchType()) == LineStatement::YbjsPoMain;
  std::vector<SelectedLine> chosen;
  for (int row : MarkedRows(VouchListB)) {
    chosen.push_back({VouchCell(VouchListB, row, "MainID"),
                      VouchCell(VouchListB, row, "ichkautoid"),
                      rejections ? VouchCell(VouchListB, row, "irejid") : std::string()});
  }
  if (chosen.empty()) return refuseNothingChosen(SSTab1, SSTab1.Tab());
  const std::vector<std::string> heads = MarkedCells(VouchListH, "ID");
  const bool several = heads.size() > 1;
  const RecordsetPtr sub = reReadChosen(reReadSql(
      lineSql_, lineFields_, lineColumns(mode(), several, makePrice), selectionCondition(chosen)));
  if (!sub) return;
  if (heads.empty()) return refuseNothingChosen(SSTab1, SSTab1.Tab());
  const RecordsetPtr parent = reReadChosen(
      reReadSql(headerSql_, headerFields_, headerColumns(several), headerCondition(idList(heads))));
  if (!parent) return;

  // Without materials in use there is no "Child".
  handToOwner({{"Parent", item(parent)}, {"Sub", item(sub)}, {"Child", item(child)}});
  Unload();
}

}  // namespace quillon::dialogs
