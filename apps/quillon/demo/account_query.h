// Reading an account database file for the demo window's choosers and its integrity check.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quillon::cli::demo {

// The rows of `query` on the account database at `databasePath`, each with at least `columns`
// texts (shorter rows are left out). A missing file or a file that is no account database throws
// std::runtime_error with the suite's message naming the file.
std::vector<std::vector<std::string>> accountRows(const std::string& databasePath,
                                                  const std::string& query, std::size_t columns);

// The integrity check of the account at `databasePath` as a person reads it (what the engine and
// the account checks found), or why the file could not be checked.
std::string accountCheckText(const std::string& databasePath);

}  // namespace quillon::cli::demo
