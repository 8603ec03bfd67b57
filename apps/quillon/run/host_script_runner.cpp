#include "run/host_script_runner.h"

#include <cctype>
#include <exception>
#include <optional>
#include <ostream>
#include <sstream>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "automation/collection.h"
#include "automation/error_info.h"
#include "automation/names.h"
#include "components/session_context.h"
#include "components/suite/account_database.h"
#include "components/suite/login.h"
#include "forms/ui_host.h"
#include "module/session.h"
#include "result_printer.h"
#include "script/script_compare.h"
#include "script/script_parser.h"
#include "script/script_values.h"
#include "value_printer.h"

namespace quillon::cli::run {

using automation::ObjectPtr;
using automation::Variant;
using script::CallLine;
using script::ExpectLine;
using script::LoginLine;
using script::NewLine;
using script::PrintLine;
using script::RunResult;
using script::Script;
using script::ScriptError;
using script::ScriptValue;
using script::SetLine;
using script::SourcePos;
using script::sourceText;
using script::SqlLine;

namespace {

constexpr const char* kErrorVariable = "error";

std::string trimmed(std::string_view line) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!line.empty() && blank(line.front())) line.remove_prefix(1);
  while (!line.empty() && blank(line.back())) line.remove_suffix(1);
  return std::string(line);
}

// Lines that may raise and whose error the following `expect $error...` line may take over. A set
// raises only through an object: a property it assigns or a reference it reads.
bool mayRaise(const script::Statement& s) {
  if (const auto* set = std::get_if<SetLine>(&s.body)) {
    return !set->target.path.empty() || set->value.kind == ScriptValue::Kind::Reference;
  }
  return std::holds_alternative<LoginLine>(s.body) || std::holds_alternative<NewLine>(s.body) ||
         std::holds_alternative<CallLine>(s.body) || std::holds_alternative<SqlLine>(s.body);
}

bool expectsError(const script::Statement& s) {
  const auto* expect = std::get_if<ExpectLine>(&s.body);
  return expect != nullptr && expect->ref.variable == kErrorVariable;
}

// The lines of a script (and of its blocks' sql actions) whose error the next line takes over.
std::set<int> linesWithErrorExpected(const Script& script) {
  std::set<int> lines;
  const auto& statements = script.statements;
  for (std::size_t i = 0; i < statements.size(); ++i) {
    if (i + 1 < statements.size() && mayRaise(statements[i]) && expectsError(statements[i + 1])) {
      lines.insert(statements[i].pos.line);
    }
    const auto* block = std::get_if<script::OnBlock>(&statements[i].body);
    if (block == nullptr) continue;
    for (std::size_t a = 0; a + 1 < block->actions.size(); ++a) {
      if (block->actions[a].kind == script::ActionKind::Sql &&
          block->actions[a + 1].kind == script::ActionKind::ExpectValue) {
        lines.insert(block->actions[a].pos.line);
      }
    }
  }
  return lines;
}

// An object the call handed back unchanged (the login, a service) is not worth a transcript line;
// recordsets and collections are, since the call may have changed what they hold.
bool sameOpaqueObject(const Variant& before, const Variant& after) {
  if (!before.isObject() || !after.isObject() || before.isNothing()) return false;
  if (before.asObject() != after.asObject()) return false;
  automation::Object* obj = after.asObject().get();
  return dynamic_cast<ado::Recordset*>(obj) == nullptr &&
         dynamic_cast<automation::Collection*>(obj) == nullptr;
}

// What a failing expectation found: an error object by its number and text, which are what
// `expect $error …` compares.
std::string foundText(const Variant& value) {
  if (value.isObject() && !value.isNothing()) {
    if (const auto* error = dynamic_cast<automation::ErrorInfo*>(value.asObject().get())) {
      return "error " + std::to_string(error->number()) + ": " + oneLine(error->description());
    }
  }
  return describeValue(value);
}

}  // namespace

HostScriptRunner::HostScriptRunner(std::string database, std::ostream& out,
                                   std::shared_ptr<script::ScriptedUiHost> host)
    : ScriptRunner(std::move(host)), database_(std::move(database)), out_(out) {
  this->host().setTranscriptSink([this](const std::string& line) {
    out_ << (line.rfind("FAILED ", 0) == 0 ? "" : "  ") << line << '\n';
  });
}

