// ControlView: what the renderer keeps for one control of a form — the widget drawn for it, and
// the subscription that brings the widget in line whenever the control announces a change.
// Concrete views (one per control kind) build their widget, translate the person's input into
// the control's user... members, and refresh what the control changed.
//
// A view lives as long as its window; when the form goes away first the window detaches every
// view, after which a view never touches its control again.
#pragma once

#include <QPointer>
#include <QWidget>
#include <optional>
#include <string>
#include <string_view>

#include "automation/variant.h"
#include "forms/control.h"
#include "ui/qt/scoped_connection.h"

class QLabel;
class QLineEdit;
class QTableView;

namespace quillon::ui::qt {

class ControlTableModel;
class FormWindow;

class ControlView {
 public:
  ControlView(forms::Control& control, FormWindow& window);
  virtual ~ControlView();
  ControlView(const ControlView&) = delete;
  ControlView& operator=(const ControlView&) = delete;

  forms::Control& control() const { return control_; }
  FormWindow& window() const { return window_; }
  bool attached() const { return attached_; }
  // The widget placed at the control's geometry; null for controls that draw nothing of their own
  // (menus, image lists).
  QWidget* widget() const { return widget_; }
  // Where the controls this one contains are placed (a frame's inside, a tab strip's page area).
  virtual QWidget* childArea() const { return widget_; }
  // The widget that holds the keyboard focus when the control has it.
  virtual QWidget* focusTarget() const { return widget_; }
  // Keys a person presses on the control go to the form first; a view that also lets its widget
  // act on a key (moving in a list, opening a drop-down) says so here.
  virtual bool passesKeyToWidget(int /*qtKey*/, Qt::KeyboardModifiers /*mods*/) const {
    return false;
  }
  // A field that edits text through the form (copy/cut/paste and input methods go through here).
  virtual bool editsText() const { return false; }
  // A field whose text may hold line breaks: a pasted or committed line break reaches it as Enter.
  virtual bool takesLineBreaks() const { return false; }
  virtual void copySelection() {}
  // A double click on the control's widget (before the widget acts on it).
  virtual void doubleClicked() {}
  // A list: how many pixels wider it would have to be to show all its shown columns.
  virtual int widthShortfall() const { return 0; }
  // What a list still without its columns or rows as the window opens (a line grid before a
  // head is marked, a list before the filter runs) says it lacks. Its rows, and the widths they
  // need, come once the window shows, when the window no longer widens; so it is taken to need
  // the screen's width, and the window opens as wide as the screen allows.
  static constexpr int kUnfilledListShortfall = 1 << 16;
  // Writes what the person arranged in the control (a list's column widths), if anything is
  // unsaved.
  virtual void flushArrangement() {}

  // A property as the widget shows it to a person, for the expectations of a drawn script run:
  // Enabled and Visible for every widget, and what a view draws of its own (Caption, Text, Value,
  // ListIndex, a tree node's Checked, a column's ColumnVisible and ColumnWidth by its caption in
  // `key`). nullopt for what the widget does not show (Tag), or for a node or column it lacks.
  virtual std::optional<automation::Variant> shownProperty(std::string_view property,
                                                           std::string_view key) const;

  // Brings the widget in line with the control; an empty property name refreshes everything.
  void refresh(std::string_view property);

  // A list's status line (the control's statusText), drawn in a strip at the bottom of the
  // control's place, under the list; null for controls without one.
  QLabel* statusLine() const;
  // Sets the widget (and the status line, if any) in `rect` of `parent`, in pixels.
  void placeAt(QWidget* parent, const QRect& rect);
  void setShown(bool shown);
  // A list's model (null for other controls): the find field tints the rows it finds there.
  virtual ControlTableModel* tableModel() const { return nullptr; }
  // Ctrl+F on a list: a find field opens at the right of its status line. As the person types,
  // the rows that show the text are tinted and the first of them from the current row on becomes
  // current; Enter (or F3) moves to the next one, Esc closes the field. A beep when no row
  // matches. False for a control without a status line.
  bool openFind();
  QLineEdit* findField() const;
  // A grid with a scan field (MsSuperGrid::hasScanField) shows it at the right end of its status
  // line: Enter hands what was typed (a keyboard-wedge scanner types fast and ends with Enter) to
  // the grid and empties the field for the next scan; the field is tinted when no line took it.
  // Enter and Esc stay in the field, so a scan never presses the dialog's OK. Null otherwise.
  QLineEdit* scanField() const;
  // Stops following the control.
  virtual void detach();

 protected:
  void setWidget(QWidget* widget);
  // The control has a status line (lists): a strip under the widget shows it, following every
  // change the control announces (read once per turn of the event loop, however many changes).
  void drawStatusLine();
  // Kind-specific refresh; the common properties (geometry, visibility, enabling, tool tip, font)
  // are done before it is called.
  virtual void sync(std::string_view property) = 0;
  // True while the view writes into its widget, so the widget's own signals are not taken for a
  // person's input.
  bool syncing() const { return syncDepth_ > 0; }

  // What the widget shows of a text the view draws in its own way (a caption without its marker,
  // a multi-line text with Qt's line breaks): the control's own text when the widget shows just
  // what the view makes of it, else the widget's text as it stands.
  static automation::Variant shownText(const QString& shown, const QString& drawnFromControl,
                                       const std::string& control);
  // A column of a table view: shown, and its width in twips (the control's own width when the
  // view draws it at that width).
  static std::optional<automation::Variant> shownColumn(const QTableView& view, int col,
                                                        int controlWidth,
                                                        std::string_view property);

  class SyncGuard {
   public:
    explicit SyncGuard(ControlView& view) : view_(view) { ++view_.syncDepth_; }
    ~SyncGuard() { --view_.syncDepth_; }
    SyncGuard(const SyncGuard&) = delete;
    SyncGuard& operator=(const SyncGuard&) = delete;

   private:
    ControlView& view_;
  };

  // Runs a person's action on the control (errors are reported by the window), then refreshes
  // the widget when the control is still there; false when the action raised an error.
  template <class F>
  bool act(F&& action);

 private:
  void syncCommon(std::string_view property);
  void scheduleStatus();
  void placeFind();
  void findRow(const QString& text, bool after);
  void closeFind();
  void placeScan();
  void scan();
  forms::Control& control_;
  FormWindow& window_;
  QPointer<QWidget> widget_;
  ScopedConnection<forms::Control&, std::string_view> subscription_;
  bool attached_ = true;
  int syncDepth_ = 0;
  QPointer<QLabel> status_;
  QPointer<QLineEdit> find_;
  QPointer<QLineEdit> scan_;
  bool statusPending_ = false;
  bool statusRoom_ = false;
};

}  // namespace quillon::ui::qt

#include "ui/qt/form_window.h"

namespace quillon::ui::qt {

template <class F>
bool ControlView::act(F&& action) {
  if (!attached_) return false;
  const bool ok = window_.invoke(std::forward<F>(action));
  if (attached_) refresh({});
  return ok;
}

}  // namespace quillon::ui::qt
