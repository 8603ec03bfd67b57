#include "dialogs/frmCons/frm_cons.h"

#include <string>

#include "ado/recordset.h"
#include "automation/collection.h"
#include "components/marlin_login.h"
#include "components/purchase_ref_service.h"
#include "components/session_context.h"
#include "dialogs/frmCons/cons_messages.h"
#include "dialogs/frmCons/cons_queries.h"
#include "dialogs/frmCons/cons_rules.h"
#include "forms/ui_host.h"
#include "module/module_ctl.h"

namespace quillon::dialogs {

using automation::Variant;
using namespace cons;

frmCons::frmCons() : LineGridDialog("frmCons", std::string(kCaption), 11520, 8760) {
  bindLineDialog({cmdOk, cmdExit, cmdRefers, Check1, chkAll, txtOutDate, mnuYJCD, mnuCopyLine,
                  mnuClearAll, mnuDeleteLine},
                 {{lstFhdHead, lstFhdBody, module::LineGrid::Delivery, "dlid", "cdlcode"}},
                 {.confirmTitle = forms::kPromptTitle, .keysAllocate = false});
  // The heads compare the customer's abbreviation: the box shows it once an entry is checked.
  lookupFields().showColumn(cmbCustom, "cCusAbbName");
  // The query's errors are not the dialog's to handle: they end it and reach the owner's trap.
  cmdFilter.Click = handler(forms::HandlerErrors::Propagate, [this] { filter(); });
  // The issue date is the voucher's, not part of the filter.
  leaveOutOfFilter(txtOutDate);
  bindClearFilter(cmdClearFilter);
  cmbVouchType.DropDown = handler([this] { fillDropDown(cmbVouchType, vouchTypeItems()); });
  cmbBusType.DropDown = handler([this] { fillDropDown(cmbBusType, busTypeItems()); });
}

frmCons::~frmCons() = default;

// ---- start-up

void frmCons::loadLineDialog() {
  departmentCondition_ = departmentCondition(departments());
  setFilterText(loadFilterText(filterText(), departmentCondition_));
  const auto login = module::gContext->login();
  Check2.setEnabled(login && login->checkFunctionRight(kUpdateNoteRight));
  chkAll.setValue(forms::vbUnchecked);
}

// ---- filter and lines

void frmCons::fillDropDown(forms::ComboBox& box, const std::vector<std::string>& items) {
  if (box.ListCount() > 0) return;
  for (const std::string& item : items) box.AddItem(item);
}

std::string frmCons::warehouseCode() const {
  return cmbWhName.Text().empty() ? std::string() : module::LookupFields::codeOf(cmbWhName);
}

std::shared_ptr<ado::Recordset> frmCons::queryHeads() {
  FilterBoxes boxes;
  boxes.lowerDate = txtLDate.Text();
  boxes.upperDate = txtUDate.Text();
  boxes.warehouseCode = warehouseCode();
  boxes.department = cmbDept.Text();
  boxes.person = cmbPerson.Text();
  boxes.deliveryCode = cmbDLID.Text();
  boxes.customer = cmbCustom.Text();
  boxes.vouchType = cmbVouchType.Text();
  boxes.busType = cmbBusType.Text();
  boxes.invoiceCode = cmbInvoiceCode.Text();
  setFilterText(headFilter(boxes, departmentCondition_));
  std::shared_ptr<ado::Recordset> rs;
  service().getDeliveryHeads(*module::gContext, filterText(), rs);
  return rs;
}

std::shared_ptr<ado::Recordset> frmCons::queryLines(std::int32_t headKey, bool /*singleHead*/) {
  const std::string where =
      noteLineFilter(headKey, lineConditions(warehouseCode(), warehouses(), inventories()));
  std::shared_ptr<ado::Recordset> rs;
  service().getDeliveryLines(*module::gContext, where, rs);
  return rs;
}

void frmCons::linesListed(Page& page) {
  // The note fixes a line's warehouse; batches and receipts are assigned within it.
  if (const int c = lineColumn("cwhname"); c > 0) {
    page.lines.setColLock(c, true);
    page.lines.setColButton(c, false);
  }
}

// ---- OK

std::string_view frmCons::noHeadMessage() const {
  return kNoHead;
}

std::optional<std::string> frmCons::completeLine(ado::Recordset& /*record*/,
                                                 const module::GridRowRecord& read) {
  return lineSignRefusal(read.thisQuantity, module::ToNumber(Variant(read.loadedQuantity)));
}

void frmCons::addResults(automation::Collection& results) {
  results.add(Variant(std::int32_t{flagOf(Check2.Value())}), "Flag");
}

void frmCons::saveChoices() {
  module::WriteRegistry(module::kChoicesKey, kInvoiceValue, std::to_string(chkEdit.Value()));
}

// ---- keys

void frmCons::Form_KeyDown(int& KeyCode, int Shift) {
  LineGridDialog::Form_KeyDown(KeyCode, Shift);
  if (Shift != forms::vbCtrlMask || (KeyCode != 'E' && KeyCode != 'O')) return;
  const kit::StockPick pick =
      KeyCode == 'E' ? kit::StockPick::Batch : kit::StockPick::ReceiptVoucher;
  KeyCode = 0;
  runHandler([this, pick] { assignAllLines(pick); });
}

}  // namespace quillon::dialogs
