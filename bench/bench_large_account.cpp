// The dialogs on the scale-1000 demo account (bench_large_account.h), for the administrator
// ("demo") and for the clerk, whose data permissions restrict every list: the filter that lists a
// dialog's heads (the click until the list is filled), OK with about a thousand chosen lines (the
// re-read of the production-order and outsourced-order dialogs, the collection of the order and
// delivery-note dialogs), Refer until the stock dialog is up with its grid filled, and the
// write-backs of the public classes. Targets: 300 ms for a list, 100 ms for a write-back.
//
// The lists and the OK steps run on both engines (engine:0 the account file, engine:1 a database
// on the server QUILLON_BENCH_SERVER names, as scripts/run-benchmarks.sh starts one; without it the
// server's runs are skipped and say why); the rest on the file. The server's account is built once
// a run, by COPY, and dropped at the end. --scale=N builds both at another scale (1000 by default;
// the file's is cached like the scale-1000 one).
//
// BM_LargestListMemory opens the largest lists of them (the delivery-note heads, the purchase-order
// heads) and compares what the process holds for them with the bytes of their values (target:
// under twice): the heap the filter left in use (heap_ratio), the private memory it grew
// (process_ratio: pages freed earlier and reused count for nothing) and the recordset's own count;
// the recordsets' block pool is emptied first.
//
// Run with --explain=FILE to write, instead of benchmarking, the engine's plan of every statement
// the dialogs and the write-backs run (docs/stock-queries.md shows them); with
// --statements=FILE.sql as well, the plans of the statements an earlier run kept in that file.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "ado/block_pool.h"
#include "ado/connection.h"
#include "ado/recordset.h"
#include "ado/recordset_view.h"
#include "automation/class_registry.h"
#include "automation/collection.h"
#include "bench/bench_large_account.h"
#include "bench/bench_runner.h"
#include "bench/bench_scratch.h"
#include "bench/bench_ui_host.h"
#include "classes/position_set.h"
#include "classes/produce_order.h"
#include "classes/public_classes.h"
#include "classes/ref_select.h"
#include "classes/return_inv_set.h"
#include "classes/track_set.h"
#include "classes/ww_produce_order.h"
#include "components/marlin_login.h"
#include "components/suite/account_database.h"
#include "components/suite/inv_positions.h"
#include "components/suite/login.h"
#include "components/suite/stock_queries_object.h"
#include "dialogs/frmCons/frm_cons.h"
#include "dialogs/frmProduceOrder/frm_produce_order.h"
#include "dialogs/frmRefSelect/frm_ref_select.h"
#include "dialogs/frmReturnInvSet/frm_return_inv_set.h"
#include "dialogs/frmStockOrder/frm_stock_order.h"
#include "dialogs/frmWWProduceOrder/frm_ww_produce_order.h"
#include "forms/constants.h"
#include "forms/ui_host.h"
#include "module/module_ctl.h"
#include "module/session.h"
#include "sql/locations.h"
#include "sql/sqlite/functions.h"

