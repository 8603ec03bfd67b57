#include "dialogs/kit/reference_dialog.h"

#include <algorithm>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/collection.h"
#include "automation/com_error.h"
#include "dialogs/kit/reference_texts.h"
#include "forms/buttons.h"
#include "forms/menu.h"
#include "forms/row_labels.h"
#include "forms/tab_strip.h"
#include "forms/text_box.h"
#include "forms/ui_host.h"
#include "forms/view_settings.h"
#include "module/module_state.h"
#include "module/reference_lists.h"
#include "module/settings.h"
#include "sql/condition.h"

namespace quillon::dialogs::kit {

void ReferenceDialog::setFilterText(std::string filter) {
  sql::checkCondition(filter);
  filter_ = std::move(filter);
}

ReferenceDialog::ReferenceDialog(std::string name, std::string caption, int width, int height,
                                 forms::HandlerErrors handlerErrors)
    : DialogShell(std::move(name), std::move(caption), width, height, handlerErrors) {
  // The dialog sees F2 and the filter fields' keys before its controls do.
  setKeyPreview(true);
}

ReferenceDialog::~ReferenceDialog() = default;

forms::TextBox& ReferenceDialog::filterField(std::string name, forms::Geometry geometry,
                                             std::string_view kind) {
  auto& box = add<forms::TextBox>(std::move(name), geometry);
  box.setTag(std::string(kind));
  filterFields_.push_back(&box);
  return box;
}

void ReferenceDialog::bindFilterFields(forms::CommandButton& lookupButton, bool textTips) {
  lookupButton.setTabStop(false);
  lookupButton.setCausesValidation(false);
  lookupButton_ = &lookupButton;
  lookupFields_.emplace(*this, lookupButton, module::LookupCodes::IntoLinkItem, true);
  lookupFields_->bind(filterFields_);
  if (!textTips) return;
  for (forms::TextBox* box : filterFields_) {
    box->MouseMove = [box](int, int, int, int) { box->setToolTipText(box->Text()); };
  }
}

namespace {

// The items a remembered filter is kept under in the user's settings of the dialog: a flag that
// one is remembered, then each field's text and the codes its lookup stored.
constexpr std::string_view kFilterItem = "Filter";
std::string textItem(const forms::TextBox& box) {
  return std::string(kFilterItem) + "." + box.Name();
}
std::string codesItem(const forms::TextBox& box) {
  return textItem(box) + ".Codes";
}

// Where remembered filters are kept, when the current host works forms for a person.
std::shared_ptr<forms::ViewSettings> filterStore() {
  if (!forms::currentUiHost().remembersFilters()) return nullptr;
  return forms::currentViewSettings();
}

// The pop-up menu item before the head-number column's caption ("显示发货单号").
constexpr std::string_view kShowHeadNumberCaption = "显示";
// The view setting keeping whether the head-number column shows ("0" hidden).
constexpr std::string_view kHeadNumberItem = "Lines.HeadNumber";

}  // namespace

void ReferenceDialog::leaveOutOfFilter(forms::TextBox& field) {
  notFilter_.push_back(&field);
}

void ReferenceDialog::rememberFilter() {
  const auto store = filterStore();
  if (!store) return;
  // One write for the whole filter: every field's text and codes, then the mark that it is kept.
  std::vector<forms::ViewSettings::Item> items;
  for (forms::TextBox* box : filterFields_) {
    if (std::find(notFilter_.begin(), notFilter_.end(), box) != notFilter_.end()) continue;
    // A disabled field (the item, until a head is checked) does not filter now.
    const bool filters = box->Enabled();
    items.emplace_back(textItem(*box), filters ? box->Text() : std::string());
    items.emplace_back(codesItem(*box), filters ? box->LinkItem() : std::string());
  }
  items.emplace_back(std::string(kFilterItem), "1");
  store->writeAll(Name(), items);
}

void ReferenceDialog::restoreFilter() {
  const auto store = filterStore();
  if (!store || store->read(Name(), kFilterItem).value_or("") != "1") return;
  for (forms::TextBox* box : filterFields_) {
    if (std::find(notFilter_.begin(), notFilter_.end(), box) != notFilter_.end()) continue;
    if (!box->Enabled()) continue;
    const auto text = store->read(Name(), textItem(*box));
    if (!text) continue;
    box->setText(*text);
    box->setLinkItem(store->read(Name(), codesItem(*box)).value_or(""));
  }
}

void ReferenceDialog::clearFilter() {
  for (forms::TextBox* box : filterFields_) {
    if (std::find(notFilter_.begin(), notFilter_.end(), box) != notFilter_.end()) continue;
    box->setText("");
    box->setLinkItem("");
  }
  if (const auto store = filterStore()) store->write(Name(), kFilterItem, "");
}

void ReferenceDialog::bindClearFilter(forms::CommandButton& clear) {
  clear.setCausesValidation(false);
  clear.Click = handler([this] { clearFilter(); });
}

module::LookupFields& ReferenceDialog::lookupFields() {
  if (!lookupFields_) throw automation::ComError::objectNotSet();
  return *lookupFields_;
}

void ReferenceDialog::bindButtons(forms::CommandButton& ok, forms::CommandButton& cancel,
                                  std::optional<forms::HandlerErrors> okPolicy) {
  ok.setDefault(true);
  cancel.setCancel(true);
  ok.Click = handler(okPolicy.value_or(handlerErrors()), [this] { okClicked(); });
  cancel.Click = handler([this] { cancelClicked(); });
}

void ReferenceDialog::cancelClicked() {
  handToOwner(nullptr);
  Unload();
}

void ReferenceDialog::popupMenuOn(forms::Control& list, forms::Menu& menu) {
  menu.setVisible(false);
  addExportItem(menu, [&list] { return &list; });
  list.MouseUp = handler([this, &menu](int button, int, int, int) {
    if (button == forms::vbRightButton) PopupMenu(menu);
  });
}

void ReferenceDialog::bindHeadNumbers(std::initializer_list<forms::Menu*> menus,
                                      std::vector<forms::RowLabels*> lists) {
  headNumberLists_ = std::move(lists);
  for (forms::Menu* menu : menus) {
    forms::Menu& item = addMenu(menu->Name() + "HeadNumber", "", menu);
    item.setChecked(true);
    item.Click = handler([this, &item] { showHeadNumbers(!item.Checked(), true); });
    headNumberItems_.push_back(&item);
  }
  headNumbersCaptioned();
}

void ReferenceDialog::headNumbersCaptioned() {
  std::string caption;
  for (const forms::RowLabels* list : headNumberLists_) {
    caption = list->rowLabelCaption();
    if (!caption.empty()) break;
  }
  for (forms::Menu* item : headNumberItems_) {
    item->setCaption(std::string(kShowHeadNumberCaption) + caption);
    item->setVisible(!caption.empty());
  }
}

void ReferenceDialog::showHeadNumbers(bool on, bool remember) {
  for (forms::Menu* item : headNumberItems_) item->setChecked(on);
  for (forms::RowLabels* list : headNumberLists_) list->setRowLabelsShown(on);
  if (!remember) return;
  // Kept where filters are: only for a host working forms for a person.
  if (const auto store = filterStore()) store->write(Name(), kHeadNumberItem, on ? "1" : "0");
}

void ReferenceDialog::restoreHeadNumbers() {
  const auto store = filterStore();
  if (!store || headNumberItems_.empty()) return;
  if (const auto kept = store->read(Name(), kHeadNumberItem)) showHeadNumbers(*kept != "0", false);
}

void ReferenceDialog::Form_Load() {
  if (!module::gContext) throw automation::ComError::objectNotSet();
  loadDialog();
  restoreFilter();
  restoreHeadNumbers();
  if (lookupButton_ != nullptr) lookupButton_->setVisible(false);
  module::ApplyDialogStyle(*this);
}

void ReferenceDialog::Form_KeyDown(int& KeyCode, int /*Shift*/) {
  if (lookupFields_) lookupFields_->keyDown(KeyCode);
}

void ReferenceDialog::Form_KeyPress(int& KeyAscii) {
  module::LookupFields::keyPress(KeyAscii);
}

std::optional<automation::Variant> ReferenceDialog::ownerProperty(std::string_view name) const {
  if (auto owner = owner_.lock()) return owner->get(std::string(name));
  return std::nullopt;
}

int ReferenceDialog::ownerVouchType() const {
  if (const auto type = ownerProperty("eVouchType")) return type->toLong();
  return module::gVouchType;
}

void ReferenceDialog::handToOwner(const std::shared_ptr<automation::Collection>& results) {
  if (auto owner = owner_.lock()) {
    owner->set("oCollection", std::static_pointer_cast<automation::Object>(results));
  }
}

void ReferenceDialog::handToOwner(
    std::initializer_list<std::pair<std::string_view, automation::Variant>> items) {
  auto results = std::make_shared<automation::Collection>();
  for (const auto& [key, value] : items) {
    if (value.isNothing()) continue;
    results->add(value, std::string(key));
  }
  handToOwner(results);
}

automation::Variant ReferenceDialog::item(const std::shared_ptr<ado::Recordset>& rs) {
  return automation::Variant(std::static_pointer_cast<automation::Object>(rs));
}

std::shared_ptr<ado::Recordset> ReferenceDialog::reReadChosen(const std::string& statement) {
  module::gSQL = statement;
  auto fresh = std::make_shared<ado::Recordset>();
  fresh->open(automation::Variant(module::gSQL),
              automation::Variant(std::static_pointer_cast<automation::Object>(conn_)));
  if (!fresh->isOpen() || (fresh->bof() && fresh->eof())) {
    prompt(std::string(kStaleRowsMessage));
    return nullptr;
  }
  return fresh;
}

std::shared_ptr<ado::Recordset> ReferenceDialog::reReadChosen(const ado::Recordset& level,
                                                              std::string_view condition) {
  return reReadChosen(module::NarrowedSource(level.source(), condition));
}

void ReferenceDialog::refuseNothingChosen(std::string_view what) {
  prompt(pleaseSelect(what));
}

void ReferenceDialog::refuseNothingChosen(forms::CorvidXTabStrip& tabs, int tab) {
  prompt(pleaseSelect(tabs.TabCaption(tab)));
  tabs.setTab(tab);
}

}  // namespace quillon::dialogs::kit
