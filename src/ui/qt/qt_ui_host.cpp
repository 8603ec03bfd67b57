#include "ui/qt/qt_ui_host.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QEventLoop>
#include <QFileDialog>
#include <QTimer>
#include <chrono>
#include <exception>
#include <stdexcept>

#include "forms/form.h"
#include "forms/list_export.h"
#include "forms/row_growth.h"
#include "ui/qt/control_view.h"
#include "ui/qt/dialogs.h"
#include "ui/qt/menus.h"

namespace quillon::ui::qt {

namespace {

// The lists still loading grow a slice at a time while the event loop has nothing else to do: at
// most kGrowRows rows and about kGrowBudget of reading per slice, so the window keeps answering.
constexpr int kGrowRows = 2000;
constexpr auto kGrowBudget = std::chrono::milliseconds(8);
// A slice that had next to nothing to do found its lists waiting for the server's next rows (a
// slice does not wait for them): the next one comes after a short pause, not at once, so that the
// loop does not spin while they come.
constexpr auto kIdleSlice = std::chrono::microseconds(250);
constexpr auto kAwaitPause = std::chrono::milliseconds(1);
bool g_growthScheduled = false;

void scheduleGrowth(std::chrono::milliseconds after = std::chrono::milliseconds(0)) {
  if (g_growthScheduled) return;
  g_growthScheduled = true;
  QTimer::singleShot(after, Qt::PreciseTimer, QApplication::instance(), [] {
    g_growthScheduled = false;
    bool more = false;
    const auto start = std::chrono::steady_clock::now();
    try {
      more = forms::growSome(kGrowRows, kGrowBudget);
    } catch (const std::exception&) {
      // A list that cannot take its rows stops growing; the recordset reports why when used.
      more = forms::anyGrowing();
    }
    if (!more) return;
    const bool idle = std::chrono::steady_clock::now() - start < kIdleSlice;
    scheduleGrowth(idle ? kAwaitPause : std::chrono::milliseconds(0));
  });
}

}  // namespace

QtUiHost::QtUiHost() {
  if (QApplication::instance() == nullptr) {
    throw std::logic_error("the Qt UI host needs a QApplication");
  }
  forms::setGrowthListener([] { scheduleGrowth(); });
  // What the lists copy (Ctrl+C) goes to the desktop's clipboard too.
  forms::setClipboardSink([](const std::string& text) {
    QApplication::clipboard()->setText(QString::fromStdString(text));
  });
}

QtUiHost::~QtUiHost() {
  forms::setGrowthListener(nullptr);
  forms::setClipboardSink({});
  if (pointerOverridden_) QApplication::restoreOverrideCursor();
}

void runModalLoop(forms::Form& form, FormWindow& window) {
  QEventLoop loop;
  ScopedConnection<forms::Form&, std::string_view> watch(
      form.propertyChanged, [&loop](forms::Form& f, std::string_view property) {
        if ((property == "Visible" || property == "Loaded") && (!f.Visible() || !f.Loaded())) {
          loop.quit();
        }
      });
  window.setWindowModality(Qt::ApplicationModal);
  if (!window.isVisible()) window.show();
  if (form.Visible() && form.Loaded()) loop.exec();
}

void QtUiHost::runModal(forms::Form& form) {
  FormWindow* window = windows_.find(form);
  if (window == nullptr) window = &windows_.shown(form, true);
  runModalLoop(form, *window);
}

void QtUiHost::formShown(forms::Form& form, bool modal) {
  windows_.shown(form, modal);
}

void QtUiHost::formHidden(forms::Form& form) {
  windows_.hidden(form);
}

void QtUiHost::formUnloaded(forms::Form& form) {
  windows_.unloaded(form);
}

int QtUiHost::messageBox(const forms::MessageBoxRequest& request) {
  return showMessageBox(request, windows_.top());
}

std::optional<std::string> QtUiHost::inputBox(const forms::InputBoxRequest& request) {
  return showInputBox(request, windows_.top());
}

std::optional<automation::DateValue> QtUiHost::calendar(const forms::CalendarRequest& request) {
  return showCalendar(request, windows_.top());
}

std::optional<std::vector<int>> QtUiHost::lookupList(const forms::LookupRequest& request) {
  return showLookupList(request, windows_.top());
}

std::optional<std::string> QtUiHost::columnSettings(const forms::ColumnSettingsRequest& request) {
  return showColumnSettings(request, windows_.top());
}

forms::FilterResult QtUiHost::filterDialog(const forms::FilterRequest& request) {
  return showFilterDialog(request, windows_.top());
}

forms::Menu* QtUiHost::popupMenu(forms::Form& form, forms::Menu& menu) {
  FormWindow* window = windows_.find(form);
  const QPoint at =
      window != nullptr && window->keyboardMenuAt() ? *window->keyboardMenuAt() : QCursor::pos();
  return popUpMenu(menu, window, at);
}

std::optional<std::string> QtUiHost::saveFileName(const forms::SaveFileRequest& request) {
  const QString chosen = QFileDialog::getSaveFileName(
      windows_.top(), QString::fromStdString(request.title),
      QString::fromStdString(request.suggestedName), QString::fromStdString(request.fileType));
  if (chosen.isEmpty()) return std::nullopt;
  return chosen.toStdString();
}

void QtUiHost::beep() {
  QApplication::beep();
}

bool QtUiHost::findInList(forms::Control& list) {
  forms::Form* form = list.form();
  FormWindow* window = form != nullptr ? windows_.find(*form) : nullptr;
  ControlView* view = window != nullptr ? window->viewOf(&list) : nullptr;
  return view != nullptr && view->openFind();
}

void QtUiHost::setScreenPointer(int pointer) {
  const bool busy = pointer == forms::vbHourglass || pointer == forms::vbArrowHourglass;
  if (busy && !pointerOverridden_) {
    QApplication::setOverrideCursor(pointer == forms::vbHourglass ? Qt::WaitCursor
                                                                  : Qt::BusyCursor);
    pointerOverridden_ = true;
  } else if (!busy && pointerOverridden_) {
    QApplication::restoreOverrideCursor();
    pointerOverridden_ = false;
  }
}

}  // namespace quillon::ui::qt
