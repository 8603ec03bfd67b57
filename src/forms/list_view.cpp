#include "forms/list_view.h"

#include <algorithm>
#include <limits>

#include "automation/com_error.h"
#include "forms/form.h"
#include "forms/list_export.h"
#include "forms/list_find.h"
#include "forms/list_status.h"
#include "forms/ui_host.h"

namespace quillon::forms {

using automation::ComError;

void ListItem::setText(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  owner_->itemsChanged();
}

std::string ListItem::SubItems(int i) const {
  if (i < 1) throw ComError::indexOutOfBounds();
  const auto at = static_cast<std::size_t>(i) - 1;
  return at < subItems_.size() ? subItems_[at] : std::string();
}

void ListItem::setSubItem(int i, std::string text) {
  if (i < 1) throw ComError::indexOutOfBounds();
  const auto at = static_cast<std::size_t>(i) - 1;
  if (subItems_.size() <= at) subItems_.resize(at + 1);
  if (subItems_[at] == text) return;
  subItems_[at] = std::move(text);
  owner_->itemsChanged();
}

void ListItem::setChecked(bool on) {
  if (on == checked_) return;
  checked_ = on;
  owner_->itemsChanged();
}

void ListItem::setSelected(bool on) {
  if (on) {
    owner_->setSelectedItem(this);
    return;
  }
  if (!selected_) return;
  selected_ = false;
  if (owner_->selected_ == this) owner_->selected_ = nullptr;
  owner_->notify("SelectedItem");
}

ListView::ListView(std::string name) : Control(ControlKind::ListView, std::move(name)) {}

ListView::~ListView() {
  endFill();
}

void ListView::itemsChanged() {
  // A fill's items are announced once per slice, as rows added.
  if (!feeding_) notify("ListItems");
}

void ListView::endFill() {
  if (!fill_) return;
  fill_.reset();
  stopGrowing(*this);
}

void ListView::fillItems(int count, int firstItems, std::function<void(int row)> addRow) {
  auto fill = std::make_unique<Fill>();
  fill->count = count < 0 ? 0 : count;
  fill->addRow = std::move(addRow);
  startFill(std::move(fill), firstItems);
}

void ListView::fillItems(ArrivingRows rows, int firstItems, std::function<void(int row)> addRow,
                         std::function<void()> ended) {
  auto fill = std::make_unique<Fill>();
  fill->count = std::max(rows.count(), 0);
  fill->addRow = std::move(addRow);
  fill->arriving = std::move(rows);
  fill->ended = std::move(ended);
  startFill(std::move(fill), firstItems);
}

void ListView::startFill(std::unique_ptr<Fill> fill, int firstItems) {
  endFill();
  fill_ = std::move(fill);
  if (firstItems > 0 && (fill_->arriving.read || firstItems < fill_->count)) {
    growRows(firstItems, std::chrono::nanoseconds::max());
    if (fill_) startGrowing(*this);
  } else {
    finishRows();
  }
}

void ListView::readArriving(int maxRows, std::chrono::nanoseconds budget) {
  if (!fill_->arriving.read || fill_->count - fill_->next >= maxRows) return;
  bool more = false;
  if (maxRows == std::numeric_limits<int>::max()) {
    fill_->arriving.readAll();
  } else {
    // Half the slice reads, so that the rows read are added in the same slice. A first screen is
    // read whatever it takes (a budget past any clock's range is an hour).
    const auto bounded = std::min<std::chrono::nanoseconds>(budget / 2, std::chrono::hours(1));
    more = fill_->arriving.read(maxRows - (fill_->count - fill_->next), bounded);
  }
  fill_->count = std::max(fill_->arriving.count(), fill_->count);
  if (!more) fill_->arriving = {};
}

bool ListView::growRows(int maxRows, std::chrono::nanoseconds budget) {
  if (!fill_) return false;
  const auto start = std::chrono::steady_clock::now();
  const int before = shownItemCount();
  feeding_ = true;
  try {
    readArriving(maxRows, budget);
    const int end = fill_->count - fill_->next > maxRows ? fill_->next + maxRows : fill_->count;
    // The clock is read every few items: one item costs about a microsecond.
    constexpr int kClockEvery = 32;
    for (int n = 1; fill_ && fill_->next < end; ++n) {
      fill_->addRow(fill_->next++);
      if (n % kClockEvery == 0 && std::chrono::steady_clock::now() - start >= budget) break;
    }
  } catch (...) {
    feeding_ = false;
    endFill();
    notify("ListItems");
    throw;
  }
  feeding_ = false;
  if (shownItemCount() != before) notify("RowsAdded");
  if (!fill_) return false;  // the row's own code emptied the list
  if (fill_->next < fill_->count || fill_->arriving.read) return true;
  const std::function<void()> ended = std::move(fill_->ended);
  fill_.reset();
  if (ended) ended();
  return false;
}

void ListView::finishRows() {
  if (!fill_) return;
  // Out of the growing lists first: the fill may end in an error, and it is not tried again.
  stopGrowing(*this);
  growRows(std::numeric_limits<int>::max(), std::chrono::nanoseconds::max());
}

void ListView::setView(int view) {
  assign(view_, view, "View");
}
void ListView::setCheckboxes(bool on) {
  assign(checkboxes_, on, "Checkboxes");
}
void ListView::setLabelEdit(int mode) {
  assign(labelEdit_, mode, "LabelEdit");
}
void ListView::setMultiSelect(bool on) {
  assign(multiSelect_, on, "MultiSelect");
}

int ListView::addColumn(std::string text, std::optional<int> width, int alignment) {
  ColumnHeader column;
  column.text = std::move(text);
  column.alignment = alignment;
  if (width) {
    column.width = *width < 0 ? 0 : *width;
    column.widthSet = true;
  }
  columns_.push_back(std::move(column));
  notify("ColumnHeaders");
  return columnCount();
}

void ListView::clearColumns() {
  columns_.clear();
  notify("ColumnHeaders");
}

const ColumnHeader& ListView::column(int index) const {
  if (index < 1 || index > columnCount()) throw ComError::indexOutOfBounds();
  return columns_[static_cast<std::size_t>(index) - 1];
}

void ListView::setColumnText(int index, std::string text) {
  column(index);
  columns_[static_cast<std::size_t>(index) - 1].text = std::move(text);
  notify("ColumnHeaders");
}

void ListView::setColumnWidth(int index, int width) {
  column(index);
  ColumnHeader& c = columns_[static_cast<std::size_t>(index) - 1];
  c.width = width < 0 ? 0 : width;
  c.widthSet = true;
  notify("ColumnHeaders");
}

void ListView::setColumnAlignment(int index, int alignment) {
  column(index);
  columns_[static_cast<std::size_t>(index) - 1].alignment = alignment;
  notify("ColumnHeaders");
}

int ListView::columnByText(std::string_view text) const {
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    if (columns_[i].text == text) return static_cast<int>(i) + 1;
  }
  return 0;
}