namespace {

using namespace quillon;
using automation::Variant;
using Clock = std::chrono::steady_clock;

constexpr int kChosenLines = 1000;
// The administrator, the clerk (restricted in every kind) and the outsourcing clerk (restricted in
// inventories only, to products of outsourced orders and two of their materials).
const char* const kUsers[] = {"demo", "clerk", "omclerk"};

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// ---------------------------------------------------------------------------------------------
// Statements the engine prepares, on every connection of the process (for --explain).

constexpr const char* kStatementEnd = "\n;;\n";

std::mutex gStatementsMutex;
std::set<std::string>* gStatements = nullptr;
std::ofstream* gStatementLog = nullptr;  // each new statement as it is first run

int traceStatement(unsigned, void*, void*, void* text) {
  if (gStatements == nullptr) return 0;
  const char* sql = static_cast<const char*>(text);
  if (sql == nullptr || std::strncmp(sql, "--", 2) == 0) return 0;
  const std::lock_guard<std::mutex> lock(gStatementsMutex);
  if (gStatements->insert(sql).second && gStatementLog != nullptr) {
    *gStatementLog << sql << kStatementEnd << std::flush;
  }
  return 0;
}

int traceEveryConnection(sqlite3* db, char**, const sqlite3_api_routines*) {
  sqlite3_trace_v2(db, SQLITE_TRACE_STMT, traceStatement, nullptr);
  return SQLITE_OK;
}

// ---------------------------------------------------------------------------------------------
// The accounts: on the file, a working copy of the cached account; on the server, one built for
// this run. Each gets one production order of a thousand product lines for the OK re-read.

int gScale = bench::kLargeScale;

constexpr int kFile = 0;
constexpr int kServer = 1;

using Account = bench::LargeAccount;

// The order MOBIG: its lines copy the first thousand lines of the account, of materials the clerk
// may use too (class 0101 of the blocks). In T-SQL both engines run. An account kept from an
// earlier run (QUILLON_BENCH_SERVER_ACCOUNT) has it already: it is written afresh.
void addBigOrder(const Account& a) {
  auto cn = a.connect();
  cn->execute("DELETE FROM pp_POLine WHERE ID = 900000");
  cn->execute("DELETE FROM pp_POHead WHERE ID = 900000");
  cn->execute(
      "INSERT INTO pp_POHead (ID, cCode, dDate, iProperty, iState, cMaker, cVerifier) VALUES "
      "(900000, 'MOBIG', '2026-11-30', 2, 2, 'bench', 'bench')");
  cn->execute(
      "INSERT INTO pp_POLine (MainID, ID, iRowNo, cInvCode, fQuantity, fInQuantity, cWhCode) "
      "SELECT MainID + 9000000, 900000, MainID, '0101' + cast(101 + MainID % 900 as "
      "varchar(10)), fQuantity, 0, cWhCode FROM pp_POLine WHERE MainID <= " +
      std::to_string(kChosenLines));
}

struct FileAccount : bench::FileLargeAccount {
  FileAccount() : FileLargeAccount(gScale, "quillon-bench-large") {
    addBigOrder(*this);
    classes::registerAllClasses(automation::classRegistry());
  }
};

// A database of its own on the server, dropped when the program ends.
struct ServerAccount : bench::ServerLargeAccount {
  ServerAccount() : ServerLargeAccount(gScale, "quillon_bench_large_") {
    classes::registerAllClasses(automation::classRegistry());
    if (!error.empty()) return;
    try {
      addBigOrder(*this);
    } catch (const std::exception& e) {
      error = std::string("the server's account was not built: ") + e.what();
    }
  }
};

Account& account() {
  static FileAccount a;
  return a;
}

Account& serverAccount() {
  static ServerAccount a;
  return a;
}

// The account of a benchmark's engine (its first argument), or nullptr when the server's is not
// there: the benchmark is then skipped with the reason.
const Account* accountOf(benchmark::State& state) {
  if (state.range(0) == kFile) return &account();
  const Account& a = serverAccount();
  if (!a.error.empty()) {
    state.SkipWithError(a.error.c_str());
    return nullptr;
  }
  return &a;
}

// The user of a benchmark: its first argument, or its second for those that take the engine.
const std::string& userOf(const benchmark::State& state, int arg = 0) {
  static const std::string names[] = {kUsers[0], kUsers[1], kUsers[2]};
  return names[state.range(arg)];
}

// What a listed recordset holds: rows, fields and the bytes of its values as the engine would
// hand them over (8 per number, the text's bytes).
struct Listed {
  std::int64_t rows = 0;
  std::int64_t fields = 0;
  std::int64_t valueBytes = 0;
};

Listed listedOf(const std::shared_ptr<ado::Recordset>& rs) {
  Listed l;
  if (!rs || !rs->isOpen()) return l;
  const ado::RecordsetView view(*rs);
  l.rows = view.rowCount();
  l.fields = view.fieldCount();
  for (int r = 0; r < view.rowCount(); ++r) {
    for (int f = 0; f < view.fieldCount(); ++f) {
      const Variant v = view.value(r, f);
      if (v.isString()) {
        l.valueBytes += static_cast<std::int64_t>(v.asString().size());
      } else if (!v.isNull() && !v.isEmpty()) {
        l.valueBytes += 8;
      }
    }
  }
  return l;
}

// The label of a benchmark that takes the engine first and the user second: "server, clerk".
std::string engineLabel(const benchmark::State& state) {
  return std::string(state.range(0) == kFile ? "file, " : "server, ") + userOf(state, 1);
}

void report(benchmark::State& state, const Listed& l, const std::string& label) {
  if (l.rows == 0) state.SkipWithError("nothing listed or chosen");
  state.counters["rows"] = static_cast<double>(l.rows);
  state.counters["fields"] = static_cast<double>(l.fields);
  state.SetLabel(label);
}

// A notice during a timed step (a message box with only an OK button, where a question would have
// more) is the dialog refusing the step or failing it: the benchmark then ends with its text, as
// the time would be that of the error's path.
template <class Form>
bool failOnMessage(benchmark::State& state, const bench::DrivingHost<Form>& host, int before,
                   int after) {
  if (after == before) return false;
  state.SkipWithError(("the step said: " + host.lastNotice).c_str());
  return true;
}

// Times one step inside a dialog shown by a class: `prepare` sets the dialog up untimed, `step`
// is timed (manual time); a fresh dialog every iteration.
template <class Form>
void timedInDialog(benchmark::State& state, const std::function<void(Form&)>& prepare,
                   const std::function<void(Form&)>& step, const std::function<void()>& show,
                   const std::function<Listed(Form&)>& listed, const std::string& label,
                   int answer = 0) {
  auto host = std::make_shared<bench::DrivingHost<Form>>();
  host->answer = answer;
  forms::ScopedUiHost scoped(host);
  Listed l;
  int before = 0;
  int after = 0;
  for (auto _ : state) {
    double took = 0;
    host->drive = [&](Form& f) {
      prepare(f);
      before = host->notices;
      const auto start = Clock::now();
      step(f);
      took = secondsSince(start);
      after = host->notices;
      l = listed(f);
    };
    show();
    state.SetIterationTime(took);
    if (after != before) break;
  }
  report(state, l, label);
  failOnMessage(state, *host, before, after);
}

// ---------------------------------------------------------------------------------------------
// Production orders: ProduceOrder.load shows frmProduceOrder.

void showProduceOrder(const Account& a, const std::string& user, bool bOI,
                      const std::string& code = "") {
  auto po = std::make_shared<classes::ProduceOrder>();
  Variant coll;
  std::string err;
  if (!po->load(code, Variant(a.login(user)), coll, err, bOI, 0) && !err.empty()) {
    throw std::runtime_error(err);
  }
}

void BM_ProduceOrderFilter(benchmark::State& state) {
  const Account* a = accountOf(state);
  if (a == nullptr) return;
  const std::string user = userOf(state, 1);
  timedInDialog<dialogs::frmProduceOrder>(
      state, [](dialogs::frmProduceOrder&) {},
      [](dialogs::frmProduceOrder& f) { f.cmdFilter.userClick(); },
      [&] { showProduceOrder(*a, user, false); },
      [](dialogs::frmProduceOrder& f) { return listedOf(f.headRecordset()); }, engineLabel(state));
}

void BM_ProduceOrderOkRereadsThousandLines(benchmark::State& state) {
  const Account* a = accountOf(state);
  if (a == nullptr) return;
  const std::string user = userOf(state, 1);
  int lines = 0;
  timedInDialog<dialogs::frmProduceOrder>(
      state,
      [&](dialogs::frmProduceOrder& f) {
        f.cmdFilter.userClick();
        f.lstParent.userCheck(1);
        lines = f.lstSub.itemCount();
      },
      [](dialogs::frmProduceOrder& f) { f.cmdOk.userClick(); },
      [&] { showProduceOrder(*a, user, true, "MOBIG"); },
      [&](dialogs::frmProduceOrder&) {
        return Listed{lines, 0, 0};
      },
      engineLabel(state));
}

// ---------------------------------------------------------------------------------------------
// Outsourced orders: WWProduceOrder.load shows frmWWProduceOrder.

void showWWProduceOrder(const Account& a, const std::string& user, bool bOI) {
  auto ww = std::make_shared<classes::WWProduceOrder>();
  Variant coll;
  std::string err;
  if (!ww->load("", Variant(a.login(user)), coll, err, bOI, 0) && !err.empty()) {
    throw std::runtime_error(err);
  }
}

void wwFilter(benchmark::State& state, bool bOI) {
  const Account* a = accountOf(state);
  if (a == nullptr) return;
  const std::string user = userOf(state, 1);
  timedInDialog<dialogs::frmWWProduceOrder>(
      state, [](dialogs::frmWWProduceOrder&) {},
      [](dialogs::frmWWProduceOrder& f) { f.cmdFilter.userClick(); },
      [&] { showWWProduceOrder(*a, user, bOI); },
      [](dialogs::frmWWProduceOrder& f) { return listedOf(f.headerRecordset()); },
      engineLabel(state));
}
void BM_WWReceiptFilter(benchmark::State& state) {
  wwFilter(state, true);
}
void BM_WWIssueFilter(benchmark::State& state) {
  wwFilter(state, false);
}

// The headers of one order day (about three hundred, a thousand product lines), all marked with
// their lines, then OK.
void BM_WWOkRereadsThousandLines(benchmark::State& state) {
  const Account* a = accountOf(state);
  if (a == nullptr) return;
  const std::string user = userOf(state, 1);
  int lines = 0;
  timedInDialog<dialogs::frmWWProduceOrder>(
      state,
      [&](dialogs::frmWWProduceOrder& f) {
        f.txtLDate.setText("2026-11-18");
        f.txtUDate.setText("2026-11-22");
        f.cmdFilter.userClick();
        f.chkSelectAllHead.userClick();
        f.chkSelectAll.userClick();
        lines = f.VouchListB.Rows() - 1;
      },
      [](dialogs::frmWWProduceOrder& f) { f.cmdOk.userClick(); },
      [&] { showWWProduceOrder(*a, user, true); },
      [&](dialogs::frmWWProduceOrder&) {
        return Listed{lines, 0, 0};
      },
      engineLabel(state));
}

// ---------------------------------------------------------------------------------------------
// Purchase orders and arrival notes (frmStockOrder), delivery notes (frmCons): loaded headless in
// the user's session, as loadStockOrder and loadConsignment load them.

void openSession(const Account& a, const std::string& user) {
  module::OpenSession(std::dynamic_pointer_cast<components::MarlinLogin>(a.login(user)));
}

void BM_StockOrderFilter(benchmark::State& state) {
  const Account* a = accountOf(state);
  if (a == nullptr) return;
  openSession(*a, userOf(state, 1));
  const int tab = static_cast<int>(state.range(2));
  auto host = std::make_shared<bench::DrivingHost<dialogs::frmStockOrder>>();
  host->answer = forms::vbYes;  // switching tabs asks first
  forms::ScopedUiHost scoped(host);
  Listed l;
  for (auto _ : state) {
    state.PauseTiming();
    auto form = std::make_unique<dialogs::frmStockOrder>();
    form->Load();
    form->Check1.setValue(forms::vbUnchecked);
    if (tab == 1) form->SSTab1.userSelectTab(1);
    state.ResumeTiming();
    (tab == 1 ? form->Command1 : form->cmdFilter).Click();
    state.PauseTiming();
    l = listedOf(form->headRecordset());
    form->Unload();
    form.reset();
    state.ResumeTiming();
  }
  report(state, l, engineLabel(state));
}

// Marks heads from the first until their lines make a thousand, shows the lines, marks them.
template <class Form>
int markThousandLines(Form& form, forms::MsSuperGrid& heads, forms::MsSuperGrid& lines) {
  form.Check1.setValue(forms::vbUnchecked);
  int row = 1;
  for (; row < heads.Rows() && row <= kChosenLines / 4; ++row) heads.setMarked(row, true);
  heads.setRow(1);
  form.Check1.setValue(forms::vbChecked);
  const int shown = std::min(lines.Rows() - 1, kChosenLines);
  for (int r = 1; r <= shown; ++r) lines.setMarked(r, true);
  return shown;
}

void BM_StockOrderOkCollectsThousandLines(benchmark::State& state) {
  const Account* a = accountOf(state);
  if (a == nullptr) return;
  openSession(*a, userOf(state, 1));
  auto host = std::make_shared<bench::DrivingHost<dialogs::frmStockOrder>>();
  host->answer = forms::vbYes;
  forms::ScopedUiHost scoped(host);
  int lines = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto form = std::make_unique<dialogs::frmStockOrder>();
    form->Load();
    form->cmdFilter.Click();
    lines = markThousandLines(*form, form->lstDdHead, form->lstDdBody);
    const int before = host->notices;
    state.ResumeTiming();
    form->cmdOk.Click();
    state.PauseTiming();
    if (failOnMessage(state, *host, before, host->notices)) break;
    form->Unload();
    form.reset();
    state.ResumeTiming();
  }
  report(state, {lines, 0, 0}, engineLabel(state));
}

