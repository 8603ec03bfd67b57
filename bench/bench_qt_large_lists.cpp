// The lists of the seven dialogs on the scale-1000 demo account (bench_large_account.h), drawn on
// Qt's offscreen platform, for the administrator ("demo") and the clerk (restricted in every
// kind), on the account file (engine:0) and on the server QUILLON_BENCH_SERVER names (engine:1;
// skipped with the reason without one). Target: 100 ms from the click to the painted list.
//
// Each iteration shows the dialog afresh, lets it paint, then clicks (the filter button in the
// drawn window, the root of the return-inventory tree, the reference call, the filter's OK of
// the batch-position form) and runs the event loop until the list is settled. The manual time is
// from the click to the end of the first paint of the list holding rows (its first screen; for a
// list that stays empty, its first paint after the click). Counters:
//   all_rows_ms  from the click until the drawn list's model held every row it ends with
//   click_ms     until the click's own work returned (the statement, the recordset, the form's
//                list; what the headless benchmarks time)
//   cpu_ms       the process's CPU time from the click to the first screen painted: the figure
//                other work on the machine does not stretch
//   rows         the rows the drawn list holds at the end
// A paint is seen by an event filter on the list's viewport; the time is taken when the event
// loop returns from the events that included it, so after the painting. The list counts as
// settled once it has been painted after its last change, nothing changed for kQuietMs and no
// list is still growing (a list on the server may wait longer than that for its next rows).
//
// --first-rows: after the benchmarks, every SELECT the file's benchmarks ran is run again on a
// read-only connection to the same file, timing the engine's first row against all its rows
// (the least of three runs), printed with the benchmark that first ran it.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <strings.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QEvent>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "automation/class_registry.h"
#include "bench/bench_large_account.h"
#include "bench/bench_runner.h"
#include "bench/qt_bench_support.h"
#include "classes/position_set.h"
#include "classes/produce_order.h"
#include "classes/public_classes.h"
#include "classes/ref_select.h"
#include "classes/return_inv_set.h"
#include "classes/ww_produce_order.h"
#include "components/marlin_login.h"
#include "components/suite/stock_queries_object.h"
#include "dialogs/frmBatchPosition/frm_batch_position.h"
#include "dialogs/frmCons/frm_cons.h"
#include "dialogs/frmProduceOrder/frm_produce_order.h"
#include "dialogs/frmRefSelect/frm_ref_select.h"
#include "dialogs/frmReturnInvSet/frm_return_inv_set.h"
#include "dialogs/frmStockOrder/frm_stock_order.h"
#include "dialogs/frmWWProduceOrder/frm_ww_produce_order.h"
#include "forms/constants.h"
#include "forms/row_growth.h"
#include "forms/ui_host.h"
#include "module/session.h"
#include "sql/sqlite/functions.h"
#include "ui/qt/form_window.h"
#include "ui/qt/qt_ui_host.h"

