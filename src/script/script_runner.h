// ScriptRunner: runs a parsed host script. Dialog lines go to the scripted UI host (on-blocks are
// queued, answers queued, `expect message` checked); host lines go to the virtual on... members,
// which a host-line interpreter overrides — the default refuses them with a clear failure. The
// runner installs its host as the current UI host while it runs, and itself as the host's
// ScriptHostLines, so a block's sql and `expect $error` reach the same on... members and a dialog
// expectation can compare with a variable.
#pragma once

#include <memory>
#include <string>

#include "script/script_ast.h"
#include "script/scripted_ui_host.h"

namespace quillon::script {

struct RunResult {
  bool ok = true;
  SourcePos pos;        // of the failure
  std::string message;  // "line 7, column 3: ..." when it failed
};

class ScriptRunner : private ScriptHostLines {
 public:
  explicit ScriptRunner(std::shared_ptr<ScriptedUiHost> host = std::make_shared<ScriptedUiHost>());
  virtual ~ScriptRunner();
  ScriptRunner(const ScriptRunner&) = delete;
  ScriptRunner& operator=(const ScriptRunner&) = delete;

  // Runs to the end or to the first failure; never throws for anything the script or the
  // library does.
  RunResult run(const Script& script);
  // Parses and runs; a parse error is a failed result naming its line and column.
  RunResult runText(std::string_view text);

  ScriptedUiHost& host() { return *host_; }

 protected:
  // Host lines. Throw ScriptError (or any exception) to fail the line.
  virtual void onLogin(const LoginLine& line, SourcePos pos);
  virtual void onNew(const NewLine& line, SourcePos pos);
  virtual void onCall(const CallLine& line, SourcePos pos);
  virtual void onPrint(const PrintLine& line, SourcePos pos);
  virtual void onExpect(const ExpectLine& line, SourcePos pos);
  virtual void onSet(const SetLine& line, SourcePos pos);
  virtual void onSql(const SqlLine& line, SourcePos pos);
  // The value of a variable or reference that a dialog expectation compares with.
  virtual automation::Variant onValue(const ScriptValue& value);

 private:
  void runStatement(const Statement& statement);
  void blockSql(const SqlLine& line, SourcePos pos) override { onSql(line, pos); }
  void blockExpect(const ExpectLine& line, SourcePos pos) override { onExpect(line, pos); }
  automation::Variant blockValue(const ScriptValue& value) override { return onValue(value); }
  std::shared_ptr<ScriptedUiHost> host_;
};

}  // namespace quillon::script