ListItem& ListView::addItem(std::string text, std::string key, int index) {
  settleItems();
  if (!key.empty() && itemByKey(key) != nullptr) {
    throw ComError::keyNotUnique();
  }
  if (index != -1 && (index < 1 || index > itemCount() + 1)) throw ComError::indexOutOfBounds();
  auto item = std::unique_ptr<ListItem>(new ListItem(this, std::move(key), std::move(text)));
  ListItem& ref = *item;
  const auto at = index == -1 ? items_.size() : static_cast<std::size_t>(index) - 1;
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
  if (!ref.key_.empty()) byKey_.emplace(ref.key_, &ref);
  renumber(at);
  order_.reset();
  itemsChanged();
  return ref;
}

void ListView::removeItem(int index) {
  settleItems();
  ListItem& victim = item(index);
  if (selected_ == &victim) selected_ = nullptr;
  if (!victim.key_.empty()) byKey_.erase(victim.key_);
  items_.erase(items_.begin() + (index - 1));
  renumber(static_cast<std::size_t>(index) - 1);
  order_.reset();
  notify("ListItems");
}

void ListView::clearItems() {
  endFill();
  selected_ = nullptr;
  byKey_.clear();
  items_.clear();
  order_.reset();
  notify("ListItems");
}

void ListView::uncheckOthers(const ListItem& keep) {
  settleItems();
  for (const auto& item : items_) {
    if (item.get() != &keep) item->setChecked(false);
  }
}