namespace {

using namespace quillon;
using automation::Variant;
using Clock = std::chrono::steady_clock;

constexpr int kFile = 0;
constexpr int kServer = 1;
const char* const kUsers[] = {"demo", "clerk"};
constexpr int kQuietMs = 200;
constexpr int kMaxWaitMs = 30000;

int gScale = bench::kLargeScale;

double msBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// The CPU time the process has used, in ms.
double processCpuMs() {
  timespec t{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// ---------------------------------------------------------------------------------------------
// The statements the file's benchmarks run (for --first-rows), with the benchmark that ran each
// first.

bool gKeepStatements = false;
std::mutex gStatementsMutex;
std::map<std::string, std::string> gStatements;
std::vector<std::string> gStatementOrder;
std::string gCurrentBenchmark;

int traceStatement(unsigned, void*, void*, void* text) {
  const char* sql = static_cast<const char*>(text);
  if (!gKeepStatements || sql == nullptr) return 0;
  if (strncasecmp(sql, "SELECT", 6) != 0 && strncasecmp(sql, "WITH", 4) != 0) return 0;
  const std::lock_guard<std::mutex> lock(gStatementsMutex);
  if (gStatements.emplace(sql, gCurrentBenchmark).second) gStatementOrder.push_back(sql);
  return 0;
}

int traceEveryConnection(sqlite3* db, char**, const sqlite3_api_routines*) {
  sqlite3_trace_v2(db, SQLITE_TRACE_STMT, traceStatement, nullptr);
  return SQLITE_OK;
}

// ---------------------------------------------------------------------------------------------
// The accounts.

struct FileAccount : bench::FileLargeAccount {
  FileAccount() : FileLargeAccount(gScale, "quillon-bench-qt-large") {}
};
struct ServerAccount : bench::ServerLargeAccount {
  ServerAccount() : ServerLargeAccount(gScale, "quillon_bench_qt_large_") {}
};

const bench::LargeAccount& fileAccount() {
  static FileAccount a;
  return a;
}

// The account of the benchmark's engine (its first argument), or nullptr with the benchmark
// skipped when the server's is not there.
const bench::LargeAccount* accountOf(benchmark::State& state) {
  if (state.range(0) == kFile) return &fileAccount();
  static ServerAccount server;
  if (!server.error.empty()) {
    state.SkipWithError(server.error.c_str());
    return nullptr;
  }
  return &server;
}

std::string userOf(const benchmark::State& state) {
  return kUsers[state.range(1)];
}

// ---------------------------------------------------------------------------------------------
// The clock of one drawn list.

struct ListTimes {
  double firstScreenMs = 0;
  double allRowsMs = 0;
  double clickMs = 0;
  double cpuMs = 0;
  int rows = 0;
};

class ListClock : public QObject {
 public:
  explicit ListClock(QTableView& view) : view_(view) {
    view_.viewport()->installEventFilter(this);
    QAbstractItemModel* model = view_.model();
    const auto changed = [this] { rowsChanged(); };
    connect(model, &QAbstractItemModel::modelReset, this, changed);
    connect(model, &QAbstractItemModel::rowsInserted, this, changed);
    connect(model, &QAbstractItemModel::rowsRemoved, this, changed);
  }
  ~ListClock() override { view_.viewport()->removeEventFilter(this); }
  ListClock(const ListClock&) = delete;
  ListClock& operator=(const ListClock&) = delete;

  // The clock runs from `click`; the list as it is now counts as changed then.
  void start(Clock::time_point click, double cpuAtClick = processCpuMs()) {
    click_ = click;
    cpuAtClick_ = cpuAtClick;
    lastChange_ = click;
    paintedSinceChange_ = false;
    paintSeen_ = false;
    firstScreen_.reset();
    emptyPaint_.reset();
  }

  // Runs the event loop until the list is settled (see the top of the file); `clickDone` is when
  // the click's own work returned.
  ListTimes settle(Clock::time_point clickDone) {
    QTimer tick;
    tick.start(2);
    const Clock::time_point limit = Clock::now() + std::chrono::milliseconds(kMaxWaitMs);
    for (;;) {
      QApplication::processEvents(QEventLoop::WaitForMoreEvents);
      const Clock::time_point now = Clock::now();
      if (paintSeen_) {
        paintSeen_ = false;
        if (!firstScreen_ && view_.model()->rowCount() > 0) {
          firstScreen_ = now;
          cpuAtFirstScreen_ = processCpuMs();
        }
        if (!emptyPaint_) {
          emptyPaint_ = now;
          cpuAtEmptyPaint_ = processCpuMs();
        }
        paintedSinceChange_ = true;
      }
      if (paintedSinceChange_ && msBetween(lastChange_, now) >= kQuietMs && !forms::anyGrowing())
        break;
      if (now > limit) throw std::runtime_error("the list did not settle within 30 s");
    }
    ListTimes t;
    t.rows = view_.model()->rowCount();
    t.firstScreenMs = msBetween(click_, t.rows > 0 && firstScreen_ ? *firstScreen_ : *emptyPaint_);
    t.allRowsMs = msBetween(click_, std::max(lastChange_, clickDone));
    t.clickMs = msBetween(click_, clickDone);
    t.cpuMs = (t.rows > 0 && firstScreen_ ? cpuAtFirstScreen_ : cpuAtEmptyPaint_) - cpuAtClick_;
    return t;
  }

  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) paintSeen_ = true;
    return false;
  }

 private:
  void rowsChanged() {
    lastChange_ = Clock::now();
    paintedSinceChange_ = false;
  }

  QTableView& view_;
  Clock::time_point click_;
  double cpuAtClick_ = 0;
  double cpuAtFirstScreen_ = 0;
  double cpuAtEmptyPaint_ = 0;
  Clock::time_point lastChange_;
  bool paintSeen_ = false;
  bool paintedSinceChange_ = false;
  std::optional<Clock::time_point> firstScreen_;
  std::optional<Clock::time_point> emptyPaint_;
};

template <class W>
W& widget(ui::qt::FormWindow& window, const char* name) {
  auto* w = window.findChild<W*>(QString::fromUtf8(name));
  if (w == nullptr) throw std::runtime_error(std::string("the dialog has no drawn ") + name);
  return *w;
}

// Runs the event loop until the window has painted once, as a person sees it before clicking.
void untilPainted(ui::qt::FormWindow& window) {
  bool painted = false;
  struct Watch : QObject {
    bool* seen;
    explicit Watch(bool* s) : seen(s) {}
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Paint) *seen = true;
      return false;
    }
  } watch(&painted);
  window.installEventFilter(&watch);
  QTimer tick;
  tick.start(2);
  const Clock::time_point limit = Clock::now() + std::chrono::milliseconds(kMaxWaitMs);
  while (!painted && Clock::now() < limit) {
    QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  window.removeEventFilter(&watch);
  if (!painted) throw std::runtime_error("the dialog was never painted");
  QApplication::processEvents();
}