RunResult HostScriptRunner::runSource(std::string_view text) {
  Script script;
  try {
    script = script::parseScript(text);
  } catch (const ScriptError& e) {
    return {false, e.pos(), e.what()};
  } catch (const std::exception& e) {
    return {false, {}, e.what()};
  }
  source_ = text;
  lineStarts_.clear();
  for (std::size_t from = 0; from <= text.size();) {
    lineStarts_.push_back(from);
    from = std::min(text.find('\n', from), text.size()) + 1;
  }
  errorExpectedAfter_ = linesWithErrorExpected(script);
  return run(script);
}

std::string HostScriptRunner::lineText(SourcePos pos) const {
  const auto index = static_cast<std::size_t>(pos.line - 1);
  if (pos.line < 1 || index >= lineStarts_.size()) return "";
  const std::size_t from = lineStarts_[index];
  const std::size_t end = std::min(source_.find('\n', from), source_.size());
  return trimmed(std::string_view(source_).substr(from, end - from));
}

// Inside a block (its sql, and `expect $error` after it) the lines go with the dialog's events.
void HostScriptRunner::echo(SourcePos pos) {
  const std::string text = "line " + std::to_string(pos.line) + ": " + lineText(pos);
  if (host().inBlock()) {
    host().note(text);
  } else {
    out_ << text << '\n';
  }
}

void HostScriptRunner::say(const std::string& text) {
  if (host().inBlock()) {
    host().note(text);
  } else {
    out_ << "  " << text << '\n';
  }
}

void HostScriptRunner::show(const std::string& name, const Variant& value) {
  out_ << "  " << name << " = " << describeValue(value) << '\n';
}

template <class Fn>
void HostScriptRunner::guarded(SourcePos pos, const std::string& what, Fn&& body) {
  const bool taken = errorExpectedAfter_.count(pos.line) != 0;
  if (taken) variables_[kErrorVariable] = Variant::nothing();
  auto info = std::make_shared<automation::ErrorInfo>();
  try {
    body();
    return;
  } catch (const RaisedInReference& e) {
    // The object's own error, met on the way through a reference.
    if (!taken) throw;
    info->setError(e.error().number(), e.error().description(), e.error().source());
  } catch (const ScriptError&) {
    throw;
  } catch (...) {
    automation::trapCurrentException(*info);
  }
  lastRaised_ = info;
  const std::string error =
      "error " + std::to_string(info->number()) + ": " + oneLine(info->description());
  if (!taken) throw ScriptError(pos, what + " raised " + error);
  say(error);
  variables_[kErrorVariable] = Variant(ObjectPtr(info));
}

Variant HostScriptRunner::argumentValue(const ScriptValue& value) {
  if (value.kind == ScriptValue::Kind::Variable) return variables_[value.text];
  if (value.kind != ScriptValue::Kind::Reference) return script::literalValue(value);
  const Resolved r = resolve(value.ref, variables_);
  if (r.row) {
    throw ScriptError(value.pos, sourceText(value.ref) +
                                     " is a row; name one of its fields, as in " +
                                     sourceText(value.ref) + ".cInvCode");
  }
  return r.value;
}

Variant HostScriptRunner::expectedValue(const ScriptValue& value) {
  if (value.kind == ScriptValue::Kind::Variable &&
      variables_.find(value.text) == variables_.end()) {
    throw ScriptError(value.pos, "$" + value.text + " was never set");
  }
  if (value.kind == ScriptValue::Kind::Omitted) {
    throw ScriptError(value.pos,
                      "\"-\" stands for an omitted argument and cannot be expected; use null, "
                      "nothing or \"\"");
  }
  return argumentValue(value);
}

Variant HostScriptRunner::onValue(const ScriptValue& value) {
  return expectedValue(value);
}