void BM_ConsFilter(benchmark::State& state) {
  const Account* a = accountOf(state);
  if (a == nullptr) return;
  openSession(*a, userOf(state, 1));
  auto host = std::make_shared<bench::DrivingHost<dialogs::frmCons>>();
  forms::ScopedUiHost scoped(host);
  Listed l;
  for (auto _ : state) {
    state.PauseTiming();
    auto form = std::make_unique<dialogs::frmCons>();
    form->Load();
    form->Check1.setValue(forms::vbUnchecked);
    state.ResumeTiming();
    form->cmdFilter.Click();
    state.PauseTiming();
    l = listedOf(form->headRecordset());
    form->Unload();
    form.reset();
    state.ResumeTiming();
  }
  report(state, l, engineLabel(state));
}

void BM_ConsOkCollectsThousandLines(benchmark::State& state) {
  const Account* a = accountOf(state);
  if (a == nullptr) return;
  openSession(*a, userOf(state, 1));
  auto host = std::make_shared<bench::DrivingHost<dialogs::frmCons>>();
  host->answer = forms::vbYes;
  forms::ScopedUiHost scoped(host);
  int lines = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto form = std::make_unique<dialogs::frmCons>();
    form->Load();
    form->cmdFilter.Click();
    lines = markThousandLines(*form, form->lstFhdHead, form->lstFhdBody);
    const int before = host->notices;
    state.ResumeTiming();
    form->cmdOk.Click();
    state.PauseTiming();
    if (failOnMessage(state, *host, before, host->notices)) break;
    form->Unload();
    form.reset();
    state.ResumeTiming();
  }
  report(state, {lines, 0, 0}, engineLabel(state));
}

