// Query results as the suite's components read them: rows of Variants with columns found by name
// (without regard to case). Column types follow the declared T-SQL types: bit columns give
// Booleans, int columns Longs, decimal and money columns Doubles, datetime columns Dates.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "automation/variant.h"
#include "sql/database.h"

namespace quillon::components::suite {

class Rows {
 public:
  Rows() = default;
  explicit Rows(const sql::ResultSet& result);

  bool empty() const { return rows_.empty(); }
  std::size_t size() const { return rows_.size(); }
  const std::vector<std::string>& columns() const { return columns_; }
  std::optional<std::size_t> column(std::string_view name) const;

  const std::vector<automation::Variant>& row(std::size_t i) const { return rows_.at(i); }
  // A value of row i by column name; 3265-like ComError when the column is absent.
  const automation::Variant& at(std::size_t i, std::string_view name) const;
  std::string text(std::size_t i, std::string_view name) const;  // Null as ""

 private:
  std::vector<std::string> columns_;
  std::vector<std::vector<automation::Variant>> rows_;
};

// The first result set of a statement (an empty Rows when it yields none).
Rows queryRows(sql::Database& db, std::string_view statement);

}  // namespace quillon::components::suite
