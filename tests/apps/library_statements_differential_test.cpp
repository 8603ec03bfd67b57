// Every statement the library itself sends, run on an account file and on the test server and
// compared. Each example host script (the seven dialogs' filter, list, mark and OK paths, the
// current-stock selection with its rewrites, the quantity write-backs, bin positions and the
// return-inventory picker) runs in-process on a fresh copy of the scale-1 demo account on each
// engine, with every batch the process sends recorded with its rows. The two recordings have to
// hold the same batches in the same order, each with the same failure or the same rows and values
// (as T-SQL prints them; in the same order where the batch orders them, as multisets otherwise)
// and the same counts of changed rows; after the script, every table a batch wrote has the same
// contents on both. A disagreement is printed with the batch, ready for `quillon sql`.
//
// QUILLON_LIBRARY_SCRIPT runs only the example scripts whose names contain its text. The
// file-only half of the suite has no second engine and skips the comparison.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "classes/public_classes.h"
#include "db/demo_data.h"
#include "run/host_script_runner.h"
#include "sql/database.h"
#include "sql/locations.h"
#include "support/class_registration.h"
#include "support/demo_account.h"
#include "support/engine_values.h"
#include "support/scratch_dir.h"

namespace quillon::cli::run {
namespace {

using test_support::printedRows;

// --- What the library sent ----------------------------------------------------------------------

struct Batch {
  std::string tsql;
  std::size_t depth = 0;  // batches run while another's rows were read
  std::vector<sql::ResultSet> sets;
  std::vector<std::int64_t> affected;
  std::string failure;  // the kind of failure, empty when it ran
  std::string message;
};

class Recorder : public sql::StatementObserver {
 public:
  void batchStarted(const sql::Database& /*db*/, std::string_view tsql) override {
    batches.push_back({std::string(tsql), open_.size(), {}, {}, {}, {}});
    open_.push_back(batches.size() - 1);
  }
  void resultSet(const sql::Database& /*db*/, sql::ResultSet rows) override {
    if (!open_.empty()) batches[open_.back()].sets.push_back(std::move(rows));
  }
  void rowsAffected(const sql::Database& /*db*/, std::int64_t rows) override {
    if (!open_.empty()) batches[open_.back()].affected.push_back(rows);
  }
  void batchEnded(const sql::Database& /*db*/, const std::exception* failure) override {
    if (open_.empty()) return;
    if (failure != nullptr) {
      batches[open_.back()].failure = test_support::failureKind(*failure);
      batches[open_.back()].message = failure->what();
    }
    open_.pop_back();
  }

  std::vector<Batch> batches;

