// FormWindows: the windows of the forms a UI host has shown — made when a form is shown, hidden
// with it, detached and deleted (later, when the event loop runs) when it unloads or goes away.
#pragma once

#include <QImage>
#include <QPointer>
#include <string>
#include <vector>

#include "ui/qt/form_window.h"

namespace quillon::ui::qt {

class FormWindows {
 public:
  FormWindows() = default;
  ~FormWindows();
  FormWindows(const FormWindows&) = delete;
  FormWindows& operator=(const FormWindows&) = delete;

  FormWindow& shown(forms::Form& form, bool modal);
  void hidden(forms::Form& form);
  void unloaded(forms::Form& form);
  FormWindow* find(const forms::Form& form) const;
  // The window a person works in now: the last shown that still shows.
  FormWindow* top() const;

 private:
  struct Entry {
    const forms::Form* form;
    QPointer<FormWindow> window;
  };
  std::vector<Entry> entries_;  // in the order shown
};

// Runs the deferred updates of the window's lists, trees and toolbars, so its widgets show the form
// as it is now.
void bringUpToDate(FormWindow& window);
// Brings the window up to date and draws it as it looks.
QImage pictureOf(FormWindow& window);

}  // namespace quillon::ui::qt
