#include "demo/demo_run.h"

#include <set>
#include <sstream>

#include "ado/recordset.h"
#include "automation/collection.h"
#include "demo/example_scripts.h"
#include "run/host_script_runner.h"
#include "value_printer.h"

namespace quillon::cli::demo {

namespace {

using automation::Variant;

// Collections may hold themselves; deeper than this nobody is reading anyway.
constexpr int kMaxDepth = 4;

void collectTables(const std::string& label, const Variant& value, int depth,
                   std::set<const automation::Object*>& seen, std::vector<ReceivedTable>& out) {
  if (!value.isObject() || value.isNothing() || depth > kMaxDepth) return;
  automation::Object* object = value.asObject().get();
  if (!seen.insert(object).second) return;
  if (auto* rs = dynamic_cast<ado::Recordset*>(object)) {
    out.push_back({label, rs->isOpen() ? rs->copyWithRows() : nullptr});
    return;
  }
  auto* coll = dynamic_cast<automation::Collection*>(object);
  if (coll == nullptr) return;
  const auto keys = coll->keys();
  for (std::size_t i = 0; i < coll->count(); ++i) {
    const std::string step = keys[i] ? "[\"" + *keys[i] + "\"]" : "[" + std::to_string(i + 1) + "]";
    collectTables(label + step, coll->item(i + 1), depth + 1, seen, out);
  }
}

}  // namespace

ReceivedCall receivedCall(const run::CallReport& report) {
  ReceivedCall call;
  call.line = report.line;
  call.text = report.text;
  std::set<const automation::Object*> seen;
  const bool hasResult = !report.resultVariable.empty() || !report.result.isEmpty();
  if (!report.error && hasResult) {
    const std::string name = report.resultVariable.empty() ? "result" : "$" + report.resultVariable;
    call.values.push_back({name, "", describeValue(report.result), true});
    collectTables(name, report.result, 0, seen, call.tables);
  }
  for (const run::ByRefArgument& arg : report.byRef) {
    call.values.push_back({"$" + arg.variable, arg.parameter, describeValue(arg.value), false});
    collectTables("$" + arg.variable, arg.value, 0, seen, call.tables);
  }
  if (report.error) {
    call.error = "error " + std::to_string(report.error->number) + ": " + report.error->description;
  }
  return call;
}

DemoRunResult runDemoScript(const DemoRunRequest& request,
                            std::shared_ptr<script::ScriptedUiHost> host) {
  DemoRunResult result;
  std::ostringstream out;
  run::HostScriptRunner runner(request.database, out, std::move(host));
  if (!request.user.empty()) runner.setLoginUser(request.user);
  runner.setCallObserver(
      [&result](const run::CallReport& report) { result.calls.push_back(receivedCall(report)); });
  const auto outcome =
      runner.runSource(request.byHand ? hostLinesOnly(request.script) : request.script);
  result.ok = outcome.ok;
  result.message = outcome.message;
  out << (outcome.ok ? "ok" : "failed: " + outcome.message) << '\n';
  result.transcript = out.str();
  return result;
}

}  // namespace quillon::cli::demo
