// EditableText: the text, caret and selection of a one-field editor, with the edits a person's
// keys make. Positions count characters. A maximum length of 0 means unlimited.
#pragma once

#include <string>

namespace quillon::forms {

struct EditableText {
  std::string text;
  int selStart = 0;
  int selLength = 0;

  int length() const;
  // Clamps the caret and selection into the text (after the text was replaced).
  void clampSelection();
  // Replaces the selection by the given characters; refuses (returns false) when the result would
  // exceed maxLength characters.
  bool replaceSelection(const std::string& inserted, int maxLength = 0);
  bool backspace();
  bool deleteForward();
  void selectAll();
  // Home/End/Left/Right, extending the selection when `extend` is set. With `byLine`, Home and End
  // go to the start and end of the caret's line instead of the text's. A CR LF line break is one
  // step for the caret, for Backspace and for Delete.
  void moveCaret(int keyCode, bool extend, bool byLine = false);
  std::string selectedText() const;
};

}  // namespace quillon::forms
