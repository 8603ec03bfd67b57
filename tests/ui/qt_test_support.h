// What the renderer tests share: a QApplication on the offscreen platform for the whole test run,
// a Qt UI host whose own dialogs answer from a queue instead of waiting for a person, and helpers
// to find the widget drawn for a control.
#pragma once

#include <QAbstractItemView>
#include <QApplication>
#include <QWidget>
#include <deque>
#include <string>
#include <vector>

#include "forms/form.h"
#include "ui/qt/form_window.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/qt_ui_host.h"

namespace quillon::ui::qt::testing {

// Forms are drawn and input reaches them as in a desktop session; message boxes, pop-up menus and
// the other dialogs of the host answer from what the test queued.
class AnsweringQtHost : public QtUiHost {
 public:
  std::deque<int> answers;              // message-box answers; the default button without one
  std::deque<std::string> menuChoices;  // pop-up menu items by name; dismissed without one
  std::vector<std::string> messages;    // every message-box prompt, in order
  std::deque<std::string> inputs;       // input-box answers; cancelled without one
  int beeps = 0;

  int messageBox(const forms::MessageBoxRequest& request) override;
  forms::Menu* popupMenu(forms::Form& form, forms::Menu& menu) override;
  std::optional<std::string> inputBox(const forms::InputBoxRequest& request) override;
  std::optional<automation::DateValue> calendar(const forms::CalendarRequest&) override {
    return std::nullopt;
  }
  std::optional<std::vector<int>> lookupList(const forms::LookupRequest&) override {
    return std::nullopt;
  }
  void beep() override { ++beeps; }
};

// Runs what the event loop has pending and brings deferred list updates up to date.
void settle();

// Lets the idle slices run until no list grows any more (at most 100 000 of them); false when the
// view's row count went down on the way.
bool growToTheEnd(const QAbstractItemView& view);

// The widget drawn for a control (found by the control's name), cast to the widget type.
template <class W>
W* widgetOf(QWidget& window, const std::string& name) {
  return window.findChild<W*>(toQString(name));
}

}  // namespace quillon::ui::qt::testing