// ---------------------------------------------------------------------------------------------
// Return inventories: frmShow with the root's list (every inventory the user may see).

void BM_ReturnInvSetRootList(benchmark::State& state) {
  const Account* a = accountOf(state);
  if (a == nullptr) return;
  const auto login = a->login(userOf(state, 1));
  timedInDialog<dialogs::frmReturnInvSet>(
      state, [](dialogs::frmReturnInvSet&) {},
      [](dialogs::frmReturnInvSet& f) { f.treeMenu.userClickNode("mRoot"); },
      [&] {
        classes::ReturnInvSet picker;
        picker.frmShow(login, forms::vbModal, "");
      },
      [](dialogs::frmReturnInvSet& f) {
        return Listed{f.ListView1.itemCount(), 0, 0};
      },
      engineLabel(state), forms::vbOK);
}

// ---------------------------------------------------------------------------------------------
// Stock selection: Refer with the stock of one inventory of the last block in its warehouse,
// from the call until the dialog is up (headless: its grid bound), and AutoRefer over it.

std::string lastBlockStockSql() {
  components::suite::StockQueriesObject queries;
  return queries.currentStockSql({"01", "0101101", {}, ""}, false);
}

classes::RefSelect::Request stockRequest() {
  classes::RefSelect::Request r;
  r.whCode = "01";
  r.invCode = "0101101";
  r.quantity = 500;
  r.sql = lastBlockStockSql();
  return r;
}

