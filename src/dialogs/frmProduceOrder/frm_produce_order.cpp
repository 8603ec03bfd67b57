#include "dialogs/frmProduceOrder/frm_produce_order.h"

#include "ado/recordset.h"
#include "automation/collection.h"
#include "components/production_order_service.h"
#include "components/registration.h"
#include "components/session_context.h"
#include "dialogs/frmProduceOrder/produce_order_messages.h"
#include "dialogs/frmProduceOrder/produce_order_queries.h"
#include "dialogs/frmProduceOrder/produce_order_rules.h"
#include "module/module_ctl.h"

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
  setKeyPreview(true);
  txtLDate.setTag("rfdate");
  txtUDate.setTag("rfdate");
  cmbDept.setTag("rfdepartment");
  cmbPerson.setTag("rfperson");
  cmbPOID.setTag("rfnull");
  cmbVen.setTag("rfvendor");
  cmbInv.setTag("rfinventory");
  cmbInv.setEnabled(false);
  lblInv.setEnabled(false);
  cmdRefers.setTabStop(false);
  cmdRefers.setCausesValidation(false);
  cmdOk.setDefault(true);
  cmdExit.setCancel(true);
  for (forms::ListView* list : {&lstParent, &lstSub, &lstChild}) {
    list->setView(forms::ListView::lvwReport);
    list->setCheckboxes(true);
    list->setLabelEdit(1);
  }
  MnuFYJCD.setVisible(false);
  MnuZYJCD.setVisible(false);
  wireEvents();
}

frmProduceOrder::~frmProduceOrder() = default;

void frmProduceOrder::wireEvents() {
  cmdFilter.Click = handler([this] { cmdFilter_Click(); });
  // The lists' queries report through the service's error text, shown here; OK reads the chosen
  // rows again itself, and an error of that is not the dialog's: it reaches load's trap.
  cmdOk.Click = handler(forms::HandlerErrors::Propagate, [this] { cmdOk_Click(); });
  cmdExit.Click = handler([this] { cmdExit_Click(); });
  lstParent.ItemCheck = handler([this](forms::ListItem& item) { lstParent_ItemCheck(item); });
  lstSub.ItemCheck = handler([this](forms::ListItem& item) { lstSub_ItemCheck(item); });
  chkAll.Click = handler([this] { allLines_ = allLinesFlag(chkAll.Value() == forms::vbChecked); });
  lstSub.MouseUp = handler([this](int button, int, int, int) {
    if (button == forms::vbRightButton) PopupMenu(MnuFYJCD);
  });
  lstChild.MouseUp = handler([this](int button, int, int, int) {
    if (button == forms::vbRightButton) PopupMenu(MnuZYJCD);
  });
  MnuClearFAll.Click = handler([this] { lstSub.uncheckAll(); });
  MnuClearCAll.Click = handler([this] { lstChild.uncheckAll(); });
  SSTab1.Click = handler(
      [this](int previousTab) { setCaption(std::string(captionAfterTabSwitch(previousTab))); });
  lookupFields_.bind({&txtLDate, &txtUDate, &cmbDept, &cmbPerson, &cmbPOID, &cmbVen, &cmbInv});
}

std::shared_ptr<components::ProductionOrderService> frmProduceOrder::newService() const {
  auto service = components::createAs<components::ProductionOrderService>(
      components::kProductionOrderServiceProgId);
  service->setContext(module::gContext);
  return service;
}

int frmProduceOrder::ownerVouchType() const {
  if (const auto type = ownerProperty("eVouchType")) return type->toLong();
  return module::gVouchType;
}

void frmProduceOrder::Form_Load() {
  module::gColumnIndex = 0;
  service_ = newService();
  if (!module::gContext) throw automation::ComError::objectNotSet();
  setFilterText(withDepartmentCondition(filterText(),
                                        module::gContext->permissionList("department", "", "W")));
  invCondition_ = inventoryCondition(module::gContext->permissionList("inventory", "", "W"));
  if (bOI) {
    SSTab1.setTabEnabled(0, false);
    SSTab1.setTabEnabled(1, false);
  }
  cmdRefers.setVisible(false);
  const AllLinesStart start = allLinesStart(ownerVouchType());
  chkAll.setEnabled(start.enabled);
  chkAll.setValue(start.checked ? forms::vbChecked : forms::vbUnchecked);
  allLines_ = start.allLinesFlag;
  module::ApplyDialogStyle(*this);
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
  FilterFields fields;
  fields.lowerDate = txtLDate.Text();
  fields.upperDate = txtUDate.Text();
  fields.department = module::LookupFields::codeOf(cmbDept);
  fields.person = module::LookupFields::codeOf(cmbPerson);
  fields.orderCode = cmbPOID.Text();
  fields.vendor = module::LookupFields::codeOf(cmbVen);
  fields.inventory = module::LookupFields::codeOf(cmbInv);
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

void frmProduceOrder::cmdOk_Click() {
  const bool materials = materialsTabAvailable();
  std::shared_ptr<ado::Recordset> rsChild;
  if (materials && !(rsChild = reReadMaterials())) return;
  const auto rsLine = reReadLines(materials);
  if (!rsLine) return;
  const auto rsHead = reReadHeads();
  if (!rsHead) return;

  auto result = std::make_shared<automation::Collection>();
  result->add(Variant(std::static_pointer_cast<automation::Object>(rsHead)), "Parent");
  result->add(Variant(std::static_pointer_cast<automation::Object>(rsLine)), "Sub");
  if (materials) {
    if (!rsChild->isOpen()) return refuseNothingChosen(SSTab1, SSTab1.Tabs() - 1);
    result->add(Variant(std::static_pointer_cast<automation::Object>(rsChild)), "Child");
  } else if (!rsHead->isOpen()) {
    return refuseNothingChosen(SSTab1, SSTab1.Tab());
  }
  handToOwner(result);
  Unload();
}

void frmProduceOrder::cmdExit_Click() {
  handToOwner(nullptr);
  Unload();
}

// ---- keys

void frmProduceOrder::Form_KeyDown(int& KeyCode, int /*Shift*/) {
  lookupFields_.keyDown(KeyCode);
}

void frmProduceOrder::Form_KeyPress(int& KeyAscii) {
  module::LookupFields::keyPress(KeyAscii);
}

}  // namespace quillon::dialogs
