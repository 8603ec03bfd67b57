#include "dialogs/frmCons/frm_cons.h"

#include <functional>
#include <optional>
#include <string>

#include "ado/recordset.h"
#include "automation/collection.h"
#include "automation/com_error.h"
#include "automation/vb_format.h"
#include "components/marlin_login.h"
#include "components/purchase_ref_service.h"
#include "components/registration.h"
#include "components/session_context.h"
#include "components/suite_utility.h"
#include "dialogs/frmCons/cons_messages.h"
#include "dialogs/frmCons/cons_queries.h"
#include "dialogs/frmCons/cons_rules.h"
#include "dialogs/kit/line_grid_tools.h"
#include "forms/ui_host.h"
#include "module/module_ctl.h"

namespace quillon::dialogs {

using automation::Variant;
using namespace cons;

namespace {

constexpr std::uint32_t kGridGrey = 0xC0C0C0;  // RGB(192,192,192)

}  // namespace

frmCons::frmCons()
    : ReferenceDialog("frmCons", std::string(kCaption), 11520, 8760, forms::HandlerErrors::Prompt) {
  setKeyPreview(true);
  txtLDate.setTag("rfdate");
  txtUDate.setTag("rfdate");
  txtOutDate.setTag("rfdate");
  cmbWhName.setTag("rfwarehouse");
  cmbDept.setTag("rfdepartment");
  cmbPerson.setTag("rfperson");
  cmbCustom.setTag("rfcustomer");
  cmbDLID.setTag("rfnull");
  cmbInvoiceCode.setTag("rfnull");
  cmdRefers.setTabStop(false);
  cmdRefers.setCausesValidation(false);
  cmdOk.setDefault(true);
  cmdExit.setCancel(true);
  Check1.setValue(forms::vbChecked);
  mnuYJCD.setVisible(false);
  wireEvents();
}

frmCons::~frmCons() = default;

void frmCons::wireEvents() {
  lookupFields_.bind({&txtLDate, &txtUDate, &txtOutDate, &cmbWhName, &cmbDept, &cmbPerson, &cmbDLID,
                      &cmbCustom, &cmbInvoiceCode});
  // The heads compare the customer's abbreviation: the box shows it once an entry is checked.
  lookupFields_.showColumn(cmbCustom, "cCusAbbName");
  for (forms::TextBox* box : {&txtLDate, &txtUDate, &txtOutDate, &cmbWhName, &cmbDept, &cmbPerson,
                              &cmbDLID, &cmbCustom, &cmbInvoiceCode}) {
    box->MouseMove = [box](int, int, int, int) { box->setToolTipText(box->Text()); };
  }
  // The queries' errors are not the dialog's to handle: they end it and reach the owner's trap.
  constexpr auto query = forms::HandlerErrors::Propagate;
  cmdFilter.Click = handler(query, [this] { cmdFilter_Click(); });
  cmbVouchType.DropDown = handler([this] { fillDropDown(cmbVouchType, vouchTypeItems()); });
  cmbBusType.DropDown = handler([this] { fillDropDown(cmbBusType, busTypeItems()); });
  chkAll.Click = handler([this] {
    if (service_) service_->setShowClosed(chkAll.Value() == forms::vbChecked);
  });
  Check1.Click = handler(query, [this] {
    if (ready_) Check1_Click();
  });
  lstFhdHead.MouseUp = handler(query, [this](int button, int, int, int) { headMouseUp(button); });
  lstFhdBody.MouseUp = handler([this](int button, int, int, int) { lineMouseUp(button); });
  lstFhdBody.CellChange = handler([this](std::string& text, bool& cancel, int row, int col) {
    lineCellChange(text, cancel, row, col);
  });
  lstFhdBody.CellButtonClick = handler([this](int row, int col) { lineCellButton(row, col); });
  mnuCopyLine.Click = handler([this] { kit::CopyCurrentRow(lstFhdBody); });
  mnuClearAll.Click = handler([this] { kit::ClearMarks(lstFhdBody); });
  // The line leaves the list as a split line does: hidden, so it is never returned.
  mnuDeleteLine.Click = handler([this] { kit::HideCurrentRow(lstFhdBody); });
  cmdOk.Click = handler([this] { cmdOk_Click(); });
  cmdExit.Click = handler([this] { cmdExit_Click(); });
}

void frmCons::clearLayoutFlags() {
  module::gHeadLayoutDone = false;
  module::gBodyLayoutDone = false;
}

// ---- start-up and unload

void frmCons::Form_Load() {
  if (!module::gContext) throw automation::ComError::objectNotSet();
  service_ =
      components::createAs<components::PurchaseRefService>(components::kPurchaseRefServiceProgId);
  lstFhdHead.setBackColor(kGridGrey);
  lstFhdBody.setBackColor(kGridGrey);
  departmentCondition_ =
      departmentCondition(module::gContext->permissionList("department", "", "W"));
  setFilterText(loadFilterText(filterText(), departmentCondition_));
  warehouses_ = module::gContext->permissionList("warehouse", "", "W");
  inventories_ = module::gContext->permissionList("inventory", "", "W");
  formats_ = module::CurrentGridFormats();

  const auto login = module::gContext->login();
  if (login) txtOutDate.setText(automation::Format(Variant(login->loginDate()), "YYYY-MM-DD"));
  Check2.setEnabled(login && login->checkFunctionRight(kUpdateNoteRight));
  service_->setShowClosed(false);
  chkAll.setValue(forms::vbUnchecked);
  cmdRefers.setVisible(false);
  module::ApplyDialogStyle(*this);
  ready_ = true;
}

void frmCons::Form_Unload(int& /*Cancel*/) {
  ready_ = false;
  handToOwner(nullptr);
  clearLayoutFlags();
  heads_.reset();
  lines_.reset();
}

// ---- filter

void frmCons::fillDropDown(forms::ComboBox& box, const std::vector<std::string>& items) {
  if (box.ListCount() > 0) return;
  for (const std::string& item : items) box.AddItem(item);
}

void frmCons::cmdFilter_Click() {
  const auto busyPointer = busy();
  FilterBoxes boxes;
  boxes.lowerDate = txtLDate.Text();
  boxes.upperDate = txtUDate.Text();
  boxes.warehouseCode = cmbWhName.Text().empty() ? "" : module::LookupFields::codeOf(cmbWhName);
  boxes.department = cmbDept.Text();
  boxes.person = cmbPerson.Text();
  boxes.deliveryCode = cmbDLID.Text();
  boxes.customer = cmbCustom.Text();
  boxes.vouchType = cmbVouchType.Text();
  boxes.busType = cmbBusType.Text();
  boxes.invoiceCode = cmbInvoiceCode.Text();
  setFilterText(headFilter(boxes, departmentCondition_));

  std::shared_ptr<ado::Recordset> rs;
  service_->getDeliveryHeads(*module::gContext, filterText(), rs);
  heads_ = rs;
  bool filled = false;
  module::FillGridFromRecordset(lstFhdHead, module::LineGrid::None, *heads_, filled, nullptr, false,
                                formats_);
  // A grid showing rows has its first data row current, as a person sees it drawn.
  lstFhdHead.setRow(lstFhdHead.Rows() > 1 ? 1 : 0);
  module::gHeadLayoutDone = false;
  module::SetListColumns(lstFhdHead, module::ListKind::DeliveryHead);
  clearLayoutFlags();
  Check1_Click();
}

// ---- heads and lines

void frmCons::appendLinesOf(int headRow) {
  const int keyColumn = module::ColumnIndexOf("dlid", *heads_, lstFhdHead.Cols());
  if (keyColumn <= 0) return;
  const std::int32_t dlid = Variant(lstFhdHead.TextMatrix(keyColumn, headRow)).toLong();
  const std::string warehouse =
      cmbWhName.Text().empty() ? std::string() : module::LookupFields::codeOf(cmbWhName);
  const std::string where =
      noteLineFilter(dlid, lineConditions(warehouse, warehouses_, inventories_));
  std::shared_ptr<ado::Recordset> rs;
  service_->getDeliveryLines(*module::gContext, where, rs);
  lines_ = rs;
  if (lstFhdBody.Rows() <= 1) module::gBodyLayoutDone = false;
  bool filled = false;
  module::FillGridFromRecordset(lstFhdBody, module::LineGrid::Delivery, *lines_, filled, nullptr,
                                true, formats_);
  if (lstFhdBody.Row() == 0 && lstFhdBody.Rows() > 1) lstFhdBody.setRow(1);
  module::SetListColumns(lstFhdBody, module::ListKind::DeliveryBody);
  // The note fixes a line's warehouse; batches and receipts are assigned within it.
  if (const int c = kit::LineFieldColumn(lines_.get(), "cwhname"); c > 0) {
    lstFhdBody.setColLock(c, true);
    lstFhdBody.setColButton(c, false);
  }
}

void frmCons::Check1_Click() {
  const auto busyPointer = busy();
  kit::EmptyGrid(lstFhdBody);
  if (Check1.Value() == forms::vbChecked && heads_) {
    for (int row = 1; row < lstFhdHead.Rows(); ++row) {
      if (lstFhdHead.isMarked(row)) appendLinesOf(row);
    }
  }
  if (lstFhdBody.Rows() <= 1) module::gBodyLayoutDone = false;
}

void frmCons::headMouseUp(int button) {
  if (button != forms::vbLeftButton) return;
  const int row = lstFhdHead.Row();
  if (row < 1 || row >= lstFhdHead.Rows()) return;
  const auto busyPointer = busy();
  lstFhdHead.setMarked(row, !lstFhdHead.isMarked(row));
  if (Check1.Value() != forms::vbChecked) return;
  if (!lstFhdHead.isMarked(row)) {
    Check1_Click();
    return;
  }
  appendLinesOf(row);
}

// ---- OK and cancel

std::shared_ptr<ado::Recordset> frmCons::collectRows(forms::MsSuperGrid& grid,
                                                     const std::shared_ptr<ado::Recordset>& source,
                                                     std::optional<std::string>* refusal) {
  if (!source || !source->isOpen()) return nullptr;
  auto copy = components::suiteUtility()->copyStructure(*source);
  std::function<void(const module::GridRowRecord&)> complete;
  if (refusal != nullptr) {
    complete = [refusal](const module::GridRowRecord& read) {
      if (*refusal) return;
      *refusal = lineSignRefusal(read.thisQuantity, module::ToNumber(Variant(read.loadedQuantity)));
    };
  }
  const module::LineGrid kind =
      &grid == &lstFhdBody ? module::LineGrid::Delivery : module::LineGrid::None;
  module::CollectMarkedRows(grid, kind, *copy, 0, complete);
  return copy;
}

void frmCons::cmdOk_Click() {
  lstFhdBody.FinishEdit();
  if (prompt(std::string(kConfirm), forms::vbYesNo | forms::vbQuestion) != forms::vbYes) return;
  if (lstFhdHead.Row() == 0) {
    prompt(std::string(kNoHead), forms::vbCritical);
    return;
  }
  if (Check1.Value() != forms::vbChecked) {
    const auto redraw = forms::redrawPaused(lstFhdBody);
    Check1.setValue(forms::vbChecked);
  }
  std::optional<std::string> refusal;
  const auto body = collectRows(lstFhdBody, lines_, &refusal);
  if (refusal) {
    prompt(*refusal, forms::vbOKOnly);
    return;
  }
  if (!body || body->recordCount() == 0) return refuseNothingChosen(kRecordsWhat);
  const auto head = collectRows(lstFhdHead, heads_, nullptr);
  if (!head || head->recordCount() == 0) return refuseNothingChosen(kRecordsWhat);

  auto result = std::make_shared<automation::Collection>();
  result->add(Variant(std::static_pointer_cast<automation::Object>(head)), "Head");
  result->add(Variant(std::static_pointer_cast<automation::Object>(body)), "Body");
  result->add(Variant(txtOutDate.Text()), "Date");
  result->add(Variant(std::int32_t{flagOf(Check2.Value())}), "Flag");
  handToOwner(result);
  module::WriteRegistry(module::kChoicesKey, kInvoiceValue, std::to_string(chkEdit.Value()));
  clearLayoutFlags();
  Hide();
}

void frmCons::cmdExit_Click() {
  clearLayoutFlags();
  Unload();
}

// ---- keys

void frmCons::Form_KeyDown(int& KeyCode, int Shift) {
  lookupFields_.keyDown(KeyCode);
  if (Shift != forms::vbCtrlMask) return;
  switch (KeyCode) {
    case 'B':
    case 'Q': {
      const kit::StockPick pick =
          KeyCode == 'B' ? kit::StockPick::Batch : kit::StockPick::ReceiptVoucher;
      KeyCode = 0;
      runHandler([this, pick] { pickForCurrentLine(pick); });
      break;
    }
    case 'E':
    case 'O': {
      const kit::StockPick pick =
          KeyCode == 'E' ? kit::StockPick::Batch : kit::StockPick::ReceiptVoucher;
      KeyCode = 0;
      runHandler([this, pick] { assignAllLines(pick); });
      break;
    }
    default:
      break;
  }
}

void frmCons::Form_KeyPress(int& KeyAscii) {
  module::LookupFields::keyPress(KeyAscii);
}

}  // namespace quillon::dialogs
