// Bulk row loader of the demo generator: binds each row to a prepared INSERT (one per table and
// column list, prepared once) on the raw engine connection, inside the caller's transaction.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

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
  explicit Loader(sqlite3* db) : db_(db) {}
  ~Loader();
  Loader(const Loader&) = delete;
  Loader& operator=(const Loader&) = delete;

  // Inserts one row; columns not named take their defaults.
  void insert(std::string_view table, std::initializer_list<Field> fields);
  void insert(std::string_view table, const std::vector<Field>& fields);

  // Rows inserted so far, per table, in order of first insert.
  const std::vector<std::pair<std::string, std::int64_t>>& counts() const { return counts_; }

 private:
  sqlite3_stmt* statementFor(std::string_view table, const Field* begin, const Field* end);
  void insertRange(std::string_view table, const Field* begin, const Field* end);
  void countRow(std::string_view table);

  sqlite3* db_;
  std::map<std::string, sqlite3_stmt*, std::less<>> statements_;
  std::vector<std::pair<std::string, std::int64_t>> counts_;
  std::string key_;
};

}  // namespace quillon::db
