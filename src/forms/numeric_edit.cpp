#include "forms/numeric_edit.h"

#include <cstdlib>

#include "automation/utf8.h"
#include "forms/constants.h"
#include "forms/form.h"

namespace quillon::forms {

bool numberKeyAllowed(const EditableText& edit, int decimals, int keyAscii) {
  if (decimals < 0) return keyAscii >= 32 && keyAscii != 127;
  // Judge the text as it would be after the key replaced the selection.
  EditableText after = edit;
  after.replaceSelection(automation::utf8::encode(static_cast<char32_t>(keyAscii)));
  const std::string& t = after.text;
  bool point = false;
  int fraction = 0;
  for (std::size_t i = 0; i < t.size(); ++i) {
    const char c = t[i];
    if (c == '-' && i == 0) continue;
    if (c == ',' && !point) continue;
    if (c == '.') {
      if (point || decimals == 0) return false;
      point = true;
      continue;
    }
    if (c < '0' || c > '9') return false;
    if (point && ++fraction > decimals) return false;
  }
  return true;
}

namespace {

double toNumber(const std::string& text) {
  std::string digits;
  for (char c : text) {
    if (c != ',') digits += c;
  }
  if (digits.empty()) return 0.0;
  char* end = nullptr;
  const double v = std::strtod(digits.c_str(), &end);
  return (end != nullptr && *end == '\0') ? v : 0.0;
}

}  // namespace

NumericEdit::NumericEdit(std::string name) : Control(ControlKind::NumericEdit, std::move(name)) {}

void NumericEdit::setText(std::string text) {
  if (text == edit_.text) return;
  edit_.text = std::move(text);
  edit_.selStart = edit_.length();
  edit_.selLength = 0;
  notify("Text");
  if (Change) Change();
}

void NumericEdit::setDecimalPlaces(int places) {
  assign(decimals_, places < 0 ? 0 : places, "DecimalPlaces");
}

double NumericEdit::value() const {
  return toNumber(edit_.text);
}

bool NumericEdit::defaultKeyPress(int keyAscii) {
  std::string before = edit_.text;
  if (keyAscii == vbKeyBack) {
    edit_.backspace();
  } else if (keyAscii >= 32) {
    if (!numberKeyAllowed(edit_, decimals_, keyAscii)) return true;
    edit_.replaceSelection(automation::utf8::encode(static_cast<char32_t>(keyAscii)));
  } else {
    return false;
  }
  if (edit_.text != before) {
    notify("Text");
    if (Change) Change();
  }
  return true;
}

void NumericEdit::userClearText() {
  setText({});
}

HeadItem::HeadItem(std::string name, std::string caption)
    : Control(ControlKind::HeadItem, std::move(name)), caption_(std::move(caption)) {}

void HeadItem::setCaption(std::string caption) {
  assign(caption_, std::move(caption), "Caption");
}

void HeadItem::setText(std::string text) {
  if (text == edit_.text) return;
  edit_.text = std::move(text);
  edit_.selStart = edit_.length();
  edit_.selLength = 0;
  notify("Text");
}

void HeadItem::setDecimalPlaces(int places) {
  assign(decimals_, places < 0 ? -1 : places, "DecimalPlaces");
}

void HeadItem::setActive(bool on) {
  assign(active_, on, "Active");
  if (!on && hasFocus() && form() != nullptr) form()->focusNext();
}

void HeadItem::edited(std::string before) {
  if (edit_.text == before) return;
  bool cancel = false;
  if (Change) Change(cancel);
  if (cancel) {
    edit_.text = std::move(before);
    edit_.selStart = edit_.length();
    edit_.selLength = 0;
  }
  notify("Text");
}

bool HeadItem::defaultKeyPress(int keyAscii) {
  if (!active_) return true;
  std::string before = edit_.text;
  if (keyAscii == vbKeyBack) {
    edit_.backspace();
  } else if (keyAscii >= 32) {
    if (!numberKeyAllowed(edit_, decimals_, keyAscii)) return true;
    edit_.replaceSelection(automation::utf8::encode(static_cast<char32_t>(keyAscii)));
  } else {
    return false;
  }
  edited(std::move(before));
  return true;
}

void HeadItem::userClearText() {
  if (!active_) return;
  std::string before = edit_.text;
  edit_.text.clear();
  edit_.selStart = edit_.selLength = 0;
  edited(std::move(before));
}

}  // namespace quillon::forms
