#include "support/engine_values.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "sql/sql_error.h"

namespace quillon::test_support {

std::string printed(const sql::Value& v) {
  switch (v.kind) {
    case sql::ValueKind::Null:
      return "NULL";
    case sql::ValueKind::Integer:
      return std::to_string(v.integer);
    case sql::ValueKind::Real: {
      if (std::fabs(v.real) < 1e15 && v.real == std::trunc(v.real))
        return std::to_string(static_cast<std::int64_t>(v.real));
      char buf[40];
      std::snprintf(buf, sizeof buf, "%.12g", v.real == 0.0 ? 0.0 : v.real);
      return buf;
    }
    default:
      return "'" + v.text + "'";
  }
}

std::string failureKind(const std::exception& e) {
  const auto* sqlError = dynamic_cast<const sql::SqlError*>(&e);
  if (sqlError != nullptr && sqlError->kind() == sql::SqlError::Kind::NotTranslated)
    return "refused";
  const std::string what = e.what();
  if (what.find("Divide by zero error encountered.") != std::string::npos) return "divide by zero";
  if (what.find("Arithmetic overflow error") != std::string::npos) return "overflow";
  if (what.find("Conversion failed") != std::string::npos) return "conversion";
  return "error";
}

bool alike(const sql::Value& a, const sql::Value& b) {
  using sql::ValueKind;
  const bool numbers = (a.kind == ValueKind::Real || a.kind == ValueKind::Integer) &&
                       (b.kind == ValueKind::Real || b.kind == ValueKind::Integer);
  if (!numbers || (a.kind == ValueKind::Integer && b.kind == ValueKind::Integer))
    return printed(a) == printed(b);
  const double x = a.kind == ValueKind::Real ? a.real : static_cast<double>(a.integer);
  const double y = b.kind == ValueKind::Real ? b.real : static_cast<double>(b.integer);
  return std::fabs(x - y) <= 1e-7 * std::max({1.0, std::fabs(x), std::fabs(y)});
}

PrintedRows printedRows(const std::vector<std::vector<sql::Value>>& rows, bool ordered) {
  std::vector<std::pair<std::string, const std::vector<sql::Value>*>> lines;
  lines.reserve(rows.size());
  for (const auto& row : rows) {
    std::string line;
    for (const auto& v : row) line += (line.empty() ? "" : " | ") + printed(v);
    lines.emplace_back(std::move(line), &row);
  }
  if (!ordered) {
    std::stable_sort(lines.begin(), lines.end(),
                     [](const auto& x, const auto& y) { return x.first < y.first; });
  }
  PrintedRows out;
  for (auto& [line, row] : lines) {
    out.lines.push_back(std::move(line));
    out.data.push_back(*row);
  }
  return out;
}

bool sameRows(const PrintedRows& a, const PrintedRows& b) {
  if (a.lines == b.lines) return true;
  if (a.data.size() != b.data.size()) return false;
  for (std::size_t r = 0; r < a.data.size(); ++r) {
    if (a.data[r].size() != b.data[r].size()) return false;
    for (std::size_t c = 0; c < a.data[r].size(); ++c) {
      if (!alike(a.data[r][c], b.data[r][c])) return false;
    }
  }
  return true;
}

}  // namespace quillon::test_support
