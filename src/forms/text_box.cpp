#include "forms/text_box.h"

#include "automation/utf8.h"
#include "forms/constants.h"

namespace quillon::forms {

TextBox::TextBox(std::string name, std::string text)
    : Control(ControlKind::TextBox, std::move(name)) {
  edit_.text = std::move(text);
}

void TextBox::edited(const std::string& before) {
  notify("Selection");
  if (edit_.text == before) return;
  notify("Text");
  if (Change) Change();
}

void TextBox::setText(std::string text) {
  const std::string before = edit_.text;
  edit_.text = std::move(text);
  edit_.selStart = edit_.length();
  edit_.selLength = 0;
  edited(before);
}

void TextBox::setSelStart(int start) {
  edit_.selStart = start;
  edit_.selLength = 0;
  edit_.clampSelection();
  notify("Selection");
}

void TextBox::setSelLength(int length) {
  edit_.selLength = length;
  edit_.clampSelection();
  notify("Selection");
}

void TextBox::setSelText(const std::string& text) {
  const std::string before = edit_.text;
  edit_.replaceSelection(text);
  edited(before);
}

void TextBox::setLinkItem(std::string link) {
  assign(linkItem_, std::move(link), "LinkItem");
}
void TextBox::setMaxLength(int length) {
  assign(maxLength_, length < 0 ? 0 : length, "MaxLength");
}
void TextBox::setLocked(bool on) {
  assign(locked_, on, "Locked");
}
void TextBox::setMultiLine(bool on) {
  assign(multiLine_, on, "MultiLine");
}
void TextBox::setAlignment(int alignment) {
  assign(alignment_, alignment, "Alignment");
}

bool TextBox::defaultKeyPress(int keyAscii) {
  if (locked_) return true;
  const std::string before = edit_.text;
  if (keyAscii == vbKeyBack) {
    edit_.backspace();
  } else if (keyAscii == vbKeyReturn) {
    if (!multiLine_) return false;
    edit_.replaceSelection("\r\n", maxLength_);
  } else if (keyAscii >= 32 && keyAscii != 127) {
    edit_.replaceSelection(automation::utf8::encode(static_cast<char32_t>(keyAscii)), maxLength_);
  } else {
    return false;
  }
  edited(before);
  return true;
}

bool TextBox::defaultKeyDown(int keyCode, int shift) {
  switch (keyCode) {
    case vbKeyHome:
    case vbKeyEnd:
    case vbKeyLeft:
    case vbKeyRight:
      // Ctrl with Home or End goes to the text's ends even in a multi-line field.
      edit_.moveCaret(keyCode, (shift & vbShiftMask) != 0, multiLine_ && (shift & vbCtrlMask) == 0);
      notify("Selection");
      return true;
    case vbKeyDelete: {
      if (locked_) return true;
      const std::string before = edit_.text;
      edit_.deleteForward();
      edited(before);
      return true;
    }
    default:
      return false;
  }
}

void TextBox::userClearText() {
  if (locked_) return;
  const std::string before = edit_.text;
  edit_.selectAll();
  edit_.replaceSelection({});
  edited(before);
}

}  // namespace quillon::forms
