// Number fields of the suite's toolkit: the numeric edit (`EDITLib`) and the header item
// (`ctlheadItem`), a captioned field of a voucher header that can be switched inactive.
#pragma once

#include <functional>
#include <string>

#include "forms/control.h"
#include "forms/text_editing.h"

namespace quillon::forms {

// Accepts digits, one leading minus sign and, with decimal places, one decimal point followed by
// at most that many digits; other keys are refused.
class NumericEdit : public Control {
 public:
  explicit NumericEdit(std::string name);

  const std::string& Text() const { return edit_.text; }
  void setText(std::string text);  // runs Change when the text differs
  int DecimalPlaces() const { return decimals_; }
  void setDecimalPlaces(int places);
  // The text as a number ("," ignored); 0 for an empty or unreadable text.
  double value() const;

  bool canFocus() const override { return true; }
  std::string displayText() const override { return edit_.text; }
  bool defaultKeyPress(int keyAscii) override;
  bool acceptsTyping() const override { return true; }
  void userClearText() override;

  std::function<void()> Change;

 private:
  EditableText edit_;
  int decimals_ = 0;
};

// Text items take any text; number items (DecimalPlaces >= 0) take what NumericEdit takes. An
// inactive item shows its text but refuses the focus and typing. Every edit by a person runs
// Change with the new text in place; Cancel puts the previous text back.
class HeadItem : public Control {
 public:
  explicit HeadItem(std::string name, std::string caption = {});

  const std::string& Caption() const { return caption_; }
  void setCaption(std::string caption);
  const std::string& Text() const { return edit_.text; }
  // Code sets the text without running Change.
  void setText(std::string text);
  // -1 for a text item.
  int DecimalPlaces() const { return decimals_; }
  void setDecimalPlaces(int places);
  bool Active() const { return active_; }
  void setActive(bool on);

  bool canFocus() const override { return active_; }
  std::string displayText() const override { return edit_.text; }
  bool defaultKeyPress(int keyAscii) override;
  bool acceptsTyping() const override { return active_; }
  void userClearText() override;

  std::function<void(bool& Cancel)> Change;

 private:
  void edited(std::string before);
  std::string caption_;
  EditableText edit_;
  int decimals_ = -1;
  bool active_ = true;
};

// Whether a number field with `decimals` places (negative: any text) accepts the key at the
// caret of `edit`.
bool numberKeyAllowed(const EditableText& edit, int decimals, int keyAscii);

using ctlheadItem = HeadItem;

}  // namespace quillon::forms