 private:
  std::vector<std::size_t> open_;
};

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// A batch's text without what differs between any two runs: the number a temporary table's name
// ends in, drawn at random so that a second table of the same connection does not clash.
std::string sameText(const std::string& tsql) {
  static const std::regex kNumbered(R"((#[A-Za-z_]+)[0-9]+)");
  return std::regex_replace(tsql, kNumbered, "$1#");
}

// What kind of statement a batch starts with, for the count of what was compared.
std::string kindOf(const std::string& tsql) {
  std::size_t i = 0;
  while (i < tsql.size() && (std::isspace(static_cast<unsigned char>(tsql[i])) != 0 ||
                             tsql[i] == '(' || tsql[i] == ';'))
    ++i;
  std::size_t j = i;
  while (j < tsql.size() && std::isalpha(static_cast<unsigned char>(tsql[j])) != 0) ++j;
  const std::string word = lower(tsql.substr(i, j - i));
  if (word == "select") {
    const std::string all = lower(tsql);
    return all.find(" into ") != std::string::npos && all.find("insert") == std::string::npos
               ? "select into"
               : "select";
  }
  return word.empty() ? "other" : word;
}

// The tables a batch writes: INSERT INTO, UPDATE, DELETE (FROM) and SELECT … INTO, temporary
// tables aside.
std::set<std::string> tablesWritten(const std::string& tsql) {
  static const std::regex kWrite(
      R"((?:insert\s+into|update|delete\s+from|delete|into)\s+\[?([A-Za-z_][A-Za-z0-9_]*)\]?)",
      std::regex::icase);
  std::set<std::string> tables;
  for (std::sregex_iterator it(tsql.begin(), tsql.end(), kWrite), end; it != end; ++it) {
    const std::string name = lower((*it)[1].str());
    if (name != "from" && name != "set") tables.insert(name);
  }
  return tables;
}

// A batch's rows can be compared in order when it orders them.
bool orders(const std::string& tsql) {
  static const std::regex kOrderBy(R"(order\s+by)", std::regex::icase);
  return std::regex_search(tsql, kOrderBy);
}

std::string describe(const Batch& b) {
  if (!b.failure.empty()) return "error (" + b.failure + "): " + b.message;
  std::string s;
  for (const auto& set : b.sets) {
    const auto rows = printedRows(set.rows, true);
    s += "\n      " + std::to_string(rows.lines.size()) + " rows";
    for (std::size_t i = 0; i < rows.lines.size() && i < 8; ++i) s += "\n        " + rows.lines[i];
  }
  if (!b.affected.empty()) {
    s += "\n      rows changed:";
    for (auto n : b.affected) s += " " + std::to_string(n);
  }
  return s.empty() ? "no rows, nothing changed" : s;
}

// Why two recordings of the same batch disagree, or empty when they agree.
std::string disagreement(const Batch& onFile, const Batch& onServer) {
  if (onFile.failure != onServer.failure) return "one engine fails";
  if (!onFile.failure.empty()) return "";
  if (onFile.affected != onServer.affected) return "other counts of rows changed";
  if (onFile.sets.size() != onServer.sets.size()) return "another number of results";
  const bool ordered = orders(onFile.tsql);
  for (std::size_t i = 0; i < onFile.sets.size(); ++i) {
    const auto& a = onFile.sets[i].rows;
    const auto& b = onServer.sets[i].rows;
    if (a.size() != b.size()) return "another number of rows";
    if (!test_support::sameRows(printedRows(a, false), printedRows(b, false)))
      return "other values";
    if (ordered && !test_support::sameRows(printedRows(a, true), printedRows(b, true)))
      return "the same rows in another order";
  }
  return "";
}

// --- The two accounts ---------------------------------------------------------------------------

using test_support::fileText;

struct Run {
  script::RunResult result;
  std::string transcript;
  std::vector<Batch> batches;
};

Run runRecorded(const std::string& location, const std::string& source) {
  Recorder recorder;
  std::ostringstream out;
  Run run;
  {
    HostScriptRunner runner(location, out);
    sql::StatementObserver* before = sql::setStatementObserver(&recorder);
    run.result = runner.runSource(source);
    sql::setStatementObserver(before);
  }
  run.transcript = out.str();
  run.batches = std::move(recorder.batches);
  return run;
}

class LibraryStatements : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!test_support::onServer()) return;
    test_support::registerClassesOnce(classes::registerAllClasses);
    // The scripts' dates and every moment the library writes are the same on both runs.
    ::setenv("QUILLON_NOW", "2026-12-05 09:30:00", 1);
    scratch_ = new test_support::ScratchDir;
    db::createDemoDatabase((scratch_->path() / "demo.db").string(), 1, true);
  }
  static void TearDownTestSuite() {
    delete scratch_;
    scratch_ = nullptr;
  }
  void SetUp() override {
    if (!test_support::onServer())
      GTEST_SKIP() << "compares the account file with the server: runs in the server half";
  }

  static test_support::ScratchDir* scratch_;
};
test_support::ScratchDir* LibraryStatements::scratch_ = nullptr;

struct Tally {
  std::map<std::string, std::uint64_t> byKind;  // batches compared, by their first statement
  std::uint64_t rows = 0;
  std::uint64_t tables = 0;
  std::uint64_t disagreements = 0;
};

