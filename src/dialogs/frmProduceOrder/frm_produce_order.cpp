#include "dialogs/frmProduceOrder/frm_produce_order.h"

#include <exception>
#include <functional>

#include "ado/recordset.h"
#include "automation/collection.h"
#include "components/production_order_service.h"
#include "components/registration.h"
#include "components/session_context.h"
#include "dialogs/frmProduceOrder/produce_order_queries.h"
#include "dialogs/frmProduceOrder/produce_order_rules.h"
#include "forms/ui_host.h"
#include "module/module_ctl.h"

namespace quillon::dialogs {

using automation::Variant;
using namespace produce_order;

namespace {

constexpr const char* kTitle = "系统提示";
constexpr const char* kStaleMessage = "当前单据可能已经被他人修改请重新过滤后再进行生单！";
// What the head list is called in the "please select" message; it lies above the tabs.
constexpr const char* kHeadCaption = "生产订单";

// The busy pointer for the length of a handler, reset however it ends.
class BusyPointer {
 public:
  explicit BusyPointer(forms::Form& form) : form_(form) {
    form_.setMousePointer(forms::vbArrowHourglass);
  }
  ~BusyPointer() { form_.setMousePointer(forms::vbDefault); }
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;

 private:
  forms::Form& form_;
};

// Runs an event handler; a run-time error is shown to the user instead of reaching the host's
// message loop, and the dialog stays open.
void guarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const automation::ComError& e) {
    forms::MsgBox(e.description(), forms::vbCritical, kTitle);
  } catch (const std::exception& e) {
    forms::MsgBox(e.what(), forms::vbCritical, kTitle);
  }
}

// The text of a list cell: column 1 is the item text, higher columns its sub-items.
std::string cellOf(const forms::ListItem& item, int column) {
  if (column <= 1) return item.Text();
  return item.SubItems(column - 1);
}

void uncheckAll(forms::ListView& list) {
  for (int i = 1; i <= list.itemCount(); ++i) list.item(i).setChecked(false);
}

// A reference field's value for the WHERE text: the code behind the shown name when the lookup
// or the entry check found one, else what was typed.
std::string codeOf(const forms::TextBox& field) {
  return field.LinkItem().empty() ? field.Text() : field.LinkItem();
}

}  // namespace

frmProduceOrder::frmProduceOrder()
    : Form("frmProduceOrder", std::string(kCaptionOtherwise), 11520, 7800) {
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
  cmdFilter.Click = [this] { guarded([this] { cmdFilter_Click(); }); };
  cmdOk.Click = [this] { guarded([this] { cmdOk_Click(); }); };
  cmdExit.Click = [this] { guarded([this] { cmdExit_Click(); }); };
  lstParent.ItemCheck = [this](forms::ListItem& item) {
    guarded([&] { lstParent_ItemCheck(item); });
  };
  lstSub.ItemCheck = [this](forms::ListItem& item) { guarded([&] { lstSub_ItemCheck(item); }); };
  chkAll.Click = [this] { allLines_ = allLinesFlag(chkAll.Value() == forms::vbChecked); };
  lstSub.MouseUp = [this](int button, int, int, int) {
    if (button == forms::vbRightButton) PopupMenu(MnuFYJCD);
  };
  lstChild.MouseUp = [this](int button, int, int, int) {
    if (button == forms::vbRightButton) PopupMenu(MnuZYJCD);
  };
  MnuClearFAll.Click = [this] { uncheckAll(lstSub); };
  MnuClearCAll.Click = [this] { uncheckAll(lstChild); };
  SSTab1.Click = [this](int previousTab) {
    setCaption(std::string(captionAfterTabSwitch(previousTab)));
  };
  cmdRefers.Click = [this] {
    guarded([this] { openLookupFor(find<forms::TextBox>(cmdRefers.Tag())); });
  };
  for (forms::TextBox* field :
       {&txtLDate, &txtUDate, &cmbDept, &cmbPerson, &cmbPOID, &cmbVen, &cmbInv}) {
    field->GotFocus = [this, field] { guarded([&] { fieldGotFocus(*field); }); };
    field->LostFocus = [this, field] { guarded([&] { fieldLostFocus(*field); }); };
  }
  txtLDate.Validate = [this](bool& cancel) { module::ValidateDateField(txtLDate, cancel); };
  txtUDate.Validate = [this](bool& cancel) { module::ValidateDateField(txtUDate, cancel); };
}

