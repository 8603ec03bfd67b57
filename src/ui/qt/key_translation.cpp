#include "ui/qt/key_translation.h"

#include <QKeyEvent>

#include "forms/constants.h"

namespace quillon::ui::qt {

int platformKeyCode(int qtKey) {
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return '0' + (qtKey - Qt::Key_0);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return forms::vbKeyF1 + (qtKey - Qt::Key_F1);
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return forms::vbKeyReturn;
    case Qt::Key_Escape:
      return forms::vbKeyEscape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return forms::vbKeyTab;
    case Qt::Key_Backspace:
      return forms::vbKeyBack;
    case Qt::Key_Space:
      return forms::vbKeySpace;
    case Qt::Key_Delete:
      return forms::vbKeyDelete;
    case Qt::Key_Insert:
      return 45;
    case Qt::Key_Home:
      return forms::vbKeyHome;
    case Qt::Key_End:
      return forms::vbKeyEnd;
    case Qt::Key_Left:
      return forms::vbKeyLeft;
    case Qt::Key_Up:
      return forms::vbKeyUp;
    case Qt::Key_Right:
      return forms::vbKeyRight;
    case Qt::Key_Down:
      return forms::vbKeyDown;
    case Qt::Key_PageUp:
      return 33;
    case Qt::Key_PageDown:
      return 34;
    case Qt::Key_Shift:
      return 16;
    case Qt::Key_Control:
      return 17;
    case Qt::Key_Alt:
      return 18;
    default:
      return 0;
  }
}

FormKey translateKey(const QKeyEvent& event) {
  FormKey key;
  key.keyCode = platformKeyCode(event.key());
  const Qt::KeyboardModifiers mods = event.modifiers();
  if (mods & Qt::ShiftModifier) key.shift |= forms::vbShiftMask;
  if (mods & Qt::ControlModifier) key.shift |= forms::vbCtrlMask;
  if (mods & Qt::AltModifier) key.shift |= forms::vbAltMask;
  if (event.key() == Qt::Key_Backtab) key.shift |= forms::vbShiftMask;
  const QString text = event.text();
  if (!text.isEmpty()) {
    const auto points = text.toUcs4();
    if (!points.isEmpty()) key.keyAscii = static_cast<int>(points.front());
  }
  // Keys with a character of their own where some platforms give none.
  if (key.keyAscii == 0) {
    if (key.keyCode == forms::vbKeyReturn) key.keyAscii = forms::vbKeyReturn;
    if (key.keyCode == forms::vbKeyBack) key.keyAscii = forms::vbKeyBack;
    if (key.keyCode == forms::vbKeyEscape) key.keyAscii = forms::vbKeyEscape;
  }
  // Alt combinations are accelerators, never typed characters; Delete types nothing either.
  if ((key.shift & forms::vbAltMask) != 0 || key.keyAscii == 127) key.keyAscii = 0;
  return key;
}

}  // namespace quillon::ui::qt