void HostScriptRunner::onLogin(const LoginLine& line, SourcePos pos) {
  echo(pos);
  std::string user = "demo";
  std::optional<automation::DateValue> date;
  for (const auto& [key, value] : line.options) {
    if (automation::sameName(key, "user")) {
      user = value;
    } else if (automation::sameName(key, "date")) {
      date = forms::parseIsoDate(value);
      if (!date) throw ScriptError(pos, "date=" + value + " is not a date of the form YYYY-MM-DD");
    } else {
      throw ScriptError(pos, "unknown login option \"" + key + "\" (login takes user= and date=)");
    }
  }
  if (loginUser_) user = *loginUser_;
  guarded(pos, "login", [&] {
    auto login = components::suite::Login::open(database_, user, date);
    auto context = module::OpenContext(login, true);
    variables_["login"] = Variant(ObjectPtr(login));
    variables_["context"] = Variant(ObjectPtr(context));
    out_ << "  $login = user " << login->userId() << " on account " << login->accountId()
         << ", date " << forms::formatIsoDate(login->loginDate()) << '\n';
  });
}

void HostScriptRunner::onNew(const NewLine& line, SourcePos pos) {
  echo(pos);
  guarded(pos, "new " + line.progId, [&] {
    Variant object(automation::CreateObject(line.progId));
    variables_[line.variable] = object;
    show("$" + line.variable, object);
  });
}

void HostScriptRunner::onCall(const CallLine& line, SourcePos pos) {
  echo(pos);
  const std::string what = "call $" + line.object + "." + line.member;
  const auto it = variables_.find(line.object);
  if (it == variables_.end()) throw ScriptError(pos, "$" + line.object + " was never set");
  if (!it->second.isObject() || it->second.isNothing()) {
    throw ScriptError(pos, "$" + line.object + " is " + describeValue(it->second) +
                               ", not an object whose members can be called");
  }
  // Held here: a by-reference argument may replace the variable that named the object.
  const ObjectPtr object = it->second.asObject();

  std::vector<Variant> args;
  std::vector<Variant> before;
  // Only by-reference parameters come back changed; a member the table does not list (a
  // dynamic one) shows the variables it did change.
  const automation::MemberInfo* member = object->memberTable().find(line.member);
  auto byRef = [&](std::size_t i) {
    if (member == nullptr) return !(args[i] == before[i]);
    return i < member->params.size() && member->params[i].byRef;
  };
  CallReport report;
  report.line = pos.line;
  report.text = lineText(pos);
  report.object = line.object;
  report.member = line.member;
  report.resultVariable = line.resultVariable.value_or("");
  auto writeBack = [&] {
    std::set<std::string> shown;
    std::set<std::string> reported;
    for (std::size_t i = 0; i < args.size(); ++i) {
      if (line.args[i].kind == ScriptValue::Kind::Variable && byRef(i)) {
        variables_[line.args[i].text] = args[i];
      }
    }
    for (std::size_t i = 0; i < args.size(); ++i) {
      const std::string& name = line.args[i].text;
      if (line.args[i].kind != ScriptValue::Kind::Variable || !byRef(i)) continue;
      if (reported.insert(name).second) {
        const bool named = member != nullptr && i < member->params.size();
        report.byRef.push_back({name, named ? member->params[i].name : "", variables_[name]});
      }
      if (sameOpaqueObject(before[i], args[i]) || !shown.insert(name).second) continue;
      show("$" + name, variables_[name]);
    }
  };
  // The observer hears of the call however it ended, except when a dialog action failed.
  auto tell = [&] {
    if (!callObserver_ || host().failure()) return;
    if (lastRaised_) report.error = RaisedError{lastRaised_->number(), lastRaised_->description()};
    callObserver_(report);
  };
  lastRaised_.reset();

  auto call = [&] {
    // A reference among the arguments may raise the object's own error, which $error may take.
    for (const ScriptValue& a : line.args) args.push_back(argumentValue(a));
    before = args;
    Variant result;
    try {
      result = object->invoke(line.member, automation::InvokeKind::Method, args);
    } catch (...) {
      writeBack();
      throw;
    }
    // A dialog action that failed has closed the forms and ended the call; the failure is the
    // news, not what the call made of it.
    if (host().failure()) return;
    report.result = result;
    if (line.resultVariable) {
      variables_[*line.resultVariable] = result;
      show("$" + *line.resultVariable, result);
    } else if (!result.isEmpty()) {
      show("result", result);
    }
    writeBack();
  };
  try {
    guarded(pos, what, call);
  } catch (const ScriptError&) {
    if (lastRaised_) tell();
    throw;
  }
  tell();
}