// Clicks the drawn button and times the list it fills.
ListTimes clickAndTime(ui::qt::FormWindow& window, const char* button, const char* list) {
  auto& b = widget<QPushButton>(window, button);
  ListClock clock(widget<QTableView>(window, list));
  const Clock::time_point click = Clock::now();
  clock.start(click);
  b.click();
  return clock.settle(Clock::now());
}

// The Qt host of the benchmarks: `drive` plays the person in a modal form's window, message boxes
// answer `answer` (0: the default button) and a notice (only an OK button) is kept as the
// step's error; the filter dialog is confirmed with `filterWhere` at once, its OK noted.
class DrawnHost : public ui::qt::QtUiHost {
 public:
  std::function<void(forms::Form&, ui::qt::FormWindow&)> drive;
  int answer = 0;
  std::string notice;
  std::string filterWhere;
  Clock::time_point filterConfirmed;
  double cpuAtFilterConfirmed = 0;
  Clock::time_point shown;

  void formShown(forms::Form& form, bool modal) override {
    shown = Clock::now();
    QtUiHost::formShown(form, modal);
  }
  void runModal(forms::Form& form) override {
    ui::qt::FormWindow* window = windows().find(form);
    if (window == nullptr) window = &windows().shown(form, true);
    window->show();
    if (drive) {
      try {
        drive(form, *window);
      } catch (...) {
        if (form.Loaded()) form.userClose();
        throw;
      }
    }
    if (form.Loaded()) form.userClose();
  }
  int messageBox(const forms::MessageBoxRequest& request) override {
    if (request.buttons == forms::vbOKOnly && notice.empty()) notice = request.prompt;
    return answer != 0 ? answer : request.defaultAnswer();
  }
  forms::FilterResult filterDialog(const forms::FilterRequest&) override {
    forms::FilterResult r;
    r.code = 1;
    r.where = filterWhere;
    filterConfirmed = Clock::now();
    cpuAtFilterConfirmed = processCpuMs();
    return r;
  }
};

