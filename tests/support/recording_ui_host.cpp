#include "support/recording_ui_host.h"

#include "forms/form.h"
#include "forms/menu.h"

namespace quillon::test_support {

void RecordingUiHost::runModal(forms::Form& form) {
  ++modalRuns;
  if (onModal) onModal(form);
  if (form.Loaded() && form.Visible()) form.userClose();
}

int RecordingUiHost::messageBox(const forms::MessageBoxRequest& request) {
  messages.push_back(request);
  if (answers.empty()) return request.defaultAnswer();
  const int answer = answers.front();
  answers.pop_front();
  return answer;
}

std::optional<std::vector<int>> RecordingUiHost::lookupList(const forms::LookupRequest& request) {
  lookups.push_back(request);
  if (picks.empty()) return std::nullopt;
  auto answer = picks.front();
  picks.pop_front();
  return answer;
}

forms::Menu* RecordingUiHost::popupMenu(forms::Form&, forms::Menu& menu) {
  popups.push_back(menu.Name());
  for (forms::Menu* item : menu.items()) {
    if (item->Name() == popupChoice) return item;
  }
  return nullptr;
}

}  // namespace quillon::test_support
