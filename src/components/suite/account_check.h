// The integrity check of an account database: the engine's check of the file, then the account's
// own consistency: bin-position balances against their records, batch records against their
// receipt lines, and lines whose voucher or order head is gone. It only reads.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quillon::sql {
class Database;
}

namespace quillon::components::suite {

struct AccountCheckFinding {
  std::string check;                  // what was checked
  std::size_t count = 0;              // how many rows are wrong
  std::vector<std::string> examples;  // the first of them, one "column=value, ..." each
};

struct AccountCheckReport {
  std::vector<std::string> engine;  // the engine's complaints about the file; empty when sound
  std::vector<AccountCheckFinding> findings;
  std::size_t checks = 0;  // the account checks that ran

  bool clean() const { return engine.empty() && findings.empty(); }
  // What was found, as a person reads it: one line per check that failed, or that all is well.
  std::string text() const;
};

// Runs every check; the account checks run only on a file the engine found sound.
AccountCheckReport checkAccountDatabase(sql::Database& db);

}  // namespace quillon::components::suite
