// The demo account: a fresh database with the schema and deterministic demo data, as
// `quillon init-db` builds it and as tests use it.
//
// Scale 1 is small enough to read (tens of documents) yet has an example of every case the
// reference dialogs distinguish; every further scale step adds twenty inventories, about a
// thousand stock rows and about a thousand order lines. The same scale always gives the same
// rows.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace quillon::sql {
class Database;
}

namespace quillon::db {

inline constexpr int kMaxDemoScale = 10000;

struct DemoSummary {
  int scale = 1;
  std::vector<std::pair<std::string, std::int64_t>> rows;  // table, rows written, in write order
  double seconds = 0.0;                                    // schema and data together
  std::int64_t totalRows() const;
};

// Writes the demo data into a database that holds the schema and nothing else, in one
// transaction (nothing is written when it fails). Throws ComError on a bad scale.
DemoSummary generateDemoData(sql::Database& db, int scale);

// Creates `path` with the schema and the demo data. An existing file is refused with a ComError
// unless `force` is set, in which case it is replaced; the file is removed again when building
// fails. A database on a server that exists and holds no tables (made for the account by a DBA,
// owned by a role that may not create databases) is built in where it is, in one transaction, so
// that a failure leaves it empty; one that holds tables is treated as an existing file.
DemoSummary createDemoDatabase(const std::string& path, int scale, bool force);

// The demo summary as printed by `quillon init-db`.
std::string formatSummary(const DemoSummary& summary, const std::string& path);

}  // namespace quillon::db
