// The host's own dialogs, drawn with Qt: message box, input box, calendar, the reference lookup
// list, the column-set settings and the filter dialog. Each runs modally and answers as the UI
// host interface asks.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "forms/ui_host.h"

class QWidget;

namespace quillon::ui::qt {

// The answer (vbOK, vbYes, ...) of the button chosen; closing the box answers as its Cancel (or
// only) button would.
int showMessageBox(const forms::MessageBoxRequest& request, QWidget* parent);
std::optional<std::string> showInputBox(const forms::InputBoxRequest& request, QWidget* parent);
std::optional<automation::DateValue> showCalendar(const forms::CalendarRequest& request,
                                                  QWidget* parent);
// Row numbers (1-based, in the result's order) of the rows chosen.
std::optional<std::vector<int>> showLookupList(const forms::LookupRequest& request,
                                               QWidget* parent);
std::optional<std::string> showColumnSettings(const forms::ColumnSettingsRequest& request,
                                              QWidget* parent);
forms::FilterResult showFilterDialog(const forms::FilterRequest& request, QWidget* parent);

// Button captions of the Chinese interface.
QString answerCaption(int answer);

}  // namespace quillon::ui::qt
