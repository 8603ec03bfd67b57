// The person's input on a drawn form: keys, typed text, mouse presses and focus, each turned into
// the form's own events.
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

#include "forms/constants.h"
#include "ui/qt/control_view.h"
#include "ui/qt/form_window.h"
#include "ui/qt/key_translation.h"
#include "ui/qt/qt_text.h"

namespace quillon::ui::qt {

bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
  ControlView* view = form_ != nullptr ? tracked_.value(watched, nullptr) : nullptr;
  if (view == nullptr || !view->attached()) return QDialog::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::InputMethod:
      // A cell editor inside a list has the keys to itself, including those it passes up.
      if (belongsToEditor(watched)) return QDialog::eventFilter(watched, event);
      break;
    default:
      break;
  }
  switch (event->type()) {
    case QEvent::ShortcutOverride:
      // Every key on a control is the form's; none may fire a Qt shortcut on the way.
      event->accept();
      return true;
    case QEvent::KeyPress:
      return routeKey(view, static_cast<QKeyEvent&>(*event));
    case QEvent::InputMethod:
      if (!view->editsText()) break;
      return routeText(*view, static_cast<QInputMethodEvent&>(*event).commitString());
    case QEvent::MouseButtonPress:
      return mousePressed(*view, *event);
    case QEvent::MouseButtonDblClick: {
      if (mousePressed(*view, *event)) return true;
      QPointer<FormWindow> self(this);
      if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) view->doubleClicked();
      if (self == nullptr || form_ == nullptr) return true;
      break;
    }
    case QEvent::MouseButtonRelease:
      mouseReleased(*view, *event);
      break;
    case QEvent::MouseMove:
      mouseMoved(*view, *event);
      break;
    case QEvent::FocusIn:
      focusArrived(*view);
      break;
    case QEvent::ContextMenu:
      // Right clicks reach the form as MouseUp; a form that wants a menu pops its own.
      return true;
    default:
      break;
  }
  return QDialog::eventFilter(watched, event);
}

bool FormWindow::belongsToEditor(QObject* watched) const {
  QWidget* focus = QApplication::focusWidget();
  auto* widget = qobject_cast<QWidget*>(watched);
  return focus != nullptr && widget != nullptr && focus != widget && widget->isAncestorOf(focus) &&
         !tracked_.contains(focus);
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
  // No control holds the focus: the form's keys (Esc, Enter, accelerators) still work.
  if (form_ != nullptr) routeKey(nullptr, *event);
}

bool FormWindow::routeKey(ControlView* view, QKeyEvent& event) {
  const Qt::KeyboardModifiers mods = event.modifiers();
  const bool ctrlOnly = (mods & Qt::ControlModifier) && !(mods & Qt::AltModifier);
  if (view != nullptr && view->editsText() && ctrlOnly) {
    // Clipboard keys of a text field: the text itself still changes through the form, so the
    // key filter sees pasted characters as if typed.
    switch (event.key()) {
      case Qt::Key_C:
      case Qt::Key_Insert:
        view->copySelection();
        return true;
      case Qt::Key_X: {
        view->copySelection();
        invoke([&] { form_->userKey(forms::vbKeyDelete, 0, 0); });
        return true;
      }
      case Qt::Key_V:
        return routeText(*view, QApplication::clipboard()->text());
      default:
        break;
    }
  }
  if (view != nullptr && !view->control().hasFocus() && view->control().canFocus()) {
    // Qt's focus got ahead of the form's (a window coming back to the front): the key belongs to
    // the control a person sees focused, once the form agrees to move there.
    bool moved = false;
    invoke([&] { moved = form_->moveFocus(view->control()); });
    if (form_ == nullptr) return true;
    if (!moved) {
      syncFocusFromForm();
      return true;
    }
  }
  // The context-menu key (or Shift+F10) is the right mouse button on the control with the focus:
  // the dialogs pop their menus up when it is released.
  if (view != nullptr &&
      (event.key() == Qt::Key_Menu || (event.key() == Qt::Key_F10 && mods == Qt::ShiftModifier))) {
    QWidget* target = view->focusTarget() != nullptr ? view->focusTarget() : view->widget();
    if (target != nullptr) keyboardMenuAt_ = target->mapToGlobal(target->rect().center());
    forms::Control& control = view->control();
    QPointer<FormWindow> self(this);
    invoke([&] { control.userMouseUp(forms::vbRightButton); });
    if (self != nullptr) keyboardMenuAt_.reset();
    return true;
  }
  const bool pass = view != nullptr && view->passesKeyToWidget(event.key(), mods);
  const FormKey key = translateKey(event);
  if (key.keyCode == 0 && key.keyAscii == 0) return !pass;
  QPointer<FormWindow> self(this);
  invoke([&] { form_->userKey(key.keyCode, key.shift, key.keyAscii); });
  if (self == nullptr || form_ == nullptr) return true;
  return !pass;
}