std::shared_ptr<components::ProductionOrderService> frmProduceOrder::newService() const {
  auto service = components::createAs<components::ProductionOrderService>(
      components::kProductionOrderServiceProgId);
  service->setContext(module::gContext);
  return service;
}

int frmProduceOrder::ownerVouchType() const {
  if (auto owner = owner_.lock()) return owner->get("eVouchType").toLong();
  return module::gVouchType;
}

void frmProduceOrder::Form_Load() {
  module::gColumnIndex = 0;
  service_ = newService();
  if (!module::gContext) {
    throw automation::ComError::objectNotSet();
  }
  filter_ =
      withDepartmentCondition(filter_, module::gContext->permissionList("department", "", "W"));
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
  module::CloseRecordset(materialRs_);
  module::CloseRecordset(lineRs_);
  module::CloseRecordset(headRs_);
}

bool frmProduceOrder::materialsTabAvailable() const {
  return SSTab1.TabEnabled(SSTab1.Tabs() - 1);
}

// ---- filter

void frmProduceOrder::cmdFilter_Click() {
  BusyPointer busy(*this);
  FilterFields fields;
  fields.lowerDate = txtLDate.Text();
  fields.upperDate = txtUDate.Text();
  fields.department = codeOf(cmbDept);
  fields.person = codeOf(cmbPerson);
  fields.orderCode = cmbPOID.Text();
  fields.vendor = codeOf(cmbVen);
  fields.inventory = codeOf(cmbInv);
  const FilterConditions conditions = filterConditions(fields, module::gVouchType);

  if (conditions.head.empty() && !conditions.line.empty() && lineRs_) {
    // An item alone narrows the product lines already listed, without asking the database.
    lineRs_->setFilter(Variant(conditions.line));
    fillLines();
    module::SetListColumns(lstSub);
    module::CloseRecordset(materialRs_);
    lstChild.clearItems();
    return;
  }
  LoadParentOrders(conditions.head);
}

void frmProduceOrder::LoadParentOrders(const std::string& condition) {
  const std::string where = joinHeadConditions(condition, filter_);
  auto rs = headRs_;
  bool ok = false;
  errText_.clear();
  const auto state = components::kVerifiedOrderState;
  switch (queryVariant(bOI, ownerVouchType())) {
    case QueryVariant::OI:
      service_->listHeadsOI(where, rs, conn_, errText_, state, allLines_, ok);
      break;
    case QueryVariant::Type39:
      service_->listHeads39(where, rs, conn_, errText_, state, allLines_, ok);
      break;
    case QueryVariant::Plain:
      service_->listHeads(where, rs, conn_, errText_, state, allLines_, ok);
      break;
  }
  if (!errText_.empty() || !ok) {
    forms::MsgBox(errText_, forms::vbInformation, kTitle);
    return;
  }
  if (headRs_ != rs) module::CloseRecordset(headRs_);
  headRs_ = rs;
  module::FillList(lstParent, headRs_.get(), false);
  module::SetListColumns(lstParent);
  module::CloseRecordset(lineRs_);
  module::CloseRecordset(materialRs_);
  lstSub.clearItems();
  lstChild.clearItems();
}

void frmProduceOrder::fillLines() {
  // Without the materials tab the lines are what the host gets, so they arrive checked.
  module::FillList(lstSub, lineRs_.get(), !materialsTabAvailable());
}

// ---- checks

