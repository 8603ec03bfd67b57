#include "sql_test_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "sql/locations.h"

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

std::string spelled(const Tokens& tokens) {
  std::string s;
  for (const Token& x : tokens) s += (s.empty() ? "" : " ") + x.text;
  return s;
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

ScratchEngines::ScratchEngines(const std::string& name) {
  engines_.push_back(Database::open((scratch_.path() / (name + ".db")).string()));
  if (const char* server = std::getenv("QUILLON_TEST_SERVER"); server != nullptr && *server) {
    serverLocation_ = Location(server).withDatabaseName(name + std::to_string(::getpid())).text();
    engines_.push_back(Database::open(serverLocation_));
  }
}

ScratchEngines::~ScratchEngines() {
  engines_.clear();
  if (serverLocation_.empty()) return;
  try {
    Location(serverLocation_).drop();
  } catch (const std::exception&) {
    // the test server goes at the end of the run in any case
  }
}

}  // namespace quillon::sql::testing
