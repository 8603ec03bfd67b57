// FormWindow: one headless form drawn as a Qt dialog window. It builds a view for every control
// of the form's declaration (in declaration order, each inside the widget of its container, at
// its geometry at 15 twips to a pixel), follows the form's own changes (caption, size, focus,
// mouse pointer), and turns what a person does into the form's events:
//
// - every key pressed on a control goes through Form::userKey (KeyDown with the form's preview,
//   the form's keys — Tab, Enter, Esc, accelerators — then KeyPress and the control's typing),
// - a click first moves the focus through the form, so a Validate that keeps the focus also
//   keeps the click from happening,
// - the close box runs the form's unload path, a resize runs Form_Resize (the form's lists take
//   the room, forms/form_stretch.h).
//
// A window opens where the person left it and as large as he made it (kept per user and form,
// forms/view_settings.h); the first time, it opens centred and as wide — up to the screen's width
// — as its lists need to show the columns they have as it opens. Once shown it grows or moves
// only when the person sizes or moves it: columns a list gets later (the lines of a marked head)
// scroll. It cannot be made smaller than the form was designed, where its buttons would be cut
// off.
//
// The window never outlives its use of the form: when the form unloads or is destroyed the host
// detaches the window (it stops touching the form at once) and deletes it later.
#pragma once

#include <QDialog>
#include <QHash>
#include <QPoint>
#include <QRect>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "forms/form.h"
#include "forms/row_growth.h"
#include "ui/qt/scoped_connection.h"

class QMenuBar;

namespace quillon::ui::qt {

class ControlView;

class FormWindow : public QDialog {
 public:
  explicit FormWindow(forms::Form& form, QWidget* parent = nullptr);
  ~FormWindow() override;

  // Null once detached.
  forms::Form* form() const { return form_; }
  void detach();

  ControlView* viewOf(const forms::Control* control) const;
  // The form's name, also once detached.
  const std::string& formName() const { return formName_; }
  const std::vector<std::unique_ptr<ControlView>>& views() const { return views_; }
  QWidget* clientArea() const { return client_; }

  // Runs a call into the form's code. An error it raises does not end the program: it is shown
  // the way the platform shows an untrapped run-time error, and false is returned.
  template <class F>
  bool invoke(F&& call) {
    try {
      // The form's code sees every list whole: rows still loading are read first.
      forms::finishGrowing();
      call();
      return true;
    } catch (...) {
      reportError(std::current_exception());
      return false;
    }
  }

  // Layout services for the views.
  void place(ControlView& view);
  void applyVisibility(ControlView& view);
  // Re-applies visibility to every control inside `container` (a tab change, a frame shown).
  void applyVisibilityInside(const forms::Control& container);
  // Registers a widget whose input belongs to the view (the view's widget, a list's viewport).
  void track(QWidget* widget, ControlView& view);
  // Moves Qt's keyboard focus to the control the form says is active.
  void syncFocusFromForm();
  // Menus changed: the menu bar is rebuilt when the event loop next runs.
  void scheduleMenuBar();
  // A list laid its columns out: before the window shows, it widens to show them.
  void listLaidOut();

  // Before the window is first shown: where it stood and how large it was for this user, else
  // centred on the screen and as wide as its lists need.
  void arrangeForShow();
  // Widens the window (within the screen) until its lists show all their columns, unless the
  // person sized it himself, it was opened as he had left it, or it shows already.
  void fitToLists();
  // Keeps the window's place and size, if the person changed them, and what he arranged in its
  // lists; run when the window hides or goes.
  void saveArrangement();
  // Where a pop-up menu the keyboard asked for opens (the focused control's middle); nothing while
  // the mouse asks.
  const std::optional<QPoint>& keyboardMenuAt() const { return keyboardMenuAt_; }
  // The part of the screen a window may take.
  QRect availableArea() const;
  // The widest a list of the window can become: as wide as it is, and what the window may still
  // widen by (nothing once it shows or the person sized it).
  int widestFor(const QWidget& list) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void reject() override;

 private:
  void build();
  void formChanged(std::string_view property);
  void applyFormSize();
  void applyPointer();
  void applyMinimumSize();
  void rebuildMenuBar();
  bool belongsToEditor(QObject* watched) const;
  bool routeKey(ControlView* view, QKeyEvent& event);
  bool routeText(ControlView& view, const QString& text);
  bool mousePressed(ControlView& view, QEvent& event);
  void mouseReleased(ControlView& view, QEvent& event);
  void mouseMoved(ControlView& view, QEvent& event);
  void focusArrived(ControlView& view);
  void reportError(std::exception_ptr error);

  bool restoreArrangement();
  void centreOnScreen();

  forms::Form* form_;
  std::string formName_;
  QWidget* client_ = nullptr;
  QMenuBar* menuBar_ = nullptr;
  std::vector<std::unique_ptr<ControlView>> views_;
  std::unordered_map<const forms::Control*, ControlView*> byControl_;
  QHash<QObject*, ControlView*> tracked_;
  ScopedConnection<forms::Form&, std::string_view> subscription_;
  int focusSyncDepth_ = 0;
  bool resizingFromForm_ = false;
  bool menuBarPending_ = false;
  bool fitPending_ = false;
  // The window as the renderer last placed it; a person's move or resize shows against it.
  bool arranging_ = false;
  bool arrangedByPerson_ = false;
  bool restored_ = false;
  bool settled_ =
      false;  // arranged for showing (the menu bar's coming and going resets the least size)
  QPoint placedAt_;
  std::optional<QPoint> keyboardMenuAt_;
};

}  // namespace quillon::ui::qt