void BM_ReferUntilShown(benchmark::State& state) {
  const auto login = account().login(userOf(state));
  auto host = std::make_shared<bench::DrivingHost<dialogs::frmRefSelect>>();
  forms::ScopedUiHost scoped(host);
  const classes::RefSelect::Request request = stockRequest();
  Clock::time_point shown;
  int rows = 0;
  host->drive = [&](dialogs::frmRefSelect& f) {
    shown = Clock::now();
    rows = f.spgList.Rows() - 1;
  };
  for (auto _ : state) {
    classes::RefSelect refSelect;
    const auto start = Clock::now();
    refSelect.Refer(login, request);
    state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
  }
  report(state, {rows, 0, 0}, userOf(state));
}

void BM_AutoReferOneLine(benchmark::State& state) {
  const auto login = account().login(userOf(state));
  const classes::RefSelect::Request request = stockRequest();
  int rows = 0;
  for (auto _ : state) {
    classes::RefSelect refSelect;
    std::string err = "silent";
    refSelect.AutoRefer(login, request, err);
    rows = refSelect.ReturnData() ? refSelect.ReturnData()->recordCount() : 0;
  }
  report(state, {rows, 0, 0}, userOf(state));
}

// ---------------------------------------------------------------------------------------------
// Write-backs, each call timed on its own, on lines of the last block.

std::int32_t firstId(const std::string& sql) {
  return account().connect()->execute(sql)->value(std::size_t{0}).toLong();
}

// The class's dialog is shown once to open its session; the person leaves it at once.
struct LeavingHost {
  std::shared_ptr<bench::DrivingHost<forms::Form>> host =
      std::make_shared<bench::DrivingHost<forms::Form>>();
  forms::ScopedUiHost scoped{host};
};

void BM_ProduceOrderWritefQuantity(benchmark::State& state) {
  LeavingHost leaving;
  auto po = std::make_shared<classes::ProduceOrder>();
  Variant coll;
  std::string err;
  po->load("MOBIG-none", Variant(account().login(userOf(state))), coll, err, false, 11);
  const std::int32_t sub = firstId(
      "SELECT max(m.SubID) FROM pp_POMaterial m INNER JOIN pp_POLine l ON l.MainID = m.MainID "
      "INNER JOIN pp_POHead h ON h.ID = l.ID WHERE h.iState = 2 AND l.cClose IS NULL AND "
      "m.bUsed = 0 AND m.fQuantity - isnull(m.fOutQuantity, 0) > 100");
  for (auto _ : state) {
    if (!po->WritefQuantity(sub, 0.001, err, false, "")) state.SkipWithError(err.c_str());
  }
  state.SetLabel(userOf(state));
}

void BM_ProduceOrderWritefDispQuantity(benchmark::State& state) {
  LeavingHost leaving;
  auto po = std::make_shared<classes::ProduceOrder>();
  Variant coll;
  std::string err;
  po->load("MOBIG-none", Variant(account().login(userOf(state))), coll, err, false, 32);
  const std::int32_t line = firstId(
      "SELECT max(AutoID) FROM DispatchLists WHERE iQuantity - isnull(fOutQuantity, 0) > 10");
  for (auto _ : state) {
    if (!po->WritefDispQuantity(line, 0.001, err, 0)) state.SkipWithError(err.c_str());
  }
  state.SetLabel(userOf(state));
}

void BM_WWProduceOrderWritefQuantity(benchmark::State& state) {
  LeavingHost leaving;
  auto ww = std::make_shared<classes::WWProduceOrder>();
  Variant coll;
  std::string err;
  ww->load("none", Variant(account().login(userOf(state))), coll, err, false, 11);
  const std::int32_t sub = firstId(
      "SELECT max(SubID) FROM OM_PODetails WHERE fQuantity - isnull(fOutQuantity, 0) > 1000");
  double took = 0;
  double invalid = 0;
  for (auto _ : state) {
    if (!ww->WritefQuantity(sub, 0.001, took, invalid, err, false, "")) {
      state.SkipWithError(err.c_str());
    }
  }
  state.SetLabel(userOf(state));
}

