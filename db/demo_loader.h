// Row writer of the demo generator: hands each row to the database's bulk load (prepared inserts on
// the embedded engine, COPY on a server), inside the caller's transaction, and counts the rows.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sql/database.h"

namespace quillon::db {

// One value to bind: NULL, an integer, a real or a text.
class Cell {
 public:
  enum class Kind { Null, Integer, Real, Text };

  Cell() = default;
  Cell(std::nullptr_t) {}
  Cell(int v) : kind_(Kind::Integer), integer_(v) {}
  Cell(std::int64_t v) : kind_(Kind::Integer), integer_(v) {}
  Cell(bool v) : kind_(Kind::Integer), integer_(v ? 1 : 0) {}
  Cell(double v) : kind_(Kind::Real), real_(v) {}
  Cell(const char* v)
      : kind_(v != nullptr ? Kind::Text : Kind::Null), text_(v != nullptr ? v : "") {}
  Cell(std::string_view v) : kind_(Kind::Text), text_(v) {}
  Cell(const std::string& v) : kind_(Kind::Text), text_(v) {}

  Kind kind() const { return kind_; }
  std::int64_t integer() const { return integer_; }
  double real() const { return real_; }
  const std::string& text() const { return text_; }

 private:
  Kind kind_ = Kind::Null;
  std::int64_t integer_ = 0;
  double real_ = 0.0;
  std::string text_;
};

struct Field {
  std::string_view column;
  Cell value;
};

class Loader {
 public:
  explicit Loader(sql::Database& db) : out_(db.bulkLoader()) {}
  ~Loader();
  Loader(const Loader&) = delete;
  Loader& operator=(const Loader&) = delete;

  // Inserts one row; columns not named take their defaults.
  void insert(std::string_view table, std::initializer_list<Field> fields);
  void insert(std::string_view table, const std::vector<Field>& fields);

  // Writes the rows still held back; the rows are in the database only after this.
  void finish();

  // Rows inserted so far, per table, in order of first insert.
  const std::vector<std::pair<std::string, std::int64_t>>& counts() const { return counts_; }

 private:
  void insertRange(std::string_view table, const Field* begin, const Field* end);
  void countRow(std::string_view table);

  std::unique_ptr<sql::BulkLoader> out_;
  std::vector<std::pair<std::string, std::int64_t>> counts_;
  std::vector<std::string_view> columns_;
  std::vector<sql::CellView> values_;
};

}  // namespace quillon::db
