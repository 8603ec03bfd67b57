#include "sql_test_support.h"

#include <cstdio>

namespace quillon::sql::testing {

namespace {

std::string valueText(const Value& v) {
  switch (v.kind) {
    case ValueKind::Null:
      return "NULL";
    case ValueKind::Integer:
      return std::to_string(v.integer);
    case ValueKind::Real: {
      char buf[40];
      std::snprintf(buf, sizeof buf, "%g", v.real);
      return buf;
    }
    default:
      return v.text;
  }
}

}  // namespace

std::string scalar(Database& db, const std::string& sql) {
  const auto results = db.query(sql);
  if (results.empty() || results[0].rows.empty()) return "<no row>";
  return valueText(results[0].rows[0][0]);
}

std::string rows(Database& db, const std::string& sql) {
  const auto results = db.query(sql);
  if (results.empty()) return "<no result>";
  std::string out;
  for (const auto& row : results.back().rows) {
    if (!out.empty()) out += ';';
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (i > 0) out += '|';
      out += valueText(row[i]);
    }
  }
  return out;
}

}  // namespace quillon::sql::testing
