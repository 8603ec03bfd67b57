// The scale-1 demo account, built once per test binary in memory, and small query helpers.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "sql/database.h"

namespace quillon::db::testing {

// The shared demo database; tests that change rows must put them back or use their own copy.
sql::Database& demoDb();

// A fresh in-memory database with the schema and the scale-1 demo data.
std::unique_ptr<sql::Database> freshDemoDb();

// Rows of the last result set the batch yields.
std::vector<std::vector<sql::Value>> rowsOf(sql::Database& db, std::string_view batch);
// First column of every row, as integers / as texts.
std::set<std::int64_t> idsOf(sql::Database& db, std::string_view batch);
std::vector<std::string> textsOf(sql::Database& db, std::string_view batch);
// The single value of a one-row, one-column result.
double numberOf(sql::Database& db, std::string_view batch);
std::string textOf(sql::Database& db, std::string_view batch);

double asNumber(const sql::Value& v);
std::string asText(const sql::Value& v);

// "expr AS name, ..." from the account-default column set of a list.
std::string columnSetFields(sql::Database& db, std::string_view table);

}  // namespace quillon::db::testing
