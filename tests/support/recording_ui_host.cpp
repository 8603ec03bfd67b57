#include "support/recording_ui_host.h"

#include "automation/text_compare.h"
#include "forms/form.h"
#include "forms/menu.h"
#include "forms/row_source.h"

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

std::optional<std::string> RecordingUiHost::columnSettings(
    const forms::ColumnSettingsRequest& request) {
  columnRequests.push_back(request);
  if (columnEdits.empty()) return std::nullopt;
  std::string edit = std::move(columnEdits.front());
  columnEdits.pop_front();
  return edit;
}

std::vector<std::string> ShownLookup::column(std::string_view name) const {
  std::vector<std::string> texts;
  for (std::size_t f = 0; f < fieldNames.size(); ++f) {
    if (!automation::equalsNoCase(fieldNames[f], name)) continue;
    for (const auto& row : rows) texts.push_back(row[f]);
    break;
  }
  return texts;
}

std::optional<std::vector<int>> RecordingUiHost::lookupList(const forms::LookupRequest& request) {
  ShownLookup shown{request.query, request.title, request.table, request.multiSelect, {}, {}};
  if (request.rows != nullptr) {
    const forms::RowSource& rows = *request.rows;
    for (int f = 0; f < rows.fieldCount(); ++f) shown.fieldNames.push_back(rows.fieldName(f));
    for (int r = 0; r < rows.rowCount(); ++r) {
      auto& row = shown.rows.emplace_back();
      for (int f = 0; f < rows.fieldCount(); ++f) row.push_back(rows.text(r, f));
    }
  }
  lookups.push_back(std::move(shown));
  if (picks.empty()) return std::nullopt;
  auto answer = picks.front();
  picks.pop_front();
  return answer;
}

std::optional<automation::DateValue> RecordingUiHost::calendar(
    const forms::CalendarRequest& request) {
  calendarRequests.push_back(request);
  if (dates.empty()) return std::nullopt;
  const automation::DateValue answer = dates.front();
  dates.pop_front();
  return answer;
}

forms::Menu* RecordingUiHost::popupMenu(forms::Form&, forms::Menu& menu) {
  popups.push_back(menu.Name());
  for (forms::Menu* item : menu.items()) {
    if (item->Name() == popupChoice) return item;
  }
  return nullptr;
}

std::optional<std::string> RecordingUiHost::inputBox(const forms::InputBoxRequest& request) {
  inputRequests.push_back(request);
  if (inputs.empty()) return std::nullopt;
  auto answer = inputs.front();
  inputs.pop_front();
  return answer;
}

forms::FilterResult RecordingUiHost::filterDialog(const forms::FilterRequest& request) {
  filterRequests.push_back(request);
  if (filters.empty()) return {};
  auto answer = filters.front();
  filters.pop_front();
  if (!answer) return {};
  forms::FilterResult result{1, *answer, {}};
  if (!filterValues.empty()) {
    result.values = std::move(filterValues.front());
    filterValues.pop_front();
  }
  return result;
}

std::optional<std::string> RecordingUiHost::saveFileName(const forms::SaveFileRequest& request) {
  saveRequests.push_back(request);
  if (saves.empty()) return std::nullopt;
  auto answer = saves.front();
  saves.pop_front();
  return answer;
}

}  // namespace quillon::test_support
