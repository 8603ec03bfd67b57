#include "ui/qt/form_windows.h"

#include <QApplication>
#include <algorithm>

#include "ui/qt/control_view.h"
#include "ui/qt/grid_models.h"

namespace quillon::ui::qt {

FormWindows::~FormWindows() {
  for (Entry& entry : entries_) {
    if (entry.window != nullptr) {
      entry.window->detach();
      delete entry.window.data();
    }
  }
}

FormWindow& FormWindows::shown(forms::Form& form, bool modal) {
  FormWindow* window = find(form);
  if (window == nullptr) {
    window = new FormWindow(form);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    entries_.push_back({&form, window});
    window->arrangeForShow();
  } else {
    // Shown again: it becomes the top window.
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& e) { return e.form == &form; });
    Entry entry = *it;
    entries_.erase(it);
    entries_.push_back(entry);
  }
  window->setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
  window->show();
  window->raise();
  window->activateWindow();
  window->syncFocusFromForm();
  return *window;
}

void FormWindows::hidden(forms::Form& form) {
  if (FormWindow* window = find(form)) {
    window->saveArrangement();
    window->hide();
  }
}

void FormWindows::unloaded(forms::Form& form) {
  auto it = std::find_if(entries_.begin(), entries_.end(),
                         [&](const Entry& e) { return e.form == &form; });
  if (it == entries_.end()) return;
  if (FormWindow* window = it->window) {
    // The form may be on its way out (this runs from its destructor too): let go of it now, and
    // delete the window once the event that led here has finished with it.
    window->saveArrangement();
    window->detach();
    window->hide();
    window->deleteLater();
  }
  entries_.erase(it);
}

FormWindow* FormWindows::find(const forms::Form& form) const {
  for (const Entry& entry : entries_) {
    if (entry.form == &form) return entry.window;
  }
  return nullptr;
}

FormWindow* FormWindows::top() const {
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
    if (it->window != nullptr && it->window->isVisible()) return it->window;
  }
  return nullptr;
}

void bringUpToDate(FormWindow& window) {
  for (int pass = 0; pass < 3; ++pass) QApplication::processEvents();
  for (QAbstractItemModel* model : window.findChildren<QAbstractItemModel*>()) {
    if (auto* table = dynamic_cast<ControlTableModel*>(model)) table->refreshNow();
  }
}

QImage pictureOf(FormWindow& window) {
  bringUpToDate(window);
  return window.grab().toImage();
}

}  // namespace quillon::ui::qt