// One benchmark's iterations: `once` shows a dialog, clicks and returns the list's times.
void timed(benchmark::State& state, const std::string& label,
           const std::function<ListTimes(DrawnHost&)>& once, int answer = 0) {
  gCurrentBenchmark = label;
  double allRows = 0;
  double click = 0;
  double cpu = 0;
  int rows = 0;
  for (auto _ : state) {
    auto host = std::make_shared<DrawnHost>();
    host->answer = answer;
    ListTimes t;
    {
      forms::ScopedUiHost scoped(host);
      t = once(*host);
    }
    QApplication::processEvents();  // the closed windows go
    if (!host->notice.empty()) {
      state.SkipWithError(("the step said: " + host->notice).c_str());
      return;
    }
    state.SetIterationTime(t.firstScreenMs / 1000.0);
    allRows += t.allRowsMs;
    click += t.clickMs;
    cpu += t.cpuMs;
    rows = t.rows;
  }
  state.counters["all_rows_ms"] = benchmark::Counter(allRows, benchmark::Counter::kAvgIterations);
  state.counters["click_ms"] = benchmark::Counter(click, benchmark::Counter::kAvgIterations);
  state.counters["cpu_ms"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
  state.counters["rows"] = rows;
  state.SetLabel(label);
}

std::string labelOf(const benchmark::State& state, const std::string& list) {
  return list + (state.range(0) == kFile ? ", file, " : ", server, ") + userOf(state);
}

// ---------------------------------------------------------------------------------------------
// The dialogs.

// A dialog a class shows modally, filtered with its button.
template <class Show>
ListTimes filterInModal(DrawnHost& host, const Show& show, const char* button, const char* list) {
  ListTimes t;
  bool driven = false;
  host.drive = [&](forms::Form&, ui::qt::FormWindow& window) {
    untilPainted(window);
    t = clickAndTime(window, button, list);
    driven = true;
  };
  show();
  if (!driven && host.notice.empty()) throw std::runtime_error("the dialog was not shown");
  return t;
}

void BM_ProduceOrderList(benchmark::State& state) {
  const bench::LargeAccount* a = accountOf(state);
  if (a == nullptr) return;
  const auto login = a->login(userOf(state));
  timed(state, labelOf(state, "production orders"), [&](DrawnHost& host) {
    return filterInModal(
        host,
        [&] {
          auto po = std::make_shared<classes::ProduceOrder>();
          Variant coll;
          std::string err;
          if (!po->load("", Variant(login), coll, err, false, 0) && !err.empty()) {
            throw std::runtime_error(err);
          }
        },
        "cmdFilter", "lstParent");
  });
}

void wwList(benchmark::State& state, bool receipt) {
  const bench::LargeAccount* a = accountOf(state);
  if (a == nullptr) return;
  const auto login = a->login(userOf(state));
  timed(state, labelOf(state, receipt ? "outsourced receipt" : "outsourced issue"),
        [&](DrawnHost& host) {
          return filterInModal(
              host,
              [&] {
                auto ww = std::make_shared<classes::WWProduceOrder>();
                Variant coll;
                std::string err;
                if (!ww->load("", Variant(login), coll, err, receipt, 0) && !err.empty()) {
                  throw std::runtime_error(err);
                }
              },
              "cmdFilter", "VouchListH");
        });
}
void BM_WWReceiptList(benchmark::State& state) {
  wwList(state, true);
}
void BM_WWIssueList(benchmark::State& state) {
  wwList(state, false);
}

// Purchase orders and arrival notes, delivery notes: shown modeless in the user's session, as
// loadStockOrder and loadConsignment show them, the lines of the current head not displayed.
template <class Form>
ListTimes filterModeless(DrawnHost& host, int tab, const char* button, const char* list) {
  auto form = std::make_shared<Form>();
  form->Load();
  form->Check1.setValue(forms::vbUnchecked);
  if (tab == 1) form->SSTab1.userSelectTab(1);
  form->Show();
  ui::qt::FormWindow* window = host.windows().find(*form);
  if (window == nullptr) throw std::runtime_error("the dialog has no window");
  ListTimes t;
  try {
    untilPainted(*window);
    t = clickAndTime(*window, button, list);
  } catch (...) {
    form->Unload();
    throw;
  }
  form->Unload();
  return t;
}

void openSession(const bench::LargeAccount& a, const std::string& user) {
  module::OpenSession(std::dynamic_pointer_cast<components::MarlinLogin>(a.login(user)));
}

void BM_StockOrderList(benchmark::State& state) {
  const bench::LargeAccount* a = accountOf(state);
  if (a == nullptr) return;
  openSession(*a, userOf(state));
  const int tab = static_cast<int>(state.range(2));
  timed(
      state, labelOf(state, tab == 0 ? "purchase orders" : "arrival notes"),
      [&](DrawnHost& host) {
        return tab == 0 ? filterModeless<dialogs::frmStockOrder>(host, 0, "cmdFilter", "lstDdHead")
                        : filterModeless<dialogs::frmStockOrder>(host, 1, "Command1", "lstDhdHead");
      },
      forms::vbYes);  // switching tabs asks first
}

void BM_ConsList(benchmark::State& state) {
  const bench::LargeAccount* a = accountOf(state);
  if (a == nullptr) return;
  openSession(*a, userOf(state));
  timed(state, labelOf(state, "delivery notes"), [&](DrawnHost& host) {
    return filterModeless<dialogs::frmCons>(host, 0, "cmdFilter", "lstFhdHead");
  });
}

// Return inventories: frmShow, then the root of the tree clicked (every inventory the user may
// see). The tree's node is clicked through the form, as the drawn tree hands a click on it on.
void BM_ReturnInvSetList(benchmark::State& state) {
  const bench::LargeAccount* a = accountOf(state);
  if (a == nullptr) return;
  const auto login = a->login(userOf(state));
  timed(
      state, labelOf(state, "return inventories"),
      [&](DrawnHost& host) {
        ListTimes t;
        host.drive = [&](forms::Form& form, ui::qt::FormWindow& window) {
          untilPainted(window);
          auto& f = dynamic_cast<dialogs::frmReturnInvSet&>(form);
          ListClock clock(widget<QTableView>(window, "ListView1"));
          const Clock::time_point click = Clock::now();
          clock.start(click);
          f.treeMenu.userClickNode("mRoot");
          t = clock.settle(Clock::now());
        };
        classes::ReturnInvSet picker;
        picker.frmShow(login, forms::vbModal, "");
        return t;
      },
      forms::vbOK);
}

// Stock selection: Refer with the stock of one inventory of the last block in its warehouse, from
// the call (the list is filled as the dialog loads) to the painted grid.
void BM_RefSelectList(benchmark::State& state) {
  const bench::LargeAccount* a = accountOf(state);
  if (a == nullptr) return;
  const auto login = a->login(userOf(state));
  classes::RefSelect::Request request;
  request.whCode = "01";
  request.invCode = "0101101";
  request.quantity = 500;
  request.sql =
      components::suite::StockQueriesObject().currentStockSql({"01", "0101101", {}, ""}, false);
  timed(state, labelOf(state, "stock selection"), [&](DrawnHost& host) {
    ListTimes t;
    Clock::time_point call;
    double cpuAtCall = 0;
    host.drive = [&](forms::Form&, ui::qt::FormWindow& window) {
      ListClock clock(widget<QTableView>(window, "spgList"));
      clock.start(call, cpuAtCall);
      t = clock.settle(host.shown);
    };
    classes::RefSelect refSelect;
    cpuAtCall = processCpuMs();
    call = Clock::now();
    refSelect.Refer(login, request);
    return t;
  });
}

// Bin positions: BatchInvPos with the stock subsystem's batch-position filter, confirmed; from the
// filter's OK to the form's list painted. The form opens its list without rows.
void BM_BatchPositionList(benchmark::State& state) {
  const bench::LargeAccount* a = accountOf(state);
  if (a == nullptr) return;
  const auto login = a->login(userOf(state));
  timed(state, labelOf(state, "bin positions"), [&](DrawnHost& host) {
    ListTimes t;
    host.filterWhere = "cWhCode = '01'";
    host.drive = [&](forms::Form&, ui::qt::FormWindow& window) {
      ListClock clock(widget<QTableView>(window, "VouchList1"));
      clock.start(host.filterConfirmed, host.cpuAtFilterConfirmed);
      t = clock.settle(host.shown);
    };
    classes::PositionSet positions;
    std::string where;
    positions.BatchInvPos(login, "批次货位", where);
    return t;
  });
}

// ---------------------------------------------------------------------------------------------
// --first-rows: the engine's first row against all rows, per statement, on the file.

void firstRows() {
  sqlite3* db = nullptr;
  sqlite3_open_v2(fileAccount().path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  // Read as the library's own connections read the file: through a mapping of it.
  sqlite3_exec(db, "PRAGMA mmap_size = 1073741824", nullptr, nullptr, nullptr);
  sql::registerServerFunctions(db);
  std::printf(
      "\nFirst row against all rows, per statement the file's lists ran (ms, least of 3)\n");
  std::printf("%-40s %10s %10s %8s  %s\n", "first run by", "first row", "all rows", "rows",
              "statement");
  for (const std::string& sql : gStatementOrder) {
    double first = 1e300;
    double all = 1e300;
    long rows = 0;
    bool ok = true;
    for (int turn = 0; turn < 3 && ok; ++turn) {
      sqlite3_stmt* st = nullptr;
      const Clock::time_point start = Clock::now();
      if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
        ok = false;
        break;
      }
      int rc = sqlite3_step(st);
      const Clock::time_point firstAt = Clock::now();
      long n = 0;
      while (rc == SQLITE_ROW) {
        ++n;
        // Every value read as the recordset reads it: by its own type.
        for (int c = 0; c < sqlite3_column_count(st); ++c) {
          switch (sqlite3_column_type(st, c)) {
            case SQLITE_INTEGER:
              sqlite3_column_int64(st, c);
              break;
            case SQLITE_FLOAT:
              sqlite3_column_double(st, c);
              break;
            case SQLITE_NULL:
              break;
            default:
              sqlite3_column_bytes(st, c);
              sqlite3_column_text(st, c);
          }
        }
        rc = sqlite3_step(st);
      }
      const Clock::time_point end = Clock::now();
      ok = rc == SQLITE_DONE;
      sqlite3_finalize(st);
      first = std::min(first, msBetween(start, firstAt));
      all = std::min(all, msBetween(start, end));
      rows = n;
    }
    // Probes and single-row reads say nothing about streaming.
    if (!ok || all < 1.0) continue;
    std::string text = sql.substr(0, 140);
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::printf("%-40s %10.2f %10.2f %8ld  %s\n", gStatements[sql].c_str(), first, all, rows,
                text.c_str());
  }
  sqlite3_close(db);
}

void enginesAndUsers(benchmark::internal::Benchmark* b) {
  b->ArgNames({"engine", "user"});
  for (int engine : {kFile, kServer}) b->Args({engine, 0})->Args({engine, 1});
}
void enginesUsersAndTabs(benchmark::internal::Benchmark* b) {
  b->ArgNames({"engine", "user", "tab"});
  for (int engine : {kFile, kServer}) {
    for (int tab : {0, 1}) b->Args({engine, 0, tab})->Args({engine, 1, tab});
  }
}

}  // namespace

