// Reading results as short texts in the SQL tests, and scratch databases on both engines.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "sql/database.h"
#include "sql/token.h"
#include "support/scratch_dir.h"

namespace quillon::sql::testing {

// The single value of a one-row, one-column query, as text ("" for NULL).
std::string scalar(Database& db, const std::string& sql);
// All rows of the first result set, each row's values joined with "|", rows joined with ";".
std::string rows(Database& db, const std::string& sql);
// Tokens' texts joined with spaces: what a rewrite of them gives, compared as words.
std::string spelled(const Tokens& tokens);

// An empty account file named `name` in a scratch folder and, in the server half of the suite
// (QUILLON_TEST_SERVER set), a database of its own on the test server, dropped when this goes.
class ScratchEngines {
 public:
  explicit ScratchEngines(const std::string& name);
  ~ScratchEngines();
  ScratchEngines(const ScratchEngines&) = delete;
  ScratchEngines& operator=(const ScratchEngines&) = delete;

  // The file first, then the server when there is one.
  std::vector<std::unique_ptr<Database>>& all() { return engines_; }

 private:
  test_support::ScratchDir scratch_;
  std::string serverLocation_;
  std::vector<std::unique_ptr<Database>> engines_;
};

}  // namespace quillon::sql::testing
