// UiHost: everything the library asks of the user interface outside its own forms — running a
// modal form, a modeless form just shown, message boxes, the input box, the calendar, the lookup
// list, the column-set and filter dialogs, the save-file question, pop-up menus, the beep and the
// screen's mouse pointer.
//
// One host is current per process (module state). The Qt application installs its own, scripts
// install the scripted host, tests install whatever they need with ScopedUiHost. Without any, a
// headless default answers every message box with its default button, cancels every other dialog
// and closes modal forms as their close box would.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/variant.h"
#include "forms/constants.h"

namespace quillon::forms {

class Control;
class Form;
class Menu;
class RowSource;

struct MessageBoxRequest {
  std::string prompt;
  std::string title;
  int buttons = vbOKOnly;  // vbOKOnly ... vbRetryCancel
  int icon = 0;            // 0, vbCritical, vbQuestion, vbExclamation, vbInformation
  int defaultButton = 0;   // 0 first, 1 second, 2 third button

  // From the platform's combined flags (buttons + icon + default button).
  static MessageBoxRequest fromFlags(std::string prompt, int flags, std::string title);
  // The answers of the buttons, left to right (vbOKCancel: vbOK, vbCancel).
  std::vector<int> answers() const;
  // The answer of the default button (the first one when the index is out of range).
  int defaultAnswer() const;
};

// Names used in transcripts: "OK", "Cancel", "Yes", ... and "OKCancel", "critical", ...
std::string answerName(int answer);
std::string buttonsName(int buttons);
std::string iconName(int icon);

struct InputBoxRequest {
  std::string prompt;
  std::string title;
  std::string defaultText;
};

struct CalendarRequest {
  std::string title;
  std::optional<automation::DateValue> initial;
};

// The suite's reference list: a query the caller has run (rows, when given, is its result for
// display), a title, single or multiple choice. The answer is the chosen row numbers (1-based,
// in the result's order); the caller turns them into its recordset.
struct LookupRequest {
  std::string query;
  std::string title;
  std::string table;
  bool multiSelect = false;
  const RowSource* rows = nullptr;
};

// The column-set settings of a list: the definition text (see MarlinVouchList) in, the edited one
// out.
struct ColumnSettingsRequest {
  std::string title;
  std::string definitions;
};

// One condition a named filter offers: the field it narrows, the caption shown beside it, its data
// type ("text", "number", "date"), its operator ("=", "like", ">", ...) and whether the person
// gives a range (from / to) instead of one value.
struct FilterField {
  std::string field;
  std::string caption;
  std::string dataType;
  std::string op;
  bool range = false;
};

// What the person typed for one FilterField: `from` is the value (the lower bound of a range),
// `to` the upper bound of a range. Empty means no condition.
struct FilterValue {
  std::string from;
  std::string to;
};

// The suite's filter component: the named filter's dialog with one labelled field per condition
// of the filter, and a free condition box. Answered with the values typed (one per field, in the
// request's order) and the free condition (code 1), or code 0 when cancelled. The component, not
// the host, makes the WHERE text from them.
struct FilterRequest {
  std::string filterName;
  std::string subsystem;
  std::vector<FilterField> fields;
};
// A save-file question: where to write a file the person asked for (an exported list). The title
// of the question, the name offered (a file name or path) and the file type it is for, as
// "CSV (*.csv)".
struct SaveFileRequest {
  std::string title;
  std::string suggestedName;
  std::string fileType;
};

struct FilterResult {
  int code = 0;                     // 1 when the user confirmed
  std::string where;                // the free condition, as typed
  std::vector<FilterValue> values;  // per field of the request; fewer means the rest are empty
};

class UiHost {
 public:
  virtual ~UiHost() = default;

  // Runs the form, which is shown already, until it is hidden or unloaded.
  virtual void runModal(Form& form) = 0;
  virtual void formShown(Form& /*form*/, bool /*modal*/) {}
  virtual void formHidden(Form& /*form*/) {}
  virtual void formUnloaded(Form& /*form*/) {}
  // A form was just shown modeless and its Show is done (Form_Load, Form_Activate, the first
  // focus): a host that works forms for a person may start on it now. The form stays open when
  // this returns.
  virtual void runModeless(Form& /*form*/) {}

  // Returns the answer (vbOK, vbCancel, vbYes, ...).
  virtual int messageBox(const MessageBoxRequest& request) = 0;
  // nullopt when cancelled.
  virtual std::optional<std::string> inputBox(const InputBoxRequest& request) = 0;
  virtual std::optional<automation::DateValue> calendar(const CalendarRequest& request) = 0;
  virtual std::optional<std::vector<int>> lookupList(const LookupRequest& request) = 0;
  virtual std::optional<std::string> columnSettings(const ColumnSettingsRequest& request) = 0;
  virtual FilterResult filterDialog(const FilterRequest& request) = 0;
  // Pops the menu up over the form; returns the chosen item (the form runs its Click) or null.
  virtual Menu* popupMenu(Form& form, Menu& menu) = 0;
  virtual void beep() = 0;
  // The file the person chose to write; nullopt when cancelled (and from a host that cannot ask).
  virtual std::optional<std::string> saveFileName(const SaveFileRequest& /*request*/) {
    return std::nullopt;
  }
  // Ctrl+F on a list: the host lets the person type what to find in it (list_find.h); false when
  // it has no way to.
  virtual bool findInList(Control& /*list*/) { return false; }
  // The screen's mouse pointer (vbDefault, vbHourglass, vbArrowHourglass).
  virtual void setScreenPointer(int /*pointer*/) {}
  // Whether a person works the forms: the dialogs then open with the filter the person last used
  // and remember the one used now (per user and dialog). A scripted run never does, so what it
  // does depends on its script alone, never on what someone filtered on this machine before.
  virtual bool remembersFilters() const { return false; }
  // Whether a person sees the lists drawn as they fill: a dialog's large list then shows its first
  // rows while the rest loads (row_growth.h). Never for a host a script or a caller drives.
  virtual bool listsGrowWhileShown() const { return false; }
};

// The current host; never null.
UiHost& currentUiHost();
// Installs a host (null restores the headless default) and returns the previous one.
std::shared_ptr<UiHost> setCurrentUiHost(std::shared_ptr<UiHost> host);

// Installs a host for the life of the object and restores the previous one after.
class ScopedUiHost {
 public:
  explicit ScopedUiHost(std::shared_ptr<UiHost> host);
  ~ScopedUiHost();
  ScopedUiHost(const ScopedUiHost&) = delete;
  ScopedUiHost& operator=(const ScopedUiHost&) = delete;

 private:
  std::shared_ptr<UiHost> previous_;
};

// The platform's MsgBox and Beep, through the current host.
int MsgBox(std::string prompt, int flags = vbOKOnly, std::string title = {});
void Beep();

// Converts between "YYYY-MM-DD" and the date serial (days since 1899-12-30); nullopt for a text
// that is not a valid date in that form.
std::optional<automation::DateValue> parseIsoDate(std::string_view text);
std::string formatIsoDate(automation::DateValue date);

}  // namespace quillon::forms