void BM_TrackSetWritCount(benchmark::State& state) {
  auto con = account().connect();
  const std::int32_t line = firstId(
      "SELECT max(r.AutoID) FROM rdrecords r INNER JOIN rdrecord h ON h.ID = r.ID WHERE "
      "h.bRdFlag = 1 AND r.iQuantity - r.iSOutQuantity > 10");
  auto row = con->execute(
      "SELECT h.cWhCode, r.cInvCode, r.cBatch FROM rdrecords r INNER JOIN rdrecord h ON h.ID = "
      "r.ID WHERE r.AutoID = " +
      std::to_string(line));
  auto head = ado::Recordset::fabricate({{"cWhCode", ado::adVarWChar}});
  head->addNew();
  head->setValue(Variant("cWhCode"), row->value(std::size_t{0}));
  head->update();
  std::vector<ado::FieldDef> fields = {
      {"cInvCode", ado::adVarWChar}, {"cBatch", ado::adVarWChar},  {"iSOutQuantity", ado::adDouble},
      {"iSOutNum", ado::adDouble},   {"iQuantity", ado::adDouble}, {"iNum", ado::adDouble}};
  for (int k = 1; k <= 10; ++k) fields.push_back({"cFree" + std::to_string(k), ado::adVarWChar});
  auto body = ado::Recordset::fabricate(fields);
  body->addNew();
  body->setValue(Variant("cInvCode"), row->value(std::size_t{1}));
  body->setValue(Variant("cBatch"), row->value(std::size_t{2}));
  body->setValue(Variant("iSOutQuantity"), Variant(0.001));
  body->setValue(Variant("iSOutNum"), Variant(0.0));
  body->setValue(Variant("iQuantity"), Variant(-0.001));
  body->setValue(Variant("iNum"), Variant(0.0));
  for (int k = 1; k <= 10; ++k) body->setValue(Variant("cFree" + std::to_string(k)), Variant(""));
  body->update();
  classes::TrackSet track;
  std::string err;
  for (auto _ : state) {
    if (!track.WritCountofRD_CS(std::to_string(line), head.get(), body.get(), con.get(), true,
                                err)) {
      state.SkipWithError(err.c_str());
    }
  }
}

void BM_RefSelectWorkTable(benchmark::State& state) {
  const auto login = account().login("demo");
  const std::string batch =
      account()
          .connect()
          ->execute(
              "SELECT max(cBatch) FROM CurrentStock WHERE cWhCode = '01' AND cInvCode = "
              "'0101101'")
          ->value(std::size_t{0})
          .toString();
  classes::RefSelect refSelect;
  refSelect.CreateAndDropTmpCurrentStock(login, true);
  std::int32_t autoId = 0;
  for (auto _ : state) {
    autoId = refSelect.GetAutoID(login, "01", "0101101", {}, batch);
    refSelect.UpdateTmpCurrentStock(login, 1, 0, autoId);
  }
  if (autoId == 0) state.SkipWithError("no stock row found");
  refSelect.CreateAndDropTmpCurrentStock(login, false);
  state.counters["autoid"] = autoId;
}

// The work table made where there is none, as for a voucher: the drop after each is set-up (made
// over an existing table, the statement drops that first).
void BM_RefSelectCreateWorkTable(benchmark::State& state) {
  const auto login = account().login("demo");
  classes::RefSelect refSelect;
  for (auto _ : state) {
    refSelect.CreateAndDropTmpCurrentStock(login, true);
    state.PauseTiming();
    refSelect.CreateAndDropTmpCurrentStock(login, false);
    state.ResumeTiming();
  }
}

// Bin positions: PositionSet.Insert of a put-away, then its Delete, in the user's session (the
// batch-position form itself lists nothing).
void BM_PositionSetInsertDelete(benchmark::State& state) {
  const auto login = module::LoginArgument(account().login(userOf(state)));
  auto position = std::make_shared<components::suite::InvPositionObject>();
  position->setLogin(module::OpenContext(login, true));
  components::InvPositionData& d = position->data();
  d.whCode = "01";
  d.posCode = "01A01";
  d.invCode = "0101001";
  d.quantity = 1;
  d.inbound = true;
  classes::PositionSet positions;
  const automation::ObjectPtr object = position;
  for (auto _ : state) {
    d.autoId = 0;
    if (!positions.Insert(object) || !positions.Delete(object)) {
      state.SkipWithError("the position service refused");
    }
  }
  state.SetLabel(userOf(state) + ", insert and delete");
}

