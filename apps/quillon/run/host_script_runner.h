// HostScriptRunner: runs a host script on an account database file and writes its transcript.
//
// Host lines run here: `login` opens the suite's login object on the database ($login) and a
// session context with it ($context); `new` creates an object by ProgID; `call` invokes a member
// late-bound with literal, reference (by value) and by-reference variable arguments; `print`,
// `expect` and `set` work on the variables and the properties and rows they reach; `sql` runs a
// batch on a connection of its own to the same database, as another workstation would, and
// prints its results as `quillon sql` does. Dialog lines go to the scripted UI host, which is the
// current UI host while the script runs; a block's sql comes back here.
//
// The transcript echoes every host line as "line N: TEXT"; below it, indented, come the events of
// the dialogs the line opened (forms shown, hidden and unloaded, message boxes with their
// answers), then the call's result and by-reference variables, or whatever `print` shows.
//
// A login, new, call, set or sql line (or a block's sql) that raises an error stops the script,
// unless the next line expects something of $error: then $error holds the error-information object
// (Number, Description) and the script goes on. After such a line that raised nothing, $error is
// Nothing.
//
// A program embedding the runner may also be told what every call returned (setCallObserver),
// and may log every `login` line in as a user of its choosing (setLoginUser).
#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "run/call_report.h"
#include "run/reference.h"
#include "script/script_runner.h"
#include "script/scripted_ui_host.h"

namespace quillon::automation {
class ErrorInfo;
}
namespace quillon::ado {
class Connection;
}

namespace quillon::cli::run {

class HostScriptRunner : public script::ScriptRunner {
 public:
  HostScriptRunner(
      std::string database, std::ostream& out,
      std::shared_ptr<script::ScriptedUiHost> host = std::make_shared<script::ScriptedUiHost>());

  // Parses and runs a script; a parse error is a failed result naming its line and column and
  // runs nothing. Never throws for anything the script, the library or the database does.
  script::RunResult runSource(std::string_view text);

  const Variables& variables() const { return variables_; }

  // Called after every call line that returned or raised; see CallReport. The transcript is the
  // same with or without an observer.
  void setCallObserver(CallObserver observer) { callObserver_ = std::move(observer); }

  // Every `login` line logs in as `user` whatever its own user= says (its date= still counts),
  // so the same script can be run as another user of the account; nullopt goes back to the
  // script's own users.
  void setLoginUser(std::optional<std::string> user) { loginUser_ = std::move(user); }

 protected:
  void onLogin(const script::LoginLine& line, script::SourcePos pos) override;
  void onNew(const script::NewLine& line, script::SourcePos pos) override;
  void onCall(const script::CallLine& line, script::SourcePos pos) override;
  void onPrint(const script::PrintLine& line, script::SourcePos pos) override;
  void onExpect(const script::ExpectLine& line, script::SourcePos pos) override;
  void onSet(const script::SetLine& line, script::SourcePos pos) override;
  void onSql(const script::SqlLine& line, script::SourcePos pos) override;
  automation::Variant onValue(const script::ScriptValue& value) override;

 private:
  std::string lineText(script::SourcePos pos) const;
  void echo(script::SourcePos pos);
  void show(const std::string& name, const automation::Variant& value);
  // Runs a line that may raise; see the header comment for $error.
  template <class Fn>
  void guarded(script::SourcePos pos, const std::string& what, Fn&& body);
  automation::Variant argumentValue(const script::ScriptValue& value);
  // What `expect` compares with: any value but "-", variables looked up strictly.
  automation::Variant expectedValue(const script::ScriptValue& value);
  // The connection of the other workstation, opened by the first sql line.
  ado::Connection& otherWorkstation();
  // A line below the one echoed (indented), or with the dialog's events inside a block.
  void say(const std::string& text);
  void sayLines(const std::string& text);

  std::string database_;
  std::ostream& out_;
  Variables variables_;
  std::string source_;                   // the script, for the lines the transcript echoes
  std::vector<std::size_t> lineStarts_;  // where each of its lines starts
  std::set<int> errorExpectedAfter_;     // lines whose next statement expects $error
  std::shared_ptr<automation::ErrorInfo> lastRaised_;  // what the last guarded line raised
  CallObserver callObserver_;
  std::optional<std::string> loginUser_;
  std::shared_ptr<ado::Connection> otherWorkstation_;
};

}  // namespace quillon::cli::run
