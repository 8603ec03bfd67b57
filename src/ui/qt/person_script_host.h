// PersonScriptHost: a scripted UI host whose questions a person answers. The script's host lines
// (login, new, call, print) run as written, while every form they show is drawn and worked by the
// person at the screen, and every message box, input box, lookup list, calendar, pop-up menu and
// settings dialog is the Qt host's. The transcript still records each form shown, hidden and
// unloaded and each message box with the answer the person gave. `quillon demo` runs its calls
// through it.
#pragma once

#include "script/scripted_ui_host.h"
#include "ui/qt/application.h"
#include "ui/qt/qt_ui_host.h"

namespace quillon::ui::qt {

class PersonScriptHost : public script::ScriptedUiHost {
 public:
  PersonScriptHost();
  ~PersonScriptHost() override;

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
  std::optional<std::string> saveFileName(const forms::SaveFileRequest& request) override {
    return qt_.saveFileName(request);
  }
  void beep() override;
  bool findInList(forms::Control& list) override { return qt_.findInList(list); }
  bool remembersFilters() const override { return true; }
  void setScreenPointer(int pointer) override;

 private:
  QtApplication application_;  // first: outlives the windows
  QtUiHost qt_;
};

}  // namespace quillon::ui::qt