void frmProduceOrder::lstParent_ItemCheck(forms::ListItem& item) {
  BusyPointer busy(*this);
  for (int i = 1; i <= lstParent.itemCount(); ++i) {
    if (&lstParent.item(i) != &item) lstParent.item(i).setChecked(false);
  }
  // Materials listed for another order's line no longer belong to what is checked.
  module::CloseRecordset(materialRs_);
  lstChild.clearItems();
  if (!item.Checked()) {
    lstSub.clearItems();
    cmbInv.setText("");
    cmbInv.setLinkItem("");
    cmbInv.setEnabled(false);
    lblInv.setEnabled(cmbInv.Enabled());
    return;
  }
  auto rs = lineRs_;
  bool ok = false;
  errText_.clear();
  const auto state = components::kVerifiedOrderState;
  switch (queryVariant(bOI, ownerVouchType())) {
    case QueryVariant::OI:
      service_->listLinesOI(item.Text(), rs, conn_, errText_, state, allLines_, invCondition_, ok);
      break;
    case QueryVariant::Type39:
      service_->listLines39(item.Text(), rs, conn_, errText_, state, allLines_, invCondition_, ok);
      break;
    case QueryVariant::Plain:
      service_->listLines(item.Text(), rs, conn_, errText_, state, allLines_, invCondition_, ok);
      break;
  }
  if (!ok) {
    forms::MsgBox(errText_, forms::vbInformation, kTitle);
    return;
  }
  if (lineRs_ != rs) module::CloseRecordset(lineRs_);
  lineRs_ = rs;
  lstSub.setEnabled(false);
  fillLines();
  module::SetListColumns(lstSub);
  lstSub.setEnabled(true);
  cmbInv.setEnabled(true);
  lblInv.setEnabled(true);
}

void frmProduceOrder::lstSub_ItemCheck(forms::ListItem& item) {
  service_ = newService();
  const bool materials = materialsTabAvailable();
  if (materials) {
    for (int i = 1; i <= lstSub.itemCount(); ++i) {
      if (&lstSub.item(i) != &item) lstSub.item(i).setChecked(false);
    }
  }
  if (item.Checked() && materials && lineRs_) {
    invCondition_ = inventoryCondition(module::gContext->permissionList("inventory", "", "W"));
    const int quantityColumn = module::ColumnIndexOf("fquantity", *lineRs_, lstSub.columnCount());
    const double quantity =
        quantityColumn > 0 ? module::ToNumber(Variant(cellOf(item, quantityColumn))) : 0.0;
    const std::int32_t key = Variant(item.Text()).toLong();
    auto rs = materialRs_;
    bool ok = false;
    errText_.clear();
    service_->listMaterials(key, quantity, rs, conn_, errText_, invCondition_, ok);
    if (!ok) {
      forms::MsgBox(errText_, forms::vbInformation, kTitle);
      item.setChecked(false);
      return;
    }
    if (materialRs_ != rs) module::CloseRecordset(materialRs_);
    materialRs_ = rs;
    module::FillList(lstChild, materialRs_.get(), true);
  }
  if (!item.Checked()) lstChild.clearItems();
  if (item.Checked() && lineRs_) {
    // A checked line always has its order checked.
    const int headColumn = module::ColumnIndexOf("id", *lineRs_, lstSub.columnCount());
    if (headColumn > 0) {
      const std::string head = cellOf(item, headColumn);
      for (int i = 1; i <= lstParent.itemCount(); ++i) {
        if (lstParent.item(i).Text() == head) lstParent.item(i).setChecked(true);
      }
    }
  }
  module::SetListColumns(lstChild);
}

// ---- OK and exit

std::vector<std::string> frmProduceOrder::checkedKeys(const forms::ListView& list,
                                                      int column) const {
  std::vector<std::string> keys;
  for (int i = 1; i <= list.itemCount(); ++i) {
    const auto& item = list.item(i);
    if (item.Checked()) keys.push_back(cellOf(item, column));
  }
  return keys;
}

void frmProduceOrder::refuse(int tab) {
  const std::string caption = tab < 0 ? std::string(kHeadCaption) : SSTab1.TabCaption(tab);
  forms::MsgBox("请选择" + caption + "！", forms::vbInformation, kTitle);
  if (tab >= 0) SSTab1.setTab(tab);
}

std::shared_ptr<ado::Recordset> frmProduceOrder::reRead(
    const std::shared_ptr<ado::Recordset>& level, const std::string& condition) {
  module::gSQL = narrowedSource(level->source(), condition);
  auto fresh = std::make_shared<ado::Recordset>();
  fresh->open(Variant(module::gSQL), Variant(std::static_pointer_cast<automation::Object>(conn_)));
  if (!fresh->isOpen() || (fresh->bof() && fresh->eof())) {
    forms::MsgBox(kStaleMessage, forms::vbInformation, kTitle);
    return nullptr;
  }
  return fresh;
}

