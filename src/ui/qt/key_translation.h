// A Qt key event as the forms take it: the platform's key code for KeyDown, the shift state
// (1 Shift, 2 Ctrl, 4 Alt) and the character for KeyPress (0 when the key types nothing).
#pragma once

class QKeyEvent;

namespace quillon::ui::qt {

struct FormKey {
  int keyCode = 0;
  int shift = 0;
  int keyAscii = 0;
};

FormKey translateKey(const QKeyEvent& event);
// The platform's key code of a Qt key (Qt::Key), 0 when it has none.
int platformKeyCode(int qtKey);

}  // namespace quillon::ui::qt