void compareScript(const std::string& name, const std::string& source, const std::string& file,
                   const std::string& server, Tally& tally) {
  const Run onFile = runRecorded(file, source);
  const Run onServer = runRecorded(server, source);
  EXPECT_TRUE(onFile.result.ok) << name << " on the file: " << onFile.result.message;
  EXPECT_TRUE(onServer.result.ok) << name << " on the server: " << onServer.result.message
                                  << "\n(the file's run: " << onFile.result.message << ")";

  const auto fail = [&](std::size_t i, const std::string& why, const Batch& a, const Batch& b) {
    if (++tally.disagreements > 20) return;
    ADD_FAILURE() << name << ", batch " << i + 1 << " of " << onFile.batches.size() << ": " << why
                  << "\n  statement (quillon sql): " << a.tsql << "\n  file:   " << describe(a)
                  << "\n  server: " << describe(b);
  };
  const std::size_t n = std::min(onFile.batches.size(), onServer.batches.size());
  std::set<std::string> written;
  for (std::size_t i = 0; i < n; ++i) {
    const Batch& a = onFile.batches[i];
    const Batch& b = onServer.batches[i];
    if (sameText(a.tsql) != sameText(b.tsql) || a.depth != b.depth) {
      ++tally.disagreements;
      ADD_FAILURE() << name << ": the engines' runs part at batch " << i + 1
                    << "\n  file:   " << a.tsql << "\n  server: " << b.tsql;
      return;
    }
    ++tally.byKind[kindOf(a.tsql)];
    for (const auto& set : a.sets) tally.rows += set.rows.size();
    const std::string why = disagreement(a, b);
    if (!why.empty()) fail(i, why, a, b);
    if (a.failure.empty()) written.merge(tablesWritten(a.tsql));
  }
  if (onFile.batches.size() != onServer.batches.size()) {
    ++tally.disagreements;
    const auto& longer =
        onFile.batches.size() > onServer.batches.size() ? onFile.batches : onServer.batches;
    ADD_FAILURE() << name << ": " << onFile.batches.size() << " batches on the file, "
                  << onServer.batches.size()
                  << " on the server; the first one more: " << longer[n].tsql;
    return;
  }

  // What the write-backs left: the written tables' full contents.
  auto fileDb = sql::Database::open(file, sql::OpenMode::OpenExisting);
  auto serverDb = sql::Database::open(server, sql::OpenMode::OpenExisting);
  for (const std::string& table : written) {
    const std::string select = "select * from " + table;
    Batch a{select, 0, {}, {}, {}, {}};
    Batch b = a;
    for (auto [db, into] : {std::pair{fileDb.get(), &a}, std::pair{serverDb.get(), &b}}) {
      try {
        into->sets = db->query(select);
      } catch (const std::exception& e) {
        into->failure = test_support::failureKind(e);
        into->message = e.what();
      }
    }
    // A work table the script dropped again is gone on both.
    if (!a.failure.empty() && !b.failure.empty()) continue;
    ++tally.tables;
    const std::string why = disagreement(a, b);
    if (!why.empty()) {
      ++tally.disagreements;
      ADD_FAILURE() << name << ", after the script: " << why
                    << "\n  statement (quillon sql): " << select << "\n  file:   " << describe(a)
                    << "\n  server: " << describe(b);
    }
  }
}

TEST_F(LibraryStatements, EveryExampleSendsTheSameStatementsWithTheSameAnswersOnBothEngines) {
  const char* only = std::getenv("QUILLON_LIBRARY_SCRIPT");
  std::vector<std::filesystem::path> scripts;
  for (const auto& entry : std::filesystem::directory_iterator(QUILLON_EXAMPLES)) {
    if (entry.path().extension() != ".qhs") continue;
    if (only != nullptr && entry.path().filename().string().find(only) == std::string::npos)
      continue;
    scripts.push_back(entry.path());
  }
  std::sort(scripts.begin(), scripts.end());
  ASSERT_FALSE(scripts.empty());

  const auto demoFile = scratch_->path() / "demo.db";
  const std::string serverTemplate = std::getenv("QUILLON_TEST_SERVER");
  Tally tally;
  for (const auto& script : scripts) {
    const std::string name = script.stem().string();
    // The file is named as the server's database: names the library derives from the account's
    // name (its work tables') are then the same on both.
    const std::string server = test_support::accountLocation(scratch_->path(), name);
    sql::Location(serverTemplate).copyTo(sql::Location(server));
    const auto file = scratch_->path() / (sql::Location(server).stem() + ".db");
    std::filesystem::copy_file(demoFile, file, std::filesystem::copy_options::overwrite_existing);
    compareScript(name, fileText(script), file.string(), server, tally);
    try {
      sql::Location(server).drop();
    } catch (const std::exception&) {
      // the test server goes at the end of the run in any case
    }
  }

  std::uint64_t batches = 0;
  std::string kinds;
  for (const auto& [kind, count] : tally.byKind) {
    batches += count;
    kinds += " " + kind + ": " + std::to_string(count);
  }
  std::printf(
      "%zu scripts: %llu batches compared (%llu rows), %llu written tables compared after the "
      "scripts, %llu disagreements; batches by kind:%s\n",
      scripts.size(), static_cast<unsigned long long>(batches),
      static_cast<unsigned long long>(tally.rows), static_cast<unsigned long long>(tally.tables),
      static_cast<unsigned long long>(tally.disagreements), kinds.c_str());
  // The scripts drive the dialogs and the write-backs: a run that compares next to nothing has
  // lost its way.
  EXPECT_GT(batches, 20u * scripts.size());
  if (only == nullptr) {
    EXPECT_GE(tally.tables, 10u);
  }
}

}  // namespace
}  // namespace quillon::cli::run