// ---------------------------------------------------------------------------------------------
// Memory: the largest of the lists above, opened in its dialog, against its values' bytes.

// The process's private memory in use (RssAnon): what it holds itself, without the pages of the
// account file it reads through a mapping.
long privateBytes() {
  long kib = 0;
  if (FILE* f = std::fopen("/proc/self/status", "r")) {
    char line[256];
    while (std::fgets(line, sizeof line, f) != nullptr) {
      if (std::sscanf(line, "RssAnon: %ld kB", &kib) == 1) break;
    }
    std::fclose(f);
  }
  return kib * 1024;
}

// The bytes the allocator has handed out and not had back (small blocks and mapped ones): what the
// process holds, whether or not its pages were resident before.
double heapInUse() {
  const struct mallinfo2 m = ::mallinfo2();
  return static_cast<double>(m.uordblks + m.hblkhd);
}

template <class Form>
void largestListMemory(benchmark::State& state) {
  openSession(account(), "demo");
  Listed l;
  double held = 0;
  double grown = 0;
  double heap = 0;
  for (auto _ : state) {
    auto form = std::make_unique<Form>();
    form->Load();
    form->Check1.setValue(forms::vbUnchecked);
    ado::trimBlockPool();  // blocks kept from earlier lists would hide what this one takes
    ::malloc_trim(0);
    const long before = privateBytes();
    const double heapBefore = heapInUse();
    form->cmdFilter.Click();
    heap = heapInUse() - heapBefore;
    grown = static_cast<double>(privateBytes() - before);
    l = listedOf(form->headRecordset());
    held = static_cast<double>(form->headRecordset()->memoryBytes());
    form->Unload();
  }
  state.counters["rows"] = static_cast<double>(l.rows);
  state.counters["value_bytes"] = static_cast<double>(l.valueBytes);
  state.counters["recordset_ratio"] = held / static_cast<double>(l.valueBytes);
  state.counters["process_ratio"] = grown / static_cast<double>(l.valueBytes);
  state.counters["heap_ratio"] = heap / static_cast<double>(l.valueBytes);
}

// The delivery-note heads (the most values) and the purchase-order heads (the most rows).
void BM_LargestListMemory(benchmark::State& state) {
  if (state.range(0) == 0) {
    largestListMemory<dialogs::frmCons>(state);
  } else {
    largestListMemory<dialogs::frmStockOrder>(state);
  }
}

// ---------------------------------------------------------------------------------------------
// --explain: the plans.

// The plans of the statements the benchmarks run (also kept, as they come, in FILE.sql), or of
// the statements of such a file.
void explainTo(const std::string& file, const std::string& statementFile) {
  account();  // made before the statements are kept
  std::set<std::string> statements;
  if (statementFile.empty()) {
    std::ofstream log(file + ".sql");
    gStatementLog = &log;
    gStatements = &statements;
    benchmark::RunSpecifiedBenchmarks();
    gStatements = nullptr;
    gStatementLog = nullptr;
  } else {
    std::ifstream in(statementFile);
    std::stringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    for (std::size_t at = 0; at < all.size();) {
      const std::size_t end = all.find(kStatementEnd, at);
      statements.insert(all.substr(at, end - at));
      if (end == std::string::npos) break;
      at = end + std::strlen(kStatementEnd);
    }
  }
  sqlite3* db = nullptr;
  sqlite3_open_v2(account().path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sql::registerServerFunctions(db);
  std::ofstream out(file);
  for (const std::string& sql : statements) {
    if (sql.rfind("SELECT", 0) != 0 && sql.rfind("select", 0) != 0 && sql.rfind("UPDATE", 0) != 0 &&
        sql.rfind("update", 0) != 0 && sql.rfind("WITH", 0) != 0 && sql.rfind("INSERT", 0) != 0 &&
        sql.rfind("insert", 0) != 0 && sql.rfind("DELETE", 0) != 0) {
      continue;
    }
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, ("EXPLAIN QUERY PLAN " + sql).c_str(), -1, &st, nullptr) !=
        SQLITE_OK) {
      continue;
    }
    out << "```sql\n" << sql << "\n```\n```\n";
    std::map<int, int> depth;
    while (sqlite3_step(st) == SQLITE_ROW) {
      const int id = sqlite3_column_int(st, 0);
      const int parent = sqlite3_column_int(st, 1);
      depth[id] = parent == 0 ? 0 : depth[parent] + 1;
      out << std::string(static_cast<std::size_t>(2 * depth[id]), ' ')
          << reinterpret_cast<const char*>(sqlite3_column_text(st, 3)) << "\n";
    }
    out << "```\n\n";
    sqlite3_finalize(st);
  }
  sqlite3_close(db);
}

