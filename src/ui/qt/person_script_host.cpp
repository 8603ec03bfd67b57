#include "ui/qt/person_script_host.h"

#include <QApplication>

namespace quillon::ui::qt {

PersonScriptHost::PersonScriptHost() = default;

PersonScriptHost::~PersonScriptHost() {
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void PersonScriptHost::runModal(forms::Form& form) {
  qt_.runModal(form);
}

void PersonScriptHost::formShown(forms::Form& form, bool modal) {
  ScriptedUiHost::formShown(form, modal);
  qt_.formShown(form, modal);
}

void PersonScriptHost::formHidden(forms::Form& form) {
  ScriptedUiHost::formHidden(form);
  qt_.formHidden(form);
}

void PersonScriptHost::formUnloaded(forms::Form& form) {
  ScriptedUiHost::formUnloaded(form);
  qt_.formUnloaded(form);
}

int PersonScriptHost::messageBox(const forms::MessageBoxRequest& request) {
  const int answer = qt_.messageBox(request);
  note("message \"" + request.title + "\" \"" + request.prompt + "\" -> " +
       forms::answerName(answer));
  return answer;
}

std::optional<std::string> PersonScriptHost::inputBox(const forms::InputBoxRequest& request) {
  return qt_.inputBox(request);
}

std::optional<automation::DateValue> PersonScriptHost::calendar(
    const forms::CalendarRequest& request) {
  return qt_.calendar(request);
}

std::optional<std::vector<int>> PersonScriptHost::lookupList(const forms::LookupRequest& request) {
  return qt_.lookupList(request);
}

std::optional<std::string> PersonScriptHost::columnSettings(
    const forms::ColumnSettingsRequest& request) {
  return qt_.columnSettings(request);
}

forms::FilterResult PersonScriptHost::filterDialog(const forms::FilterRequest& request) {
  return qt_.filterDialog(request);
}

forms::Menu* PersonScriptHost::popupMenu(forms::Form& form, forms::Menu& menu) {
  return qt_.popupMenu(form, menu);
}

void PersonScriptHost::beep() {
  qt_.beep();
}

void PersonScriptHost::setScreenPointer(int pointer) {
  qt_.setScreenPointer(pointer);
}

}  // namespace quillon::ui::qt
