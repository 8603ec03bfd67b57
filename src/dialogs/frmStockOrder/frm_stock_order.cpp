#include "dialogs/frmStockOrder/frm_stock_order.h"

#include <string>

#include "ado/recordset.h"
#include "ado/recordset_view.h"
#include "automation/com_error.h"
#include "components/purchase_ref_service.h"
#include "components/session_context.h"
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

constexpr int kWarehousePicture = 219;

}  // namespace

frmStockOrder::frmStockOrder()
    : LineGridDialog("frmStockOrder", std::string(kCaption), 11400, 8400) {
  txtOutDate.setTag("rfnull");
  cmdWh.setTabStop(false);
  cmdWh.setCausesValidation(false);
  bindLineDialog({cmdOk, cmdExit, cmdRefers, Check1, chkAll, txtOutDate, mnuYJCD, mnuCopyLine,
                  mnuClearAll, mnuDeleteLine},
                 {{lstDdHead, lstDdBody, module::LineGrid::Order, "poid", "cpoid"},
                  {lstDhdHead, lstDhdBody, module::LineGrid::Arrival, "id", "ccode"}},
                 {.confirmTitle = "", .keysAllocate = true});
  // Errors of the filter and of the tab switch are not the dialog's to handle: they end it and
  // reach the owner's trap.
  constexpr auto query = forms::HandlerErrors::Propagate;
  SSTab1.Click = handler(query, [this](int previousTab) { tabSwitched(previousTab, false); });
  cmdFilter.Click = handler(query, [this] { filter(); });
  Command1.Click = cmdFilter.Click;
  bindClearFilter(cmdClearFilter);
  bindClearFilter(cmdClearFilter1);
  chkBusType.Click = handler(query, [this] {
    if (ready()) filter();
  });
  cmbBusType.DropDown = handler([this] { busTypeDropDown(); });
  cmbBusType.Click = handler([this] { busTypeChosen(); });
  txtWh.GotFocus = handler([this] { cmdWh.setVisible(true); });
  txtWh.LostFocus = handler([this] { txtWh_LostFocus(); });
  txtWh.KeyDown = [this](int& keyCode, int /*shift*/) {
    if (keyCode != forms::vbKeyReturn) return;
    keyCode = 0;
    focusNext();
  };
  cmdWh.Click = handler([this] { cmdWh_Click(); });
}

frmStockOrder::~frmStockOrder() = default;

int frmStockOrder::pageShown() const {
  return SSTab1.Tab();
}

bool frmStockOrder::onOrderTab() const {
  return SSTab1.Tab() == kOrderTab;
}

// ---- start-up

void frmStockOrder::loadLineDialog() {
  const std::string edition = module::CurrentAccountSettings().text("SysVersion");
  commercial_ = isCommercial(edition);
  chkBusType.setEnabled(consignmentBoxEnabled(edition));
  chkBusType.setValue(forms::vbUnchecked);

  // A dialog shown again starts on the order tab without asking.
  tabSuppressed_ = true;
  SSTab1.setTab(kOrderTab);
  tabSwitched(1, true);
  cmdWh.setPicture(kWarehousePicture);
  cmdWh.setVisible(false);
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
    forgetRows();
    // Fully executed documents are an order matter: the arrival tab does without the switch.
    chkAll.setValue(forms::vbUnchecked);
    chkAll.setEnabled(toOrders);
  }
  cmbPOID.setEnabled(toOrders);
  lblPOID.setEnabled(toOrders);
  cmbArrID.setEnabled(!toOrders);
  lblArrID.setEnabled(!toOrders);
  setFilterText(tabFilterText(toOrders ? kOrderTab : kArrivalTab, departments(), warehouses()));
  tabSuppressed_ = false;
  cmdWh.setVisible(false);
}

// ---- filter and lines

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

std::shared_ptr<ado::Recordset> frmStockOrder::queryHeads() {
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
  setFilterText(headFilter(tab, boxes, departments()));
  std::shared_ptr<ado::Recordset> rs;
  if (tab == kArrivalTab) {
    service().getArrivalHeads(*module::gContext, filterText(), rs);
  } else {
    service().getOrderHeads(*module::gContext, filterText(), rs);
  }
  return rs;
}

std::shared_ptr<ado::Recordset> frmStockOrder::queryLines(std::int32_t headKey, bool singleHead) {
  const bool consignment = consignmentOnly(commercial_, chkBusType.Value());
  std::shared_ptr<ado::Recordset> rs;
  if (onOrderTab()) {
    const std::string where = orderLineCondition(inventories(), txtLPlanArriveDate.Text(),
                                                 txtUPlanArriveDate.Text(), consignment);
    service().getOrderLines(*module::gContext, headKey, where, rs);
  } else {
    const std::string where = arrivalLineCondition(inventories(), warehouses(), cmbWhName.Text(),
                                                   commercial_, consignment, singleHead);
    service().getArrivalLines(*module::gContext, headKey, where, rs);
  }
  return rs;
}

// ---- OK

std::string_view frmStockOrder::noHeadMessage() const {
  return emptyHeadMessage(SSTab1.Tab());
}

std::optional<std::string> frmStockOrder::completeLine(ado::Recordset& record,
                                                       const module::GridRowRecord& read) {
  // An arrival line taken whole is marked so.
  if (onOrderTab() || !ado::hasField(record, "bAll")) return std::nullopt;
  if (takenWhole(module::ToNumber(Variant(read.loadedQuantity)), read.thisQuantity,
                 formats().quantityRounding)) {
    record.setValue(Variant("bAll"), Variant(std::int32_t{1}));
  }
  return std::nullopt;
}

void frmStockOrder::completeHead(ado::Recordset& record) {
  if (!onOrderTab() || !ado::hasField(record, "cBusType")) return;
  const Variant busType = record.value("cBusType");
  const std::string text = busType.isNull() ? std::string() : busType.displayText();
  record.setValue(Variant("cBusType"), Variant(headBusinessType(text, chkBusType.Value())));
}

void frmStockOrder::saveChoices() {
  bStockOrder = onOrderTab();
  module::WriteRegistry(module::kChoicesKey, kOrderFormValue, std::to_string(chkEdit.Value()));
  module::WriteRegistry(module::kChoicesKey, kArrivalFormValue, std::to_string(chkEdit1.Value()));
}

// ---- keys

void frmStockOrder::Form_KeyDown(int& KeyCode, int Shift) {
  if (KeyCode == forms::vbKeyF2 && cmdWh.Visible()) {
    KeyCode = 0;
    runHandler([this] { cmdWh_Click(); });
    return;
  }
  LineGridDialog::Form_KeyDown(KeyCode, Shift);
}

}  // namespace quillon::dialogs
