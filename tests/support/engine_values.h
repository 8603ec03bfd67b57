// Values and failures of the two engines compared as T-SQL prints them: what the differential
// tests of the SQL layer and of the library's own statements share.
#pragma once

#include <exception>
#include <string>
#include <vector>

#include "sql/result.h"

namespace quillon::test_support {

// A value as T-SQL prints it: integers as digits, a whole real as its digits (as the server
// prints a decimal without places), other reals to twelve significant digits, texts quoted.
std::string printed(const sql::Value& v);

// The kind of a failure, by the T-SQL texts both engines give for it: "divide by zero",
// "overflow", "conversion", "refused" (by the dialect layer) or "error".
std::string failureKind(const std::exception& e);

// Two values alike. Reals within a ten-millionth of their size: the file works decimal literals
// out in doubles, whose error reaches the tenth digit when a statement passes through the int
// range on the way (an open difference); a wrong type changes a value far more.
bool alike(const sql::Value& a, const sql::Value& b);

// Rows as printed lines (values joined by " | ") beside their values; sorted by line unless the
// statement orders them, so that rows in no order compare as multisets.
struct PrintedRows {
  std::vector<std::string> lines;
  std::vector<std::vector<sql::Value>> data;
};
PrintedRows printedRows(const std::vector<std::vector<sql::Value>>& rows, bool ordered);

// The same rows, value by value alike, in the same order.
bool sameRows(const PrintedRows& a, const PrintedRows& b);

}  // namespace quillon::test_support