void users(benchmark::internal::Benchmark* b) {
  b->ArgName("user")->Arg(0)->Arg(1);
}
// The engine first (the file, the server), then the user.
void enginesAndUsers(benchmark::internal::Benchmark* b) {
  b->ArgNames({"engine", "user"});
  for (int engine : {kFile, kServer}) b->Args({engine, 0})->Args({engine, 1});
}
void enginesAndOutsourcingUsers(benchmark::internal::Benchmark* b) {
  b->ArgNames({"engine", "user"});
  for (int engine : {kFile, kServer}) b->Args({engine, 0})->Args({engine, 1})->Args({engine, 2});
}

}  // namespace

// A step measured inside a dialog set up afresh for it: a fixed number of turns, since the set-up
// outweighs the step.
#define QUILLON_DIALOG_BENCH(name, apply)                                      \
  QUILLON_BENCHMARK(name)->Apply(apply)->UseManualTime()->Iterations(5)->Unit( \
      benchmark::kMillisecond)
QUILLON_DIALOG_BENCH(BM_ProduceOrderFilter, enginesAndUsers);
QUILLON_DIALOG_BENCH(BM_ProduceOrderOkRereadsThousandLines, enginesAndUsers);
QUILLON_DIALOG_BENCH(BM_WWReceiptFilter, enginesAndOutsourcingUsers);
QUILLON_DIALOG_BENCH(BM_WWIssueFilter, enginesAndOutsourcingUsers);
QUILLON_BENCHMARK(BM_WWOkRereadsThousandLines)
    ->ArgNames({"engine", "user"})
    ->Args({kFile, 0})
    ->Args({kFile, 2})
    ->Args({kServer, 0})
    ->Args({kServer, 2})
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
QUILLON_BENCHMARK(BM_StockOrderFilter)
    ->ArgNames({"engine", "user", "tab"})
    ->Args({kFile, 0, 0})
    ->Args({kFile, 1, 0})
    ->Args({kFile, 0, 1})
    ->Args({kFile, 1, 1})
    ->Args({kServer, 0, 0})
    ->Args({kServer, 1, 0})
    ->Args({kServer, 0, 1})
    ->Args({kServer, 1, 1})
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
QUILLON_BENCHMARK(BM_StockOrderOkCollectsThousandLines)
    ->Apply(enginesAndUsers)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
QUILLON_BENCHMARK(BM_ConsFilter)
    ->Apply(enginesAndUsers)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
QUILLON_BENCHMARK(BM_ConsOkCollectsThousandLines)
    ->Apply(enginesAndUsers)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
QUILLON_DIALOG_BENCH(BM_ReturnInvSetRootList, enginesAndUsers);
QUILLON_DIALOG_BENCH(BM_ReferUntilShown, users);
QUILLON_BENCHMARK(BM_AutoReferOneLine)->Apply(users)->Unit(benchmark::kMillisecond);
QUILLON_BENCHMARK(BM_ProduceOrderWritefQuantity)->Apply(users)->Unit(benchmark::kMillisecond);
QUILLON_BENCHMARK(BM_ProduceOrderWritefDispQuantity)->Apply(users)->Unit(benchmark::kMillisecond);
QUILLON_BENCHMARK(BM_WWProduceOrderWritefQuantity)->Apply(users)->Unit(benchmark::kMillisecond);
QUILLON_BENCHMARK(BM_PositionSetInsertDelete)->Apply(users)->Unit(benchmark::kMillisecond);
QUILLON_BENCHMARK(BM_TrackSetWritCount)->Unit(benchmark::kMillisecond);
QUILLON_BENCHMARK(BM_RefSelectWorkTable)->Unit(benchmark::kMillisecond);
QUILLON_BENCHMARK(BM_RefSelectCreateWorkTable)->Unit(benchmark::kMillisecond)->Iterations(2);
QUILLON_BENCHMARK(BM_LargestListMemory)->ArgName("list")->Arg(0)->Arg(1)->Iterations(1);

int main(int argc, char** argv) {
  std::string explain;
  std::string statements;
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (std::strncmp(argv[i], "--explain=", 10) == 0) {
      explain = argv[i] + 10;
    } else if (std::strncmp(argv[i], "--statements=", 13) == 0) {
      statements = argv[i] + 13;
    } else if (const auto scale =
                   i > 0 ? bench::takeScaleArg(argv[0], argv[i], db::kMaxDemoScale, gScale)
                         : bench::ScaleArg::Other;
               scale != bench::ScaleArg::Other) {
      if (scale == bench::ScaleArg::Refused) return 1;
    } else {
      args.push_back(argv[i]);
    }
  }
  sqlite3_auto_extension(reinterpret_cast<void (*)()>(traceEveryConnection));
  int count = static_cast<int>(args.size());
  args.push_back(nullptr);
  if (!bench::initialize(count, args.data())) return 1;
  if (!explain.empty()) {
    explainTo(explain, statements);
  } else {
    benchmark::RunSpecifiedBenchmarks();
  }
  benchmark::Shutdown();
  return 0;
}
