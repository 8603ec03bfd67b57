#include "db/demo_data.h"

#include <chrono>
#include <cstdio>

#include "automation/com_error.h"
#include "db/demo_parts.h"
#include "db/schema.h"
#include "sql/database.h"
#include "sql/locations.h"

namespace quillon::db {

namespace {

using Clock = std::chrono::steady_clock;

void checkScale(int scale) {
  if (scale < 1 || scale > kMaxDemoScale) {
    throw automation::ComError(automation::err::kInvalidProcedureCall,
                               "The demo scale must be a whole number from 1 to " +
                                   std::to_string(kMaxDemoScale) + ", not " +
                                   std::to_string(scale) + ".");
  }
}

void writeAll(Loader& out, const DemoCatalog& cat) {
  // Every part draws from its own sequence, so that a change in one part leaves the rows of the
  // others as they were.
  using Part = void (*)(DemoContext&);
  constexpr Part kParts[] = {writeSettings, writeArchives, writeProduction, writeOutsourcing,
                             writeTrade,    writeStock,    writeClassGrades};
  std::uint64_t seed = 0x0A11'CE00ULL;
  for (Part part : kParts) {
    DemoContext ctx{out, cat, DemoRandom(++seed)};
    part(ctx);
  }
}

// The rows of every part, through the loader, inside the caller's transaction.
std::vector<std::pair<std::string, std::int64_t>> writeRows(sql::Database& db,
                                                            const DemoCatalog& cat) {
  Loader out(db);
  writeAll(out, cat);
  out.finish();
  return out.counts();
}

// A server database a DBA made for the account (owned by the application's role, which need not
// have the right to create databases): built where it is, schema and rows in one transaction, so
// that a failure leaves it as empty as it was.
DemoSummary buildInPlace(const std::string& path, int scale) {
  const auto start = Clock::now();
  const DemoCatalog cat = buildCatalog(scale);
  auto db = sql::Database::open(path, sql::OpenMode::OpenExisting);
  db->relaxDurability();
  DemoSummary summary;
  summary.scale = scale;
  db->begin();
  try {
    applySchemaStatements(*db);
    summary.rows = writeRows(*db, cat);
    db->commit();
  } catch (...) {
    if (db->inTransaction()) db->rollback();
    throw;
  }
  db->updateStatistics();
  summary.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return summary;
}

}  // namespace

std::int64_t DemoSummary::totalRows() const {
  std::int64_t total = 0;
  for (const auto& [table, n] : rows) total += n;
  return total;
}

DemoSummary generateDemoData(sql::Database& db, int scale) {
  checkScale(scale);
  const auto start = Clock::now();
  const DemoCatalog cat = buildCatalog(scale);
  DemoSummary summary;
  summary.scale = scale;
  db.begin();
  try {
    summary.rows = writeRows(db, cat);
  } catch (...) {
    if (db.inTransaction()) db.rollback();
    throw;
  }
  db.commit();
  db.updateStatistics();
  summary.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return summary;
}

DemoSummary createDemoDatabase(const std::string& path, int scale, bool force) {
  checkScale(scale);
  const sql::Location target(path);
  // The database itself says what it holds (a directory is refused): on a server, a role that
  // may not create databases may not be able to work on the server's own database "postgres"
  // either. An empty one is the one made for the account: it is built in, as it is.
  const sql::DatabaseContents contents = target.contents();
  if (contents == sql::DatabaseContents::Empty) return buildInPlace(path, scale);
  if (!force && contents == sql::DatabaseContents::HoldsTables) {
    throw automation::ComError(automation::err::kInvalidProcedureCall,
                               target.existsText() + "; use --force to replace it.");
  }

  // Build beside the target and move it into place only when complete, so that a failure never
  // leaves a half-built account nor destroys the database being replaced.
  const sql::Location building = target.sibling(".building");
  const auto discard = [&] {
    try {
      building.drop();
    } catch (const automation::ComError&) {
      // what cannot be removed is replaced by the next build
    }
  };
  discard();
  const auto start = Clock::now();
  DemoSummary summary;
  try {
    {
      auto db = building.open(sql::OpenMode::CreateIfMissing);
      db->relaxDurability();
      applySchema(*db);
      summary = generateDemoData(*db, scale);
    }
    building.renameTo(target);
  } catch (...) {
    discard();
    throw;
  }
  summary.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return summary;
}

std::string formatSummary(const DemoSummary& summary, const std::string& path) {
  std::size_t width = 5;
  for (const auto& [table, n] : summary.rows) width = std::max(width, table.size());
  std::string text = "Demo account " + sql::maskPassword(path) + " (scale " +
                     std::to_string(summary.scale) + "):\n";
  char line[128];
  for (const auto& [table, n] : summary.rows) {
    std::snprintf(line, sizeof line, "  %-*s %10lld\n", static_cast<int>(width), table.c_str(),
                  static_cast<long long>(n));
    text += line;
  }
  std::snprintf(line, sizeof line, "  %-*s %10lld\n", static_cast<int>(width), "total",
                static_cast<long long>(summary.totalRows()));
  text += line;
  std::snprintf(line, sizeof line, "Built in %.2f s.\n", summary.seconds);
  text += line;
  return text;
}

}  // namespace quillon::db