void ListView::uncheckAll() {
  settleItems();
  for (const auto& item : items_) item->setChecked(false);
}

ListItem& ListView::item(int index) const {
  if (index > shownItemCount()) settleItems();
  if (index < 1 || index > shownItemCount()) throw ComError::indexOutOfBounds();
  return *items_[static_cast<std::size_t>(index) - 1];
}

ListItem* ListView::itemByKey(std::string_view key) const {
  if (key.empty()) return nullptr;
  auto it = byKey_.find(std::string(key));
  if (it == byKey_.end() && fill_ && !feeding_) {
    settleItems();
    it = byKey_.find(std::string(key));
  }
  return it == byKey_.end() ? nullptr : it->second;
}

void ListView::setSelectedItem(ListItem* item) {
  if (item != nullptr && item->owner_ != this) {
    throw ComError::invalidProcedureCall();
  }
  if (!multiSelect_) {
    for (auto& i : items_) i->selected_ = false;
  }
  selected_ = item;
  if (item != nullptr) item->selected_ = true;
  notify("SelectedItem");
}

std::string ListView::cellText(int row, int column) const {
  const ListItem& i = item(row);
  if (column == 0) return i.Checked() ? std::string(kMarkText) : "";
  if (column == 1) return i.Text();
  if (column < 0) throw ComError::indexOutOfBounds();
  return i.SubItems(column - 1);
}

void ListView::renumber(std::size_t from) {
  for (std::size_t i = from; i < items_.size(); ++i) items_[i]->index_ = static_cast<int>(i) + 1;
}

bool ListView::userCheck(int index) {
  if (!isReachable() || !checkboxes_ || index < 1 || index > itemCount()) return false;
  if (Form* f = form(); f != nullptr && !f->moveFocus(*this)) return false;
  if (index > itemCount()) return false;  // a focus handler emptied the list
  ListItem& i = item(index);
  i.setChecked(!i.Checked());
  if (ItemCheck) ItemCheck(i);
  return true;
}

bool ListView::defaultKeyDown(int keyCode, int shift) {
  if (isCopyKey(keyCode, shift)) return copyChosenRows(*this);
  if (isFindKey(keyCode, shift)) return currentUiHost().findInList(*this);
  if (keyCode != vbKeySpace || shift != 0) return false;
  if (selected_ != nullptr) {
    const int index = selected_->Index();
    if (checkboxes_) {
      userCheck(index);
    } else {
      userClickItem(index);
    }
  }
  return true;
}

bool ListView::userSelectItem(int index) {
  if (!isReachable() || index < 1 || index > itemCount()) return false;
  if (Form* f = form(); f != nullptr && !f->moveFocus(*this)) return false;
  if (index > itemCount()) return false;
  setSelectedItem(&item(index));
  return true;
}

bool ListView::userClickItem(int index) {
  if (!isReachable() || index < 1 || index > itemCount()) return false;
  if (Form* f = form(); f != nullptr && !f->moveFocus(*this)) return false;
  if (index > itemCount()) return false;
  ListItem& i = item(index);
  setSelectedItem(&i);
  if (ItemClick) ItemClick(i);
  if (Click) Click();
  return true;
}

std::optional<std::string> ListView::statusText() const {
  if (columns_.empty()) return std::string();
  // The items added so far: the status line follows a list that is still filling.
  int checked = 0;
  for (const auto& item : items_) checked += item->Checked() ? 1 : 0;
  return RowsStatus(shownItemCount(), checked);
}

void ListView::sortRows(int column, bool descending) {
  settleItems();
  if (column < 1 || column > columnCount()) throw ComError::indexOutOfBounds();
  order_.sort(column, descending, itemCount(), [&](int row) { return cellText(row, column); });
  notify("Order");
}

bool ListView::userSortColumn(int column) {
  if (!isReachable() || column < 1 || column > columnCount()) return false;
  sortRows(column, nextSortDescending(order_, column));
  return true;
}

}  // namespace quillon::forms