void frmProduceOrder::cmdOk_Click() {
  const bool materials = materialsTabAvailable();
  const int materialTab = SSTab1.Tabs() - 1;
  constexpr int kLineTab = 0;
  std::shared_ptr<ado::Recordset> rsChild;

  if (materials) {
    if (lstChild.itemCount() == 0 || !materialRs_) return refuse(materialTab);
    const int column = module::ColumnIndexOf("subid", *materialRs_, lstChild.columnCount());
    const std::string keys = checkedKeyList(checkedKeys(lstChild, column));
    if (keys.empty()) return refuse(materialTab);
    rsChild = reRead(materialRs_, "subid" + keys);
    if (!rsChild) return;
  }

  if (lstSub.itemCount() == 0 || !lineRs_) return refuse(kLineTab);
  const int lineColumns = lstSub.columnCount();
  const std::vector<std::string> lineKeys =
      checkedKeys(lstSub, module::ColumnIndexOf("mainid", *lineRs_, lineColumns));
  std::string keys = checkedKeyList(lineKeys);
  if (keys.empty()) return refuse(kLineTab);
  if (materials) {
    // The lines are narrowed to the project of the line whose materials were chosen.
    for (int i = 1; i <= lstSub.itemCount(); ++i) {
      const auto& item = lstSub.item(i);
      if (!item.Checked()) continue;
      keys += projectNarrowing(
          cellOf(item, module::ColumnIndexOf("citemcode", *lineRs_, lineColumns)),
          cellOf(item, module::ColumnIndexOf("citem_class", *lineRs_, lineColumns)));
      break;
    }
  }
  auto rsLine = reRead(lineRs_, "pp_pomain.mainid" + keys);
  if (!rsLine) return;

  if (lstParent.itemCount() == 0 || !headRs_) return refuse(-1);
  const std::string headKeys = checkedKeyList(
      checkedKeys(lstParent, module::ColumnIndexOf("id", *headRs_, lstParent.columnCount())));
  if (headKeys.empty()) return refuse(-1);
  auto rsHead = reRead(headRs_, "id" + headKeys);
  if (!rsHead) return;

  auto result = std::make_shared<automation::Collection>();
  result->add(Variant(std::static_pointer_cast<automation::Object>(rsHead)), "Parent");
  result->add(Variant(std::static_pointer_cast<automation::Object>(rsLine)), "Sub");
  if (materials) {
    if (!rsChild->isOpen()) {
      SSTab1.setTab(materialTab);
      return refuse(materialTab);
    }
    result->add(Variant(std::static_pointer_cast<automation::Object>(rsChild)), "Child");
  } else if (!rsHead->isOpen()) {
    return refuse(SSTab1.Tab());
  }
  if (auto owner = owner_.lock()) {
    owner->set("oCollection", std::static_pointer_cast<automation::Object>(result));
  }
  Unload();
}

void frmProduceOrder::cmdExit_Click() {
  if (auto owner = owner_.lock()) owner->set("oCollection", nullptr);
  Unload();
}

// ---- filter fields and keys

void frmProduceOrder::fieldGotFocus(forms::TextBox& field) {
  std::string err;
  module::PlaceLookupButton(field, cmdRefers, err);
  if (!err.empty()) forms::MsgBox(err, forms::vbInformation, kTitle);
}

void frmProduceOrder::fieldLostFocus(forms::TextBox& field) {
  if (ActiveControl() == &cmdRefers) return;
  cmdRefers.setVisible(false);
  std::string err;
  if (!module::CheckEntry(field, err, true)) {
    forms::MsgBox(err, forms::vbInformation, kTitle);
    std::string ignored;
    module::PlaceLookupButton(field, cmdRefers, ignored);
  }
}

void frmProduceOrder::openLookupFor(forms::TextBox* field) {
  if (field == nullptr || !cmdRefers.Visible()) return;
  std::string err;
  module::OpenLookup(Variant::nothing(), *field, cmdRefers, err);
  if (!err.empty()) forms::MsgBox(err, forms::vbInformation, kTitle);
}

void frmProduceOrder::Form_KeyDown(int& KeyCode, int /*Shift*/) {
  if (KeyCode != forms::vbKeyF2 || !cmdRefers.Visible()) return;
  auto* field = dynamic_cast<forms::TextBox*>(ActiveControl());
  guarded([&] { openLookupFor(field); });
  KeyCode = 0;
}

void frmProduceOrder::Form_KeyPress(int& KeyAscii) {
  module::FilterKeyAscii(KeyAscii);
}

}  // namespace quillon::dialogs
