#include "dialogs/frmProduceOrder/frm_produce_order.h"

#include "ado/recordset.h"
#include "components/production_order_service.h"
#include "components/registration.h"
#include "components/session_context.h"
#include "dialogs/frmProduceOrder/produce_order_messages.h"
#include "dialogs/frmProduceOrder/produce_order_queries.h"
#include "dialogs/frmProduceOrder/produce_order_rules.h"
#include "dialogs/kit/order_filter.h"
#include "module/module_ctl.h"
#include "module/vouch_lists.h"

namespace quillon::dialogs {

using automation::Variant;
using namespace produce_order;

namespace {

// The tab of the product lines; the materials are on the last tab.
constexpr int kLineTab = 0;

}  // namespace

frmProduceOrder::frmProduceOrder()
    : ReferenceDialog("frmProduceOrder", std::string(kCaptionOtherwise), 11520, 7800,
                      forms::HandlerErrors::Prompt) {
  bindFilterFields(cmdRefers);
  cmbInv.setEnabled(false);
  lblInv.setEnabled(false);
  for (forms::ListView* list : {&lstParent, &lstSub, &lstChild}) {
    list->setView(forms::ListView::lvwReport);
    list->setCheckboxes(true);
    list->setLabelEdit(1);
  }
  // The lists' queries report through the service's error text, shown here; OK reads the chosen
  // rows again itself, and an error of that is not the dialog's: it reaches load's trap.
  bindButtons(cmdOk, cmdExit, forms::HandlerErrors::Propagate);
  cmdFilter.Click = handler([this] { cmdFilter_Click(); });
  bindClearFilter(cmdClearFilter);
  lstParent.ItemCheck = handler([this](forms::ListItem& item) { lstParent_ItemCheck(item); });
  lstSub.ItemCheck = handler([this](forms::ListItem& item) { lstSub_ItemCheck(item); });
  chkAll.Click = handler([this] { allLines_ = allLinesFlag(chkAll.Value() == forms::vbChecked); });
  popupMenuOn(lstSub, MnuFYJCD);
  popupMenuOn(lstChild, MnuZYJCD);
  MnuClearFAll.Click = handler([this] { lstSub.uncheckAll(); });
  MnuClearCAll.Click = handler([this] { lstChild.uncheckAll(); });
  SSTab1.Click = handler(
      [this](int previousTab) { setCaption(std::string(captionAfterTabSwitch(previousTab))); });
}

frmProduceOrder::~frmProduceOrder() = default;

std::shared_ptr<components::ProductionOrderService> frmProduceOrder::newService() const {
  auto service = components::createAs<components::ProductionOrderService>(
      components::kProductionOrderServiceProgId);
  service->setContext(module::gContext);
  return service;
}

void frmProduceOrder::loadDialog() {
  module::gColumnIndex = 0;
  service_ = newService();
  setFilterText(withDepartmentCondition(filterText(),
                                        module::gContext->permissionList("department", "", "W")));
  invCondition_ = inventoryCondition(module::gContext->permissionList("inventory", "", "W"));
  if (bOI) {
    SSTab1.setTabEnabled(0, false);
    SSTab1.setTabEnabled(1, false);
  }
  const AllLinesStart start = allLinesStart(ownerVouchType());
  chkAll.setEnabled(start.enabled);
  chkAll.setValue(start.checked ? forms::vbChecked : forms::vbUnchecked);
  allLines_ = start.allLinesFlag;
}

void frmProduceOrder::Form_Unload(int& /*Cancel*/) {
  materials_.releaseRecordset();
  lines_.releaseRecordset();
  heads_.releaseRecordset();
}

bool frmProduceOrder::materialsTabAvailable() const {
  return SSTab1.TabEnabled(SSTab1.Tabs() - 1);
}

// ---- filter

void frmProduceOrder::cmdFilter_Click() {
  const auto busyPointer = busy();
  rememberFilter();
  const FilterFields fields =
      kit::readOrderFilter(txtLDate, txtUDate, cmbDept, cmbPerson, cmbPOID, cmbVen, cmbInv);
  const FilterConditions conditions = filterConditions(fields, module::gVouchType);

  if (conditions.head.empty() && !conditions.line.empty() && lines_.recordset()) {
    // An item alone narrows the product lines already listed, without asking the database.
    lines_.recordset()->setFilter(Variant(conditions.line));
    lines_.refill(!materialsTabAvailable());
    materials_.close();
    return;
  }
  LoadParentOrders(conditions.head);
}

void frmProduceOrder::LoadParentOrders(const std::string& condition) {
  const std::string where = joinHeadConditions(condition, filterText());
  auto rs = heads_.recordset();
  bool ok = false;
  errText_.clear();
  const auto state = components::kVerifiedOrderState;
  auto& conn = connectionRef();
  {
    // Drawn for a person, the heads show their first screen while the rest loads.
    const ado::ProgressiveOpens firstScreen(module::ShownListFirstRows());
    switch (queryVariant(bOI, ownerVouchType())) {
      case QueryVariant::OI:
        service_->listHeadsOI(where, rs, conn, errText_, state, allLines_, ok);
        break;
      case QueryVariant::Type39:
        service_->listHeads39(where, rs, conn, errText_, state, allLines_, ok);
        break;
      case QueryVariant::Plain:
        service_->listHeads(where, rs, conn, errText_, state, allLines_, ok);
        break;
    }
  }
  if (!errText_.empty() || !ok) {
    prompt(errText_);
    return;
  }
  heads_.show(rs, false);
  lines_.close();
  materials_.close();
}

// ---- checks

void frmProduceOrder::lstParent_ItemCheck(forms::ListItem& item) {
  const auto busyPointer = busy();
  lstParent.uncheckOthers(item);
  // The materials stay as listed: they change only with a product line's check, and OK asks for a
  // checked line of the order it returns anyway.
  if (!item.Checked()) {
    lines_.clearRows();
    cmbInv.setText("");
    cmbInv.setLinkItem("");
    cmbInv.setEnabled(false);
    lblInv.setEnabled(cmbInv.Enabled());
    return;
  }
  if (!listLines(item.Text())) return;
  cmbInv.setEnabled(true);
  lblInv.setEnabled(true);
}

bool frmProduceOrder::listLines(const std::string& headKey) {
  auto rs = lines_.recordset();
  bool ok = false;
  errText_.clear();
  const auto state = components::kVerifiedOrderState;
  auto& conn = connectionRef();
  switch (queryVariant(bOI, ownerVouchType())) {
    case QueryVariant::OI:
      service_->listLinesOI(headKey, rs, conn, errText_, state, allLines_, invCondition_, ok);
      break;
    case QueryVariant::Type39:
      service_->listLines39(headKey, rs, conn, errText_, state, allLines_, invCondition_, ok);
      break;
    case QueryVariant::Plain:
      service_->listLines(headKey, rs, conn, errText_, state, allLines_, invCondition_, ok);
      break;
  }
  if (!ok) {
    prompt(errText_);
    return false;
  }
  lstSub.setEnabled(false);
  // Without the materials tab the lines are what the host gets, so they arrive checked.
  lines_.show(rs, !materialsTabAvailable());
  lstSub.setEnabled(true);
  return true;
}

void frmProduceOrder::lstSub_ItemCheck(forms::ListItem& item) {
  service_ = newService();
  const bool materials = materialsTabAvailable();
  if (materials) lstSub.uncheckOthers(item);
  if (item.Checked() && materials && lines_.recordset() && !listMaterials(item)) {
    item.setChecked(false);
    return;
  }
  if (!item.Checked()) lstChild.clearItems();
  if (item.Checked() && lines_.recordset() && lines_.column("id") > 0) {
    // A checked line always has its order checked.
    const std::string head = lines_.cell(item, "id");
    for (int i = 1; i <= lstParent.itemCount(); ++i) {
      if (lstParent.item(i).Text() == head) lstParent.item(i).setChecked(true);
    }
  }
  module::SetListColumns(lstChild, module::ListKind::Child);
}

bool frmProduceOrder::listMaterials(const forms::ListItem& line) {
  invCondition_ = inventoryCondition(module::gContext->permissionList("inventory", "", "W"));
  const double quantity = lines_.column("fquantity") > 0
                              ? module::ToNumber(Variant(lines_.cell(line, "fquantity")))
                              : 0.0;
  const std::int32_t key = Variant(line.Text()).toLong();
  auto rs = materials_.recordset();
  bool ok = false;
  errText_.clear();
  service_->listMaterials(key, quantity, rs, connectionRef(), errText_, invCondition_, ok);
  if (!ok) {
    prompt(errText_);
    return false;
  }
  materials_.adopt(std::move(rs));
  // Listed without their captions: lstSub_ItemCheck sets them in every case.
  module::FillList(lstChild, materials_.recordset().get(), true);
  return true;
}

// ---- OK and exit

std::shared_ptr<ado::Recordset> frmProduceOrder::reReadMaterials() {
  const std::string keys = materials_.chosenKeys("subid");
  if (keys.empty()) {
    refuseNothingChosen(SSTab1, SSTab1.Tabs() - 1);
    return nullptr;
  }
  return reReadChosen(*materials_.recordset(), "subid" + keys);
}

std::shared_ptr<ado::Recordset> frmProduceOrder::reReadLines(bool materials) {
  std::string keys = lines_.chosenKeys("mainid");
  if (keys.empty()) {
    refuseNothingChosen(SSTab1, kLineTab);
    return nullptr;
  }
  if (materials) {
    // The lines are narrowed to the project of the line whose materials were chosen.
    const forms::ListItem& chosen = *lines_.firstChecked();
    keys += projectNarrowing(lines_.cell(chosen, "citemcode"), lines_.cell(chosen, "citem_class"));
  }
  return reReadChosen(*lines_.recordset(), "pp_pomain.mainid" + keys);
}

std::shared_ptr<ado::Recordset> frmProduceOrder::reReadHeads() {
  const std::string keys = heads_.chosenKeys("id");
  if (keys.empty()) {
    refuseNothingChosen(kHeadCaption);
    return nullptr;
  }
  return reReadChosen(*heads_.recordset(), "id" + keys);
}

void frmProduceOrder::okClicked() {
  const bool materials = materialsTabAvailable();
  std::shared_ptr<ado::Recordset> rsChild;
  if (materials && !(rsChild = reReadMaterials())) return;
  const auto rsLine = reReadLines(materials);
  if (!rsLine) return;
  const auto rsHead = reReadHeads();
  if (!rsHead) return;
  if (materials && !rsChild->isOpen()) return refuseNothingChosen(SSTab1, SSTab1.Tabs() - 1);
  if (!materials && !rsHead->isOpen()) return refuseNothingChosen(SSTab1, SSTab1.Tab());
  // Without the materials tab there is no "Child".
  handToOwner({{"Parent", item(rsHead)}, {"Sub", item(rsLine)}, {"Child", item(rsChild)}});
  Unload();
}

}  // namespace quillon::dialogs
