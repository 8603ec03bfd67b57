#include "forms/combo_box.h"

#include "automation/com_error.h"
#include "automation/utf8.h"
#include "forms/constants.h"

namespace quillon::forms {

using automation::ComError;

ComboBox::ComboBox(std::string name, int style)
    : Control(ControlKind::ComboBox, std::move(name)),
      style_(style == kDropDownList ? kDropDownList : kDropDownCombo) {}

void ComboBox::textEdited(const std::string& before) {
  if (edit_.text == before) return;
  notify("Text");
  if (Change) Change();
}

void ComboBox::setText(std::string text) {
  if (style_ == kDropDownList) {
    const int index = findItem(text);
    if (index < 0 && !text.empty()) throw ComError(383, "'Text' property is read-only");
    setListIndex(index);
    return;
  }
  const std::string before = edit_.text;
  edit_.text = std::move(text);
  edit_.selStart = edit_.length();
  edit_.selLength = 0;
  listIndex_ = findItem(edit_.text);
  textEdited(before);
}

void ComboBox::AddItem(std::string item, int index) {
  if (index < -1 || index > ListCount()) {
    throw ComError::invalidProcedureCall();
  }
  const auto at = index < 0 ? items_.size() : static_cast<std::size_t>(index);
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
  itemData_.insert(itemData_.begin() + static_cast<std::ptrdiff_t>(at), 0);
  if (listIndex_ >= static_cast<int>(at)) ++listIndex_;
  notify("List");
}

void ComboBox::RemoveItem(int index) {
  if (index < 0 || index >= ListCount()) {
    throw ComError::invalidProcedureCall();
  }
  items_.erase(items_.begin() + index);
  itemData_.erase(itemData_.begin() + index);
  if (listIndex_ == index) {
    listIndex_ = -1;
    if (style_ == kDropDownList) {
      const std::string before = edit_.text;
      edit_.text.clear();
      textEdited(before);
    }
  } else if (listIndex_ > index) {
    --listIndex_;
  }
  notify("List");
}

void ComboBox::Clear() {
  items_.clear();
  itemData_.clear();
  listIndex_ = -1;
  const std::string before = edit_.text;
  edit_.text.clear();
  edit_.selStart = edit_.selLength = 0;
  notify("List");
  textEdited(before);
}

const std::string& ComboBox::List(int index) const {
  if (index < 0 || index >= ListCount()) {
    throw ComError::invalidPropertyArrayIndex();
  }
  return items_[static_cast<std::size_t>(index)];
}

std::int32_t ComboBox::ItemData(int index) const {
  if (index < 0 || index >= ListCount()) throw ComError::invalidPropertyArrayIndex();
  return itemData_[static_cast<std::size_t>(index)];
}

void ComboBox::setItemData(int index, std::int32_t data) {
  if (index < 0 || index >= ListCount()) throw ComError::invalidPropertyArrayIndex();
  itemData_[static_cast<std::size_t>(index)] = data;
}

void ComboBox::setListIndex(int index) {
  if (index < -1 || index >= ListCount()) throw ComError::invalidPropertyValue();
  if (index == listIndex_ && (index < 0 || edit_.text == items_[static_cast<std::size_t>(index)])) {
    return;
  }
  listIndex_ = index;
  const std::string before = edit_.text;
  edit_.text = index < 0 ? std::string() : items_[static_cast<std::size_t>(index)];
  edit_.selStart = edit_.length();
  edit_.selLength = 0;
  notify("ListIndex");
  textEdited(before);
  if (Click) Click();
}

int ComboBox::findItem(std::string_view text) const {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i] == text) return static_cast<int>(i);
  }
  return -1;
}

bool ComboBox::defaultKeyPress(int keyAscii) {
  if (style_ == kDropDownList) return true;
  const std::string before = edit_.text;
  if (keyAscii == vbKeyBack) {
    edit_.backspace();
  } else if (keyAscii >= 32 && keyAscii != 127) {
    edit_.replaceSelection(automation::utf8::encode(static_cast<char32_t>(keyAscii)));
  } else {
    return false;
  }
  listIndex_ = findItem(edit_.text);
  textEdited(before);
  return true;
}

void ComboBox::userClearText() {
  if (style_ == kDropDownList) return;
  const std::string before = edit_.text;
  edit_.text.clear();
  edit_.selStart = edit_.selLength = 0;
  listIndex_ = -1;
  textEdited(before);
}

void ComboBox::userDropDown() {
  if (!isReachable()) return;
  if (DropDown) DropDown();
}

bool ComboBox::userChoose(std::string_view item) {
  if (!isReachable()) return false;
  const int index = findItem(item);
  if (index < 0) return false;
  if (index == listIndex_) {
    if (Click) Click();  // choosing the current item again still reports the choice
    return true;
  }
  setListIndex(index);
  return true;
}

}  // namespace quillon::forms
