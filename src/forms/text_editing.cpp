#include "forms/text_editing.h"

#include <algorithm>
#include <vector>

#include "automation/utf8.h"
#include "forms/constants.h"

namespace quillon::forms {

int EditableText::length() const {
  return static_cast<int>(automation::utf8::charCount(text));
}

void EditableText::clampSelection() {
  const int len = length();
  selStart = std::clamp(selStart, 0, len);
  selLength = std::clamp(selLength, 0, len - selStart);
}

bool EditableText::replaceSelection(const std::string& inserted, int maxLength) {
  clampSelection();
  auto chars = automation::utf8::decode(text);
  const auto add = automation::utf8::decode(inserted);
  const auto newLength = static_cast<int>(chars.size()) - selLength + static_cast<int>(add.size());
  if (maxLength > 0 && newLength > maxLength && !add.empty()) return false;
  chars.erase(chars.begin() + selStart, chars.begin() + selStart + selLength);
  chars.insert(chars.begin() + selStart, add.begin(), add.end());
  text = automation::utf8::encode(chars);
  selStart += static_cast<int>(add.size());
  selLength = 0;
  return true;
}

namespace {

bool lineBreakAt(const std::u32string& chars, int at) {
  return at >= 0 && at + 1 < static_cast<int>(chars.size()) && chars[at] == U'\r' &&
         chars[at + 1] == U'\n';
}

bool isBreak(char32_t c) {
  return c == U'\r' || c == U'\n';
}

}  // namespace

bool EditableText::backspace() {
  clampSelection();
  if (selLength == 0) {
    if (selStart == 0) return false;
    const int step = lineBreakAt(automation::utf8::decode(text), selStart - 2) ? 2 : 1;
    selStart -= step;
    selLength = step;
  }
  return replaceSelection({});
}

bool EditableText::deleteForward() {
  clampSelection();
  if (selLength == 0) {
    if (selStart >= length()) return false;
    selLength = lineBreakAt(automation::utf8::decode(text), selStart) ? 2 : 1;
  }
  return replaceSelection({});
}

void EditableText::selectAll() {
  selStart = 0;
  selLength = length();
}

void EditableText::moveCaret(int keyCode, bool extend, bool byLine) {
  clampSelection();
  const auto chars = automation::utf8::decode(text);
  const int len = static_cast<int>(chars.size());
  // The anchor is the end of the selection that the caret did not move from.
  const int anchor = selStart;
  int caret = selStart + selLength;
  switch (keyCode) {
    case vbKeyHome:
      if (byLine) {
        while (caret > 0 && !isBreak(chars[caret - 1])) --caret;
      } else {
        caret = 0;
      }
      break;
    case vbKeyEnd:
      if (byLine) {
        while (caret < len && !isBreak(chars[caret])) ++caret;
      } else {
        caret = len;
      }
      break;
    case vbKeyLeft:
      caret = (selLength > 0 && !extend ? selStart : caret);
      caret = std::max(0, caret - (lineBreakAt(chars, caret - 2) ? 2 : 1));
      break;
    case vbKeyRight:
      caret = std::min(len, caret + (lineBreakAt(chars, caret) ? 2 : 1));
      break;
    default:
      return;
  }
  if (extend) {
    selStart = std::min(anchor, caret);
    selLength = std::abs(caret - anchor);
  } else {
    selStart = caret;
    selLength = 0;
  }
}

std::string EditableText::selectedText() const {
  auto chars = automation::utf8::decode(text);
  const int start = std::clamp(selStart, 0, static_cast<int>(chars.size()));
  const int end = std::clamp(selStart + selLength, start, static_cast<int>(chars.size()));
  return automation::utf8::encode(
      chars.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
}

}  // namespace quillon::forms
