#include "db/demo_data.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "automation/com_error.h"
#include "db/demo_parts.h"
#include "db/schema.h"
#include "sql/database.h"

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

void removeQuietly(const std::filesystem::path& p) {
  std::error_code ec;
  std::filesystem::remove(p, ec);
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
    Loader out(db);
    writeAll(out, cat);
    out.finish();
    summary.rows = out.counts();
  } catch (...) {
    if (db.inTransaction()) db.rollback();
    throw;
  }
  db.commit();
  summary.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return summary;
}

DemoSummary createDemoDatabase(const std::string& path, int scale, bool force) {
  checkScale(scale);
  namespace fs = std::filesystem;
  const fs::path target(path);
  std::error_code ec;
  if (fs::exists(target, ec) && !force) {
    throw automation::ComError(automation::err::kInvalidProcedureCall,
                               "The file " + path + " already exists; use --force to replace it.");
  }
  if (fs::is_directory(target, ec)) {
    throw automation::ComError(automation::err::kInvalidProcedureCall,
                               path + " is a directory, not a database file.");
  }

  // Build beside the target and move it into place only when complete, so that a failure never
  // leaves a half-built account nor destroys the file being replaced.
  const fs::path building = target.string() + ".building";
  removeQuietly(building);
  const auto start = Clock::now();
  DemoSummary summary;
  try {
    {
      auto db = sql::Database::open(building.string(), sql::OpenMode::CreateIfMissing);
      db->relaxDurability();
      applySchema(*db);
      summary = generateDemoData(*db, scale);
    }
    fs::rename(building, target);
  } catch (const fs::filesystem_error& e) {
    removeQuietly(building);
    throw automation::ComError(automation::err::kInvalidProcedureCall,
                               "Cannot write " + path + ": " + e.code().message());
  } catch (...) {
    removeQuietly(building);
    throw;
  }
  summary.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return summary;
}

std::string formatSummary(const DemoSummary& summary, const std::string& path) {
  std::size_t width = 5;
  for (const auto& [table, n] : summary.rows) width = std::max(width, table.size());
  std::string text = "Demo account " + path + " (scale " + std::to_string(summary.scale) + "):\n";
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