#define QUILLON_DRAWN_LIST(name, apply)                                        \
  QUILLON_BENCHMARK(name)->Apply(apply)->UseManualTime()->Iterations(5)->Unit( \
      benchmark::kMillisecond)
QUILLON_DRAWN_LIST(BM_ProduceOrderList, enginesAndUsers);
QUILLON_DRAWN_LIST(BM_WWReceiptList, enginesAndUsers);
QUILLON_DRAWN_LIST(BM_WWIssueList, enginesAndUsers);
QUILLON_DRAWN_LIST(BM_StockOrderList, enginesUsersAndTabs);
QUILLON_DRAWN_LIST(BM_ConsList, enginesAndUsers);
QUILLON_DRAWN_LIST(BM_ReturnInvSetList, enginesAndUsers);
QUILLON_DRAWN_LIST(BM_RefSelectList, enginesAndUsers);
QUILLON_DRAWN_LIST(BM_BatchPositionList, enginesAndUsers);

int main(int argc, char** argv) {
  bool wantFirstRows = false;
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (i > 0 && std::strcmp(argv[i], "--first-rows") == 0) {
      wantFirstRows = true;
    } else if (const auto scale =
                   i > 0 ? bench::takeScaleArg(argv[0], argv[i], db::kMaxDemoScale, gScale)
                         : bench::ScaleArg::Other;
               scale != bench::ScaleArg::Other) {
      if (scale == bench::ScaleArg::Refused) return 1;
    } else {
      args.push_back(argv[i]);
    }
  }
  if (wantFirstRows) {
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(traceEveryConnection));
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  ui::qt::QtApplication application;
  classes::registerAllClasses(automation::classRegistry());
  int count = static_cast<int>(args.size());
  args.push_back(nullptr);
  if (!bench::initialize(count, args.data())) return 1;
  if (wantFirstRows) fileAccount();  // copied before the statements are kept
  gKeepStatements = wantFirstRows;
  benchmark::RunSpecifiedBenchmarks();
  gKeepStatements = false;
  if (wantFirstRows) firstRows();
  benchmark::Shutdown();
  return 0;
}
