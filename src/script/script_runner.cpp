#include "script/script_runner.h"

#include <exception>

#include "automation/com_error.h"
#include "forms/ui_host.h"
#include "script/script_parser.h"
#include "script/script_values.h"

namespace quillon::script {

namespace {

template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

[[noreturn]] void noInterpreter(SourcePos pos, const char* what) {
  throw ScriptError(pos,
                    std::string(what) + " is a host line; this runner has no host interpreter");
}

}  // namespace

ScriptRunner::ScriptRunner(std::shared_ptr<ScriptedUiHost> host) : host_(std::move(host)) {
  if (!host_) host_ = std::make_shared<ScriptedUiHost>();
}

ScriptRunner::~ScriptRunner() = default;

void ScriptRunner::onLogin(const LoginLine&, SourcePos pos) {
  noInterpreter(pos, "login");
}
void ScriptRunner::onNew(const NewLine&, SourcePos pos) {
  noInterpreter(pos, "new");
}
void ScriptRunner::onCall(const CallLine&, SourcePos pos) {
  noInterpreter(pos, "call");
}
void ScriptRunner::onPrint(const PrintLine&, SourcePos pos) {
  noInterpreter(pos, "print");
}
void ScriptRunner::onExpect(const ExpectLine&, SourcePos pos) {
  noInterpreter(pos, "expect $variable");
}
void ScriptRunner::onSet(const SetLine&, SourcePos pos) {
  noInterpreter(pos, "set");
}
void ScriptRunner::onSql(const SqlLine&, SourcePos pos) {
  noInterpreter(pos, "sql");
}
automation::Variant ScriptRunner::onValue(const ScriptValue& value) {
  throw ScriptError(value.pos, sourceText(value) + ": this runner has no variables");
}

void ScriptRunner::runStatement(const Statement& statement) {
  const SourcePos pos = statement.pos;
  std::visit(Overloaded{
                 [&](const LoginLine& l) { onLogin(l, pos); },
                 [&](const NewLine& l) { onNew(l, pos); },
                 [&](const CallLine& l) { onCall(l, pos); },
                 [&](const PrintLine& l) { onPrint(l, pos); },
                 [&](const ExpectLine& l) { onExpect(l, pos); },
                 [&](const SetLine& l) { onSet(l, pos); },
                 [&](const OnBlock& b) { host_->queueBlock(b); },
                 [&](const DialogAction& a) { host_->perform(a); },
                 [&](const SqlLine& l) { onSql(l, pos); },
             },
             statement.body);
}

RunResult ScriptRunner::run(const Script& script) {
  forms::ScopedUiHost installed(host_);
  host_->setHostLines(this);
  struct Uninstall {
    ScriptedUiHost& host;
    ~Uninstall() { host.setHostLines(nullptr); }
  } uninstall{*host_};
  for (const Statement& statement : script.statements) {
    try {
      runStatement(statement);
    } catch (const ScriptError& e) {
      host_->fail(e.pos(), e.message());
    } catch (const automation::ComError& e) {
      host_->fail(statement.pos, "error " + std::to_string(e.number()) + ": " + e.description());
    } catch (const std::exception& e) {
      host_->fail(statement.pos, e.what());
    }
    if (host_->failure()) break;
  }
  if (!host_->failure()) host_->checkAllUsed();
  RunResult result;
  if (const auto& failure = host_->failure()) {
    result.ok = false;
    result.pos = failure->pos();
    result.message = failure->what();
  }
  return result;
}

RunResult ScriptRunner::runText(std::string_view text) {
  Script script;
  try {
    script = parseScript(text);
  } catch (const ScriptError& e) {
    return {false, e.pos(), e.what()};
  }
  return run(script);
}

}  // namespace quillon::script
