#include "dialogs/frmStockOrder/frm_stock_order.h"

#include <functional>
#include <string>

#include "ado/recordset.h"
#include "ado/recordset_view.h"
#include "automation/collection.h"
#include "automation/com_error.h"
#include "automation/vb_format.h"
#include "components/marlin_login.h"
#include "components/purchase_ref_service.h"
#include "components/registration.h"
#include "components/session_context.h"
#include "components/suite_utility.h"
#include "dialogs/frmStockOrder/stock_order_messages.h"
#include "dialogs/frmStockOrder/stock_order_queries.h"
#include "dialogs/frmStockOrder/stock_order_rules.h"
#include "dialogs/kit/line_grid_tools.h"
#include "forms/ui_host.h"
#include "module/module_ctl.h"

namespace quillon::dialogs {

using automation::Variant;
using namespace stock_order;

namespace {

constexpr std::uint32_t kGridGrey = 0xC0C0C0;  // RGB(192,192,192)
constexpr int kWarehousePicture = 219;

}  // namespace

frmStockOrder::frmStockOrder()
    : ReferenceDialog("frmStockOrder", std::string(kCaption), 11400, 8400,
                      forms::HandlerErrors::Prompt) {
  setKeyPreview(true);
  txtLDate.setTag("rfdate");
  txtUDate.setTag("rfdate");
  txtLPlanArriveDate.setTag("rfdate");
  txtUPlanArriveDate.setTag("rfdate");
  cmbVen.setTag("rfvendor");
  cmbDept.setTag("rfdepartment");
  cmbPerson.setTag("rfperson");
  cmbPOID.setTag("rfnull");
  cmbArrID.setTag("rfnull");
  cmbWhName.setTag("rfwarehouse");
  cmdRefers.setTabStop(false);
  cmdRefers.setCausesValidation(false);
  cmdWh.setTabStop(false);
  cmdWh.setCausesValidation(false);
  txtOutDate.setTag("rfnull");
  cmdOk.setDefault(true);
  cmdExit.setCancel(true);
  Check1.setValue(forms::vbChecked);
  mnuYJCD.setVisible(false);
  wireEvents();
}

frmStockOrder::~frmStockOrder() = default;

void frmStockOrder::wireEvents() {
  lookupFields_.bind({&txtLDate, &txtUDate, &txtLPlanArriveDate, &txtUPlanArriveDate, &cmbVen,
                      &cmbDept, &cmbPerson, &cmbPOID, &cmbArrID, &cmbWhName});
  for (forms::TextBox* box : {&txtLDate, &txtUDate, &txtLPlanArriveDate, &txtUPlanArriveDate,
                              &cmbVen, &cmbDept, &cmbPerson, &cmbPOID, &cmbArrID, &cmbWhName}) {
    box->MouseMove = [box](int, int, int, int) { box->setToolTipText(box->Text()); };
  }
  // Errors of the filter, tab and lines handlers are not the dialog's to handle: they end it and
  // reach the owner's trap.
  constexpr auto query = forms::HandlerErrors::Propagate;
  SSTab1.Click = handler(query, [this](int previousTab) { tabSwitched(previousTab, false); });
  cmdFilter.Click = handler(query, [this] { cmdFilter_Click(); });
  Command1.Click = cmdFilter.Click;
  chkBusType.Click = handler(query, [this] {
    if (ready_) cmdFilter_Click();
  });
  cmbBusType.DropDown = handler([this] { busTypeDropDown(); });
  cmbBusType.Click = handler([this] { busTypeChosen(); });
  chkAll.Click = handler([this] {
    if (service_) service_->setShowClosed(chkAll.Value() == forms::vbChecked);
  });
  Check1.Click = handler(query, [this] {
    if (ready_) showLines();
  });
  for (forms::MsSuperGrid* head : {&lstDdHead, &lstDhdHead}) {
    head->MouseUp =
        handler(query, [this, head](int button, int, int, int) { headMouseUp(*head, button); });
  }
  wireLineGrid(lstDdBody);
  wireLineGrid(lstDhdBody);
  mnuCopyLine.Click = handler([this] { copyLine(); });
  mnuClearAll.Click = handler([this] { clearMarkedLines(); });
  mnuDeleteLine.Click = handler([this] { deleteLine(); });
  txtWh.GotFocus = handler([this] { cmdWh.setVisible(true); });
  txtWh.LostFocus = handler([this] { txtWh_LostFocus(); });
  txtWh.KeyDown = [this](int& keyCode, int /*shift*/) {
    if (keyCode != forms::vbKeyReturn) return;
    keyCode = 0;
    focusNext();
  };
  cmdWh.Click = handler([this] { cmdWh_Click(); });
  cmdOk.Click = handler([this] { cmdOk_Click(); });
  cmdExit.Click = handler([this] { cmdExit_Click(); });
}

bool frmStockOrder::onOrderTab() const {
  return SSTab1.Tab() == kOrderTab;
}

forms::MsSuperGrid& frmStockOrder::activeHeadGrid() {
  return onOrderTab() ? lstDdHead : lstDhdHead;
}

forms::MsSuperGrid& frmStockOrder::activeLineGrid() {
  return onOrderTab() ? lstDdBody : lstDhdBody;
}

module::LineGrid frmStockOrder::lineKind() const {
  return onOrderTab() ? module::LineGrid::Order : module::LineGrid::Arrival;
}

void frmStockOrder::clearLayoutFlags() {
  module::gHeadLayoutDone = false;
  module::gBodyLayoutDone = false;
}

// ---- start-up and unload

void frmStockOrder::Form_Load() {
  if (!module::gContext) throw automation::ComError::objectNotSet();
  service_ =
      components::createAs<components::PurchaseRefService>(components::kPurchaseRefServiceProgId);
  departments_ = module::gContext->permissionList("department", "", "W");
  warehouses_ = module::gContext->permissionList("warehouse", "", "W");
  inventories_ = module::gContext->permissionList("inventory", "", "W");

  // The account's number formats, read once: every fill of a grid uses them.
  formats_ = module::CurrentGridFormats();
  const std::string edition = module::CurrentAccountSettings().text("SysVersion");
  commercial_ = isCommercial(edition);
  chkBusType.setEnabled(consignmentBoxEnabled(edition));
  chkBusType.setValue(forms::vbUnchecked);

  // A dialog shown again starts on the order tab without asking.
  tabSuppressed_ = true;
  SSTab1.setTab(kOrderTab);
  tabSwitched(1, true);
  for (forms::MsSuperGrid* grid : {&lstDdHead, &lstDdBody, &lstDhdHead, &lstDhdBody}) {
    grid->setBackColor(kGridGrey);
  }
  const auto login = module::gContext->login();
  if (login) txtOutDate.setText(automation::Format(Variant(login->loginDate()), "YYYY-MM-DD"));
  cmdWh.setPicture(kWarehousePicture);
  service_->setShowClosed(false);
  cmdWh.setVisible(false);
  cmdRefers.setVisible(false);
  module::ApplyDialogStyle(*this);
  ready_ = true;
}

void frmStockOrder::Form_Unload(int& /*Cancel*/) {
  ready_ = false;
  handToOwner(nullptr);
  clearLayoutFlags();
  heads_.reset();
  lines_.reset();
}

// ---- tab switch

void frmStockOrder::tabSwitched(int previousTab, bool firstDisplay) {
  const bool toOrders = firstDisplay || previousTab == kArrivalTab;
  for (forms::Control* c : {static_cast<forms::Control*>(&txtLPlanArriveDate),
                            static_cast<forms::Control*>(&txtUPlanArriveDate),
                            static_cast<forms::Control*>(&lblPlanArriveDate),
                            static_cast<forms::Control*>(&lblPlanArriveDateTo)}) {
    c->setEnabled(toOrders);
  }
  cmbWhName.setText("");
  cmbWhName.setLinkItem("");
  cmbWhName.setEnabled(!toOrders);
  lblWhName.setEnabled(!toOrders);
  setFilterText("");

  if (const auto question = tabSwitchQuestion(previousTab, tabSuppressed_, firstDisplay)) {
    const int answer = prompt(std::string(*question),
                              forms::vbYesNo | forms::vbQuestion | forms::vbDefaultButton2);
    if (answer != forms::vbYes) {
      tabSuppressed_ = !tabSuppressed_;
      SSTab1.setTab(previousTab);
      return;
    }
    if (previousTab == kOrderTab) {
      kit::EmptyGrid(lstDdHead);
      kit::EmptyGrid(lstDdBody);
      txtLPlanArriveDate.setText("");
      txtUPlanArriveDate.setText("");
      cmbPOID.setText("");
    } else {
      kit::EmptyGrid(lstDhdHead);
      kit::EmptyGrid(lstDhdBody);
      cmbArrID.setText("");
    }
    txtWh.setText("");
    whCode_.clear();
    heads_.reset();
    lines_.reset();
    // Fully executed documents are an order matter: the arrival tab does without the switch.
    chkAll.setValue(forms::vbUnchecked);
    chkAll.setEnabled(toOrders);
  }
  cmbPOID.setEnabled(toOrders);
  lblPOID.setEnabled(toOrders);
  cmbArrID.setEnabled(!toOrders);
  lblArrID.setEnabled(!toOrders);
  setFilterText(tabFilterText(toOrders ? kOrderTab : kArrivalTab, departments_, warehouses_));
  tabSuppressed_ = false;
  cmdWh.setVisible(false);
}

// ---- filter

void frmStockOrder::busTypeDropDown() {
  if (cmbBusType.ListCount() > 0) return;
  for (const std::string& item : businessTypes(commercial_)) cmbBusType.AddItem(item);
}

void frmStockOrder::busTypeChosen() {
  if (const auto box = consignmentBoxAfter(cmbBusType.Text(), commercial_)) {
    chkBusType.setEnabled(box->enabled);
    chkBusType.setValue(box->value);
  }
}

void frmStockOrder::cmdFilter_Click() {
  const auto busyPointer = busy();
  const int tab = SSTab1.Tab();
  FilterBoxes boxes;
  boxes.lowerDate = txtLDate.Text();
  boxes.upperDate = txtUDate.Text();
  boxes.department = cmbDept.Text();
  boxes.person = cmbPerson.Text();
  boxes.arrivalCode = cmbArrID.Text();
  boxes.orderCode = cmbPOID.Text();
  // The heads compare the supplier's short name; the box shows the name its lookup or check found.
  boxes.vendor = module::LookupFields::columnOf(cmbVen, "cVenAbbName");
  boxes.busType = cmbBusType.Text();
  setFilterText(headFilter(tab, boxes, departments_));

  std::shared_ptr<ado::Recordset> rs;
  if (tab == kArrivalTab) {
    service_->getArrivalHeads(*module::gContext, filterText(), rs);
  } else {
    service_->getOrderHeads(*module::gContext, filterText(), rs);
  }
  heads_ = rs;
  forms::MsSuperGrid& grid = activeHeadGrid();
  bool filled = false;
  module::FillGridFromRecordset(grid, module::LineGrid::None, *heads_, filled, nullptr, false,
                                formats_);
  // A grid showing rows has its first data row current, as a person sees it drawn: what goes by
  // the current row (OK's head check, the receiving warehouse's item check, the pickers) reads the
  // same headless and drawn.
  grid.setRow(grid.Rows() > 1 ? 1 : 0);
  module::gHeadLayoutDone = false;
  module::SetListColumns(grid, module::ListKind::OrderHead);
  clearLayoutFlags();
  showLines();
}

// ---- lines

void frmStockOrder::appendLinesOf(int headRow, bool singleHead) {
  forms::MsSuperGrid& heads = activeHeadGrid();
  forms::MsSuperGrid& lines = activeLineGrid();
  const bool orders = onOrderTab();
  const int keyColumn = module::ColumnIndexOf(orders ? "poid" : "id", *heads_, heads.Cols());
  if (keyColumn <= 0) return;
  const std::int32_t key = Variant(heads.TextMatrix(keyColumn, headRow)).toLong();
  const bool consignment = consignmentOnly(commercial_, chkBusType.Value());
  std::shared_ptr<ado::Recordset> rs;
  if (orders) {
    const std::string where = orderLineCondition(inventories_, txtLPlanArriveDate.Text(),
                                                 txtUPlanArriveDate.Text(), consignment);
    service_->getOrderLines(*module::gContext, key, where, rs);
  } else {
    const std::string where = arrivalLineCondition(inventories_, warehouses_, cmbWhName.Text(),
                                                   commercial_, consignment, singleHead);
    service_->getArrivalLines(*module::gContext, key, where, rs);
  }
  lines_ = rs;
  if (lines.Rows() <= 1) module::gBodyLayoutDone = false;
  bool filled = false;
  module::FillGridFromRecordset(lines, lineKind(), *lines_, filled, nullptr, true, formats_);
  if (lines.Row() == 0 && lines.Rows() > 1) lines.setRow(1);
  module::SetListColumns(lines, module::ListKind::OrderBody);
}

void frmStockOrder::showLines() {
  const auto busyPointer = busy();
  forms::MsSuperGrid& heads = activeHeadGrid();
  forms::MsSuperGrid& lines = activeLineGrid();
  kit::EmptyGrid(lines);
  if (Check1.Value() == forms::vbChecked && heads_) {
    for (int row = 1; row < heads.Rows(); ++row) {
      if (heads.isMarked(row)) appendLinesOf(row, false);
    }
  }
  if (Check1.Value() != forms::vbChecked && lines.Rows() <= 1) module::gBodyLayoutDone = false;
}

void frmStockOrder::toggleMark(forms::MsSuperGrid& grid) {
  const int row = grid.Row();
  if (row < 1 || row >= grid.Rows()) return;
  grid.setMarked(row, !grid.isMarked(row));
}

void frmStockOrder::headMouseUp(forms::MsSuperGrid& grid, int button) {
  if (button != forms::vbLeftButton) return;
  const int row = grid.Row();
  if (row < 1 || row >= grid.Rows()) return;
  const auto busyPointer = busy();
  toggleMark(grid);
  if (Check1.Value() != forms::vbChecked) return;
  if (!grid.isMarked(row)) {
    showLines();
    return;
  }
  appendLinesOf(row, true);
}

// ---- OK and cancel

std::shared_ptr<ado::Recordset> frmStockOrder::collectRows(
    forms::MsSuperGrid& grid, const std::shared_ptr<ado::Recordset>& source) {
  if (!source || !source->isOpen()) return nullptr;
  auto copy = components::suiteUtility()->copyStructure(*source);
  const std::string rounding = formats_.quantityRounding;
  std::function<void(const module::GridRowRecord&)> complete;
  if (&grid == &lstDhdBody && ado::hasField(*copy, "bAll")) {
    complete = [&](const module::GridRowRecord& read) {
      if (takenWhole(module::ToNumber(Variant(read.loadedQuantity)), read.thisQuantity, rounding)) {
        copy->setValue(Variant("bAll"), Variant(std::int32_t{1}));
      }
    };
  } else if (&grid == &lstDdHead && ado::hasField(*copy, "cBusType")) {
    complete = [&](const module::GridRowRecord&) {
      const Variant busType = copy->value("cBusType");
      const std::string text = busType.isNull() ? std::string() : busType.displayText();
      copy->setValue(Variant("cBusType"), Variant(headBusinessType(text, chkBusType.Value())));
    };
  }
  const bool line = &grid == &lstDdBody || &grid == &lstDhdBody;
  module::CollectMarkedRows(grid, line ? lineKind() : module::LineGrid::None, *copy, 0, complete);
  return copy;
}

void frmStockOrder::cmdOk_Click() {
  lstDdBody.FinishEdit();
  lstDhdBody.FinishEdit();
  if (forms::MsgBox(std::string(kConfirm), forms::vbYesNo | forms::vbQuestion, "") !=
      forms::vbYes) {
    return;
  }
  forms::MsSuperGrid& heads = activeHeadGrid();
  if (heads.Row() == 0) {
    prompt(std::string(emptyHeadMessage(SSTab1.Tab())), forms::vbCritical);
    return;
  }
  forms::MsSuperGrid& lines = activeLineGrid();
  if (Check1.Value() != forms::vbChecked) {
    const auto redraw = forms::redrawPaused(lines);
    Check1.setValue(forms::vbChecked);
  }
  const auto body = collectRows(lines, lines_);
  if (!body || body->recordCount() == 0) return refuseNothingChosen(kRecordsWhat);
  const auto head = collectRows(heads, heads_);
  if (!head || head->recordCount() == 0) return refuseNothingChosen(kRecordsWhat);

  bStockOrder = onOrderTab();
  auto result = std::make_shared<automation::Collection>();
  result->add(Variant(std::static_pointer_cast<automation::Object>(head)), "Head");
  result->add(Variant(std::static_pointer_cast<automation::Object>(body)), "Body");
  result->add(Variant(txtOutDate.Text()), "Date");
  handToOwner(result);
  module::WriteRegistry(module::kChoicesKey, kOrderFormValue, std::to_string(chkEdit.Value()));
  module::WriteRegistry(module::kChoicesKey, kArrivalFormValue, std::to_string(chkEdit1.Value()));
  clearLayoutFlags();
  Hide();
}

void frmStockOrder::cmdExit_Click() {
  clearLayoutFlags();
  Unload();
}

// ---- keys

void frmStockOrder::Form_KeyDown(int& KeyCode, int Shift) {
  if (KeyCode == forms::vbKeyF2 && cmdWh.Visible()) {
    KeyCode = 0;
    runHandler([this] { cmdWh_Click(); });
    return;
  }
  lookupFields_.keyDown(KeyCode);
  if (Shift != forms::vbCtrlMask) return;
  if (KeyCode == 'B' || KeyCode == 'Q') {
    const kit::StockPick pick =
        KeyCode == 'B' ? kit::StockPick::Batch : kit::StockPick::ReceiptVoucher;
    KeyCode = 0;
    runHandler([this, pick] { pickForLine(pick, true); });
  }
}

void frmStockOrder::Form_KeyPress(int& KeyAscii) {
  module::LookupFields::keyPress(KeyAscii);
}

}  // namespace quillon::dialogs
