// ComboBox: a drop-down combo (style 0, the text is editable) or a drop-down list (style 2, the
// text is always the chosen item). DropDown runs every time the list opens, so a form can fill an
// empty list on its first opening.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "forms/control.h"
#include "forms/text_editing.h"

namespace quillon::forms {

class ComboBox : public Control {
 public:
  static constexpr int kDropDownCombo = 0;
  static constexpr int kDropDownList = 2;

  explicit ComboBox(std::string name, int style = kDropDownList);

  int Style() const { return style_; }
  const std::string& Text() const { return edit_.text; }
  // For a drop-down list the text must be one of the items (it selects it), else ComError 383
  // "'Text' property is read-only".
  void setText(std::string text);
  void AddItem(std::string item, int index = -1);
  // Throws ComError 5 for an index out of range.
  void RemoveItem(int index);
  void Clear();
  int ListCount() const { return static_cast<int>(items_.size()); }
  const std::string& List(int index) const;
  std::int32_t ItemData(int index) const;
  void setItemData(int index, std::int32_t data);
  // -1 when no item is chosen. Setting it changes the text and runs Click.
  int ListIndex() const { return listIndex_; }
  void setListIndex(int index);
  // Index of the first item equal to the text, -1 when none.
  int findItem(std::string_view text) const;

  bool canFocus() const override { return true; }
  std::string displayText() const override { return edit_.text; }
  bool defaultKeyPress(int keyAscii) override;
  bool acceptsTyping() const override { return style_ == kDropDownCombo; }
  void userClearText() override;

  std::function<void()> Click;
  std::function<void()> Change;
  std::function<void()> DropDown;

  // A person opens the list (DropDown runs) and then chooses an item by its text; returns false
  // when the list has no such item.
  void userDropDown();
  bool userChoose(std::string_view item);

 private:
  void textEdited(const std::string& before);
  int style_;
  EditableText edit_;
  std::vector<std::string> items_;
  std::vector<std::int32_t> itemData_;
  int listIndex_ = -1;
};

}  // namespace quillon::forms