void HostScriptRunner::onPrint(const PrintLine& line, SourcePos pos) {
  echo(pos);
  const Resolved r = resolve(line.ref, variables_);
  const std::string name = sourceText(line.ref);
  if (!r.row) {
    out_ << "  " << name << " = ";
    printValue(out_, r.value, "  ");
    return;
  }
  out_ << "  " << name << " = row " << r.rowNumber << '\n';
  const auto& fields = r.row->fields();
  for (std::int32_t i = 0; i < fields->count(); ++i) {
    out_ << "    " << fields->item(static_cast<std::size_t>(i))->name() << " = "
         << describeValue(r.row->value(static_cast<std::size_t>(i))) << '\n';
  }
}

void HostScriptRunner::onExpect(const ExpectLine& line, SourcePos pos) {
  echo(pos);
  const std::string wanted = sourceText(line.ref) + " " +
                             std::string(script::compareOpText(line.op)) + " " +
                             sourceText(line.expected);
  if (line.ref.variable == kErrorVariable && !line.ref.path.empty()) {
    const auto it = variables_.find(kErrorVariable);
    if (it == variables_.end()) {
      throw ScriptError(pos,
                        "$error is set only by a login, new or call line just before (or a "
                        "sql line, or a set through an object)");
    }
    if (it->second.isNothing()) {
      throw ScriptError(pos, "expected " + wanted + ", but the line before raised no error");
    }
  }
  const Resolved r = resolve(line.ref, variables_);
  if (r.row) {
    throw ScriptError(pos, sourceText(line.ref) + " is a row; expect one of its fields, as in " +
                               sourceText(line.ref) + ".cInvCode");
  }
  const Variant expected = expectedValue(line.expected);
  bool held = false;
  try {
    held = script::compare(r.value, line.op, expected);
  } catch (const script::CompareError& e) {
    throw ScriptError(pos, "expect " + wanted + ": " + e.what());
  }
  if (held) return;
  std::string message = "expected " + wanted + ", found " + foundText(r.value);
  if (line.expected.kind == ScriptValue::Kind::Variable ||
      line.expected.kind == ScriptValue::Kind::Reference) {
    message += ", and " + sourceText(line.expected) + " is " + foundText(expected);
  }
  throw ScriptError(pos, message);
}

void HostScriptRunner::onSet(const SetLine& line, SourcePos pos) {
  echo(pos);
  if (line.value.kind == ScriptValue::Kind::Omitted) {
    throw ScriptError(line.value.pos,
                      "set needs a value; \"-\" only stands for an omitted argument");
  }
  guarded(pos, "set", [&] {
    const Variant value = expectedValue(line.value);
    if (line.target.path.empty()) {
      variables_[line.target.variable] = value;
    } else {
      assign(line.target, value, variables_);
    }
  });
}

void HostScriptRunner::onSql(const SqlLine& line, SourcePos pos) {
  echo(pos);
  guarded(pos, "sql", [&] {
    std::ostringstream printed;
    auto printer = makePrinter(OutputFormat::Table, printed);
    // What the statements before a failing one produced is shown all the same.
    struct Flush {
      HostScriptRunner& runner;
      ResultPrinter& printer;
      std::ostringstream& printed;
      ~Flush() {
        printer.finish();
        runner.sayLines(printed.str());
      }
    } flush{*this, *printer, printed};
    otherWorkstation().database().execute(line.batch, *printer);
  });
}

void HostScriptRunner::sayLines(const std::string& text) {
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) say(host().inBlock() ? "  " + l : l);
}

ado::Connection& HostScriptRunner::otherWorkstation() {
  if (!otherWorkstation_) {
    auto connection = std::make_shared<ado::Connection>();
    connection->open(components::suite::accountConnectionString(database_));
    otherWorkstation_ = std::move(connection);
  }
  return *otherWorkstation_;
}

}  // namespace quillon::cli::run
