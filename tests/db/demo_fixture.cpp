#include "demo_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>

#include "db/demo_data.h"
#include "db/schema.h"

namespace quillon::db::testing {

std::unique_ptr<sql::Database> freshDemoDb() {
  auto db = sql::Database::open(":memory:");
  applySchema(*db);
  generateDemoData(*db, 1);
  return db;
}

sql::Database& demoDb() {
  static std::unique_ptr<sql::Database> db = freshDemoDb();
  return *db;
}

std::vector<std::vector<sql::Value>> rowsOf(sql::Database& db, std::string_view batch) {
  auto results = db.query(batch);
  if (results.empty()) throw std::runtime_error("no result set from: " + std::string(batch));
  return std::move(results.back().rows);
}

std::set<std::int64_t> idsOf(sql::Database& db, std::string_view batch) {
  std::set<std::int64_t> ids;
  for (const auto& row : rowsOf(db, batch))
    ids.insert(static_cast<std::int64_t>(asNumber(row.at(0))));
  return ids;
}

std::vector<std::string> textsOf(sql::Database& db, std::string_view batch) {
  std::vector<std::string> out;
  for (const auto& row : rowsOf(db, batch)) out.push_back(asText(row.at(0)));
  return out;
}

double numberOf(sql::Database& db, std::string_view batch) {
  const auto rows = rowsOf(db, batch);
  if (rows.size() != 1) throw std::runtime_error("expected one row from: " + std::string(batch));
  return asNumber(rows[0].at(0));
}

std::string textOf(sql::Database& db, std::string_view batch) {
  const auto rows = rowsOf(db, batch);
  if (rows.size() != 1) throw std::runtime_error("expected one row from: " + std::string(batch));
  return asText(rows[0].at(0));
}

double asNumber(const sql::Value& v) {
  switch (v.kind) {
    case sql::ValueKind::Integer:
      return static_cast<double>(v.integer);
    case sql::ValueKind::Real:
      return v.real;
    case sql::ValueKind::Text:
      return v.text.empty() ? 0.0 : std::strtod(v.text.c_str(), nullptr);
    default:
      return 0.0;
  }
}

std::string asText(const sql::Value& v) {
  switch (v.kind) {
    case sql::ValueKind::Integer:
      return std::to_string(v.integer);
    case sql::ValueKind::Real:
      return std::to_string(v.real);
    case sql::ValueKind::Null:
      return {};
    default:
      return v.text;
  }
}

std::string columnSetFields(sql::Database& db, std::string_view table) {
  std::string fields;
  for (const auto& row : rowsOf(
           db,
           "select cFieldExpr, cFieldName from ColumnSet where cUser_Id = '' and cTableName = '" +
               std::string(table) + "' order by iOrder")) {
    if (!fields.empty()) fields += ",";
    fields += asText(row[0]) + " AS " + asText(row[1]);
  }
  return fields;
}

}  // namespace quillon::db::testing