bool FormWindow::routeText(ControlView& view, const QString& text) {
  const auto points = text.toUcs4();
  for (qsizetype i = 0; i < points.size(); ++i) {
    if (form_ == nullptr || !view.attached()) break;
    int keyAscii = static_cast<int>(points[i]);
    if (keyAscii == '\r' || keyAscii == '\n') {
      // A line break (CR LF, LF or CR) is one Enter in a multi-line field; a one-line field has
      // no place for it.
      if (!view.takesLineBreaks()) continue;
      if (keyAscii == '\r' && i + 1 < points.size() && points[i + 1] == '\n') ++i;
      keyAscii = forms::vbKeyReturn;
    } else if (keyAscii < 32) {
      continue;
    }
    invoke([&] { form_->userKeyPress(keyAscii); });
  }
  return true;
}

bool FormWindow::mousePressed(ControlView& view, QEvent& /*event*/) {
  forms::Control& control = view.control();
  if (!control.canFocus() || control.hasFocus() || !control.isReachable()) return false;
  bool moved = false;
  invoke([&] { moved = form_->moveFocus(control); });
  if (form_ == nullptr) return true;
  if (!moved) {
    // The control that had the focus kept it (its Validate refused): the click does not happen.
    syncFocusFromForm();
    return true;
  }
  return false;
}

namespace {

// The Shift, Ctrl and Alt keys held with a mouse event, as the forms' Shift argument.
int shiftOf(const QMouseEvent& mouse) {
  int shift = 0;
  if (mouse.modifiers() & Qt::ShiftModifier) shift |= forms::vbShiftMask;
  if (mouse.modifiers() & Qt::ControlModifier) shift |= forms::vbCtrlMask;
  if (mouse.modifiers() & Qt::AltModifier) shift |= forms::vbAltMask;
  return shift;
}

}  // namespace

void FormWindow::mouseReleased(ControlView& view, QEvent& event) {
  const auto& mouse = static_cast<QMouseEvent&>(event);
  int button = 0;
  if (mouse.button() == Qt::RightButton) button = forms::vbRightButton;
  if (mouse.button() == Qt::MiddleButton) button = 4;
  // Left clicks reach the form through the control's own click members.
  if (button == 0) return;
  const int shift = shiftOf(mouse);
  const QPoint at = mouse.position().toPoint();
  forms::Control& control = view.control();
  invoke([&] { control.userMouseUp(button, shift, toTwips(at.x()), toTwips(at.y())); });
}

void FormWindow::mouseMoved(ControlView& view, QEvent& event) {
  // Only drags, and only for a control that follows them (a splitter frame).
  forms::Control& control = view.control();
  const auto& mouse = static_cast<QMouseEvent&>(event);
  if (!control.MouseMove || mouse.buttons() == Qt::NoButton) return;
  int button = 0;
  if (mouse.buttons() & Qt::LeftButton) button |= forms::vbLeftButton;
  if (mouse.buttons() & Qt::RightButton) button |= forms::vbRightButton;
  if (mouse.buttons() & Qt::MiddleButton) button |= 4;
  const int shift = shiftOf(mouse);
  const QPoint at = mouse.position().toPoint();
  invoke([&] { control.userMouseMove(button, shift, toTwips(at.x()), toTwips(at.y())); });
}

void FormWindow::focusArrived(ControlView& view) {
  if (focusSyncDepth_ > 0 || form_ == nullptr) return;
  forms::Control& control = view.control();
  if (form_->ActiveControl() == &control || !control.canFocus()) return;
  bool moved = false;
  invoke([&] { moved = form_->moveFocus(control); });
  if (!moved && form_ != nullptr) QTimer::singleShot(0, this, [this] { syncFocusFromForm(); });
}

}  // namespace quillon::ui::qt
