// The production-order dialog drawn on Qt's offscreen platform, with a filter that lists 10 000
// production-order heads. Target: 300 ms from Show to the first paint of the full head list.
//
// - BM_ShowFilterToFirstPaint: `ProduceOrder.load` shows the dialog, the person presses 过滤 in
//   the drawn window, and the clock stops when the head list has been painted holding every head.
//   Counters: filter_ms (the filter's own work: the head query and filling the list model) and
//   drawn_ms (from the filter's end to the paint: the renderer's share).
// - BM_RefilterToPaint: the same filter pressed again in a dialog already showing, to the paint.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QPushButton>
#include <QTableView>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "bench/bench_runner.h"
#include "bench/qt_bench_support.h"
#include "classes/produce_order.h"
#include "classes/public_classes.h"
#include "components/registration.h"
#include "components/suite/account_database.h"
#include "components/suite/login.h"
#include "db/demo_data.h"
#include "dialogs/frmProduceOrder/frm_produce_order.h"
#include "forms/ui_host.h"
#include "platform/terminal_session.h"
#include "ui/qt/application.h"
#include "ui/qt/form_window.h"
#include "ui/qt/qt_ui_host.h"

namespace {

using namespace quillon;
using automation::Variant;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int kHeads = 10000;

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// A scale-100 demo account in a directory of its own (with the workstation registry), and the
// copies of its production orders that bring the listed heads up to kHeads (see account()).
class Account {
 public:
  Account() {
    dir_ = fs::temp_directory_path() / ("quillon-bench-qt-produce-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    ::setenv("QUILLON_REGISTRY", (dir_ / "registry").c_str(), 1);
    path_ = (dir_ / "demo100.db").string();
    db::createDemoDatabase(path_, 100, true);
    connection_->open(components::suite::accountConnectionString(path_));
  }
  ~Account() {
    connection_->close();
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  Account(const Account&) = delete;
  Account& operator=(const Account&) = delete;

  const std::string& path() const { return path_; }

  // Copy k of the heads with an ID up to `lastId` (and their lines and materials).
  void copy(int k, int lastId) {
    const std::string h = std::to_string(k * 100000);
    const std::string l = std::to_string(k * 1000000);
    const std::string m = std::to_string(k * 10000000);
    const std::string upTo = std::to_string(lastId);
    connection_->beginTrans();
    connection_->execute(
        "INSERT INTO pp_POHead (ID, cCode, dDate, iProperty, iState, cDepCode, cPersonCode, "
        "cVenCode, cMaker, cVerifier, dCheckDate, cMemo) SELECT ID + " +
        h + ", cCode + '-" + std::to_string(k) +
        "', dDate, iProperty, iState, cDepCode, cPersonCode, cVenCode, cMaker, cVerifier, "
        "dCheckDate, cMemo FROM pp_POHead WHERE ID <= " +
        upTo);
    connection_->execute(
        "INSERT INTO pp_POLine (MainID, ID, iRowNo, cInvCode, fQuantity, fInQuantity, cWhCode, "
        "cClose) SELECT MainID + " +
        l + ", ID + " + h +
        ", iRowNo, cInvCode, fQuantity, fInQuantity, cWhCode, cClose FROM pp_POLine WHERE ID "
        "<= " +
        upTo);
    connection_->execute(
        "INSERT INTO pp_POMaterial (SubID, MainID, cInvCode, fQuantity, fOutQuantity, "
        "iWIPType, cWhCode, bUsed) SELECT SubID + " +
        m + ", MainID + " + l +
        ", cInvCode, fQuantity, fOutQuantity, iWIPType, cWhCode, bUsed FROM pp_POMaterial "
        "WHERE MainID IN (SELECT MainID FROM pp_POLine WHERE ID <= " +
        upTo + ")");
    connection_->commitTrans();
  }

 private:
  fs::path dir_;
  std::string path_;
  std::shared_ptr<ado::Connection> connection_ = std::make_shared<ado::Connection>();
};

// The Qt UI host of a desktop session, with the person played by `drive` once the dialog's window
// is up; message boxes answer with their default button instead of waiting.
class TimingHost : public ui::qt::QtUiHost {
 public:
  std::function<void(dialogs::frmProduceOrder&, ui::qt::FormWindow&)> drive;
  Clock::time_point shown;
  int messages = 0;

  void formShown(forms::Form& form, bool modal) override {
    shown = Clock::now();
    QtUiHost::formShown(form, modal);
  }
  void runModal(forms::Form& form) override {
    ui::qt::FormWindow* window = windows().find(form);
    if (window == nullptr) window = &windows().shown(form, true);
    window->show();
    if (drive) drive(dynamic_cast<dialogs::frmProduceOrder&>(form), *window);
    if (form.Loaded()) form.userClose();
  }
  int messageBox(const forms::MessageBoxRequest& request) override {
    ++messages;
    return request.defaultAnswer();
  }
};

// Presses the filter button in the drawn window, then runs the event loop until the head list
// has been painted with `heads` rows. Returns when the filter's own work ended.
Clock::time_point filterAndWaitForPaint(ui::qt::FormWindow& window, int& heads) {
  auto* button = window.findChild<QPushButton*>(QStringLiteral("cmdFilter"));
  auto* list = window.findChild<QTableView*>(QStringLiteral("lstParent"));
  if (button == nullptr || list == nullptr) throw std::runtime_error("the dialog is not drawn");

  button->click();
  const Clock::time_point filtered = Clock::now();
  auto* form = dynamic_cast<dialogs::frmProduceOrder*>(window.form());
  heads = form != nullptr ? form->lstParent.itemCount() : 0;
  bench::PaintWatch watch(*list->model(), heads);
  list->viewport()->installEventFilter(&watch);
  for (int pass = 0; pass < 200 && !watch.painted; ++pass) QApplication::processEvents();
  list->viewport()->removeEventFilter(&watch);
  if (!watch.painted) throw std::runtime_error("the head list was not painted with every head");
  return filtered;
}

// Shows the dialog through `ProduceOrder.load` with `drive` playing the person.
void showDialog(TimingHost& host, const std::string& path) {
  auto po = std::make_shared<classes::ProduceOrder>();
  auto login = components::suite::Login::open(path, "demo", automation::DateValue{46361.0});
  Variant collection;
  std::string error;
  if (!po->load("", Variant(std::static_pointer_cast<automation::Object>(login)), collection, error,
                false, 0) &&
      !error.empty()) {
    throw std::runtime_error(error);
  }
  if (host.messages > 0) throw std::runtime_error("the dialog refused with a message");
}

// The IDs of the heads the unfiltered filter lists, in ID order.
std::vector<int> listedHeadIds(const std::string& path) {
  std::vector<int> ids;
  auto host = std::make_shared<TimingHost>();
  forms::ScopedUiHost scoped(host);
  host->drive = [&](dialogs::frmProduceOrder& f, ui::qt::FormWindow&) {
    f.cmdFilter.userClick();
    const std::shared_ptr<ado::Recordset>& heads = f.headRecordset();
    if (!heads) return;
    for (heads->moveFirst(); !heads->eof(); heads->moveNext()) {
      ids.push_back(heads->value("id").toLong());
    }
  };
  showDialog(*host, path);
  std::sort(ids.begin(), ids.end());
  return ids;
}

// The account, made on first use and kept for every benchmark of the run. The demo account
// lists fewer heads than wanted: whole copies of its heads are added, then a last copy of the
// heads up to the one that makes the total exact (a copy is listed exactly as its original).
Account& account() {
  static const std::unique_ptr<Account> made = [] {
    auto a = std::make_unique<Account>();
    const std::vector<int> listed = listedHeadIds(a->path());
    const int perSet = static_cast<int>(listed.size());
    if (perSet == 0) throw std::runtime_error("the demo account lists no heads");
    const int sets = kHeads / perSet;
    for (int k = 1; k < sets; ++k) a->copy(k, listed.back());
    const int missing = kHeads - sets * perSet;
    if (missing > 0) a->copy(sets, listed[static_cast<std::size_t>(missing) - 1]);
    return a;
  }();
  return *made;
}

void BM_ShowFilterToFirstPaint(benchmark::State& state) {
  Account& data = account();
  double filterMs = 0;
  double drawnMs = 0;
  for (auto _ : state) {
    auto host = std::make_shared<TimingHost>();
    forms::ScopedUiHost scoped(host);
    Clock::time_point filtered;
    Clock::time_point painted;
    int heads = 0;
    host->drive = [&](dialogs::frmProduceOrder&, ui::qt::FormWindow& window) {
      filtered = filterAndWaitForPaint(window, heads);
      painted = Clock::now();
    };
    try {
      showDialog(*host, data.path());
    } catch (const std::exception& e) {
      state.SkipWithError(e.what());
      break;
    }
    if (heads != kHeads) {
      state.SkipWithError(("listed " + std::to_string(heads) + " heads").c_str());
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(painted - host->shown).count());
    filterMs += millisecondsBetween(host->shown, filtered);
    drawnMs += millisecondsBetween(filtered, painted);
  }
  state.counters["filter_ms"] = benchmark::Counter(filterMs, benchmark::Counter::kAvgIterations);
  state.counters["drawn_ms"] = benchmark::Counter(drawnMs, benchmark::Counter::kAvgIterations);
  state.counters["heads"] = kHeads;
}
QUILLON_BENCHMARK(BM_ShowFilterToFirstPaint)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

void BM_RefilterToPaint(benchmark::State& state) {
  Account& data = account();
  auto host = std::make_shared<TimingHost>();
  forms::ScopedUiHost scoped(host);
  double drawnMs = 0;
  host->drive = [&](dialogs::frmProduceOrder&, ui::qt::FormWindow& window) {
    int heads = 0;
    filterAndWaitForPaint(window, heads);
    for (auto _ : state) {
      const Clock::time_point start = Clock::now();
      const Clock::time_point filtered = filterAndWaitForPaint(window, heads);
      const Clock::time_point painted = Clock::now();
      state.SetIterationTime(std::chrono::duration<double>(painted - start).count());
      drawnMs += millisecondsBetween(filtered, painted);
    }
    state.counters["drawn_ms"] = benchmark::Counter(drawnMs, benchmark::Counter::kAvgIterations);
    state.counters["heads"] = heads;
  };
  try {
    showDialog(*host, data.path());
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
  }
}
QUILLON_BENCHMARK(BM_RefilterToPaint)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  return quillon::bench::runQtBenchmarks(argc, argv);
}
