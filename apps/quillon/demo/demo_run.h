// One run of an example script from the demo window: as the chosen user on the chosen account,
// with the transcript and, call by call, what the host received — recordsets copied as they were
// when the call returned, so later lines of the script cannot change what is shown.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "run/call_report.h"
#include "script/scripted_ui_host.h"

namespace quillon::ado {
class Recordset;
}

namespace quillon::cli::demo {

// A recordset the host received, directly or inside a returned collection.
struct ReceivedTable {
  std::string label;  // where the host finds it: $rs, $coll["Parent"], $coll[2]
  // An independent copy of the rows its view showed; null when the recordset was closed.
  std::shared_ptr<ado::Recordset> rows;
};

// One value the call handed back: its result or a by-reference variable.
struct ReceivedValue {
  std::string variable;   // "$ok", or "result" for a call without a result variable
  std::string parameter;  // the member's name for a by-reference argument ("ErrMsg")
  std::string text;       // one-line form: "\"\"", "True", "<Collection> (2 items)"
  bool isResult = false;
};

struct ReceivedCall {
  int line = 0;
  std::string text;
  std::vector<ReceivedValue> values;  // the result first, then the by-reference arguments
  std::vector<ReceivedTable> tables;
  std::optional<std::string> error;  // "error 5: Invalid procedure call or argument"
};

// Turns the runner's report into what the window shows; exposed for the window and its tests.
ReceivedCall receivedCall(const run::CallReport& report);

struct DemoRunRequest {
  std::string database;
  std::string user;     // replaces the user of every login line
  std::string script;   // the script's text
  bool byHand = false;  // the person works the dialogs: the script's dialog lines are left out
};

struct DemoRunResult {
  bool ok = false;
  std::string message;  // why the run failed
  std::string transcript;
  std::vector<ReceivedCall> calls;
};

// Runs the script on `host` (which decides whether forms are drawn and who works them).
DemoRunResult runDemoScript(const DemoRunRequest& request,
                            std::shared_ptr<script::ScriptedUiHost> host);

}  // namespace quillon::cli::demo
