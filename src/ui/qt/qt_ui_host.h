// QtUiHost: the UI host of a desktop session. Forms are drawn by the generic renderer (a modal
// show runs a nested event loop until the form hides or unloads); message boxes, the input box,
// the calendar, the lookup list, the column-set and filter dialogs and the save-file question are
// Qt dialogs; pop-up menus open at the mouse; the screen's busy pointer is Qt's override cursor.
//
// Needs a QApplication (see QtApplication) for its whole life.
#pragma once

#include "forms/ui_host.h"
#include "ui/qt/form_windows.h"

namespace quillon::ui::qt {

class QtUiHost : public forms::UiHost {
 public:
  QtUiHost();
  ~QtUiHost() override;

  void runModal(forms::Form& form) override;
  void formShown(forms::Form& form, bool modal) override;
  void formHidden(forms::Form& form) override;
  void formUnloaded(forms::Form& form) override;
  int messageBox(const forms::MessageBoxRequest& request) override;
  std::optional<std::string> inputBox(const forms::InputBoxRequest& request) override;
  std::optional<automation::DateValue> calendar(const forms::CalendarRequest& request) override;
  std::optional<std::vector<int>> lookupList(const forms::LookupRequest& request) override;
  std::optional<std::string> columnSettings(const forms::ColumnSettingsRequest& request) override;
  forms::FilterResult filterDialog(const forms::FilterRequest& request) override;
  forms::Menu* popupMenu(forms::Form& form, forms::Menu& menu) override;
  // A QFileDialog asking where to save, over the top window.
  std::optional<std::string> saveFileName(const forms::SaveFileRequest& request) override;
  void beep() override;
  // The list's find field (ControlView::openFind) in the window the list is drawn in.
  bool findInList(forms::Control& list) override;
  bool remembersFilters() const override { return true; }
  bool listsGrowWhileShown() const override { return true; }
  void setScreenPointer(int pointer) override;

  FormWindows& windows() { return windows_; }

 private:
  FormWindows windows_;
  bool pointerOverridden_ = false;
};

// Runs the nested event loop of a modal form until it hides or unloads.
void runModalLoop(forms::Form& form, FormWindow& window);

}  // namespace quillon::ui::qt
