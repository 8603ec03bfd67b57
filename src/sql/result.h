// Result shapes of the SQL engine: column metadata, the streaming cursor a statement yields, the
// handler a batch reports to, and a materialised result set for tools and tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::sql {

enum class ValueKind : std::uint8_t { Null, Integer, Real, Text, Blob };

// What is known about one column of a result. The declared type is the T-SQL type as the DDL
// wrote it, lower case ("varchar(20)", "decimal(20,6)", "datetime", "int", "bit"); it is empty for
// expressions, whose type is whatever the value's storage kind is.
struct ColumnInfo {
  std::string name;          // as the SELECT names it
  std::string declaredType;  // "varchar(20)"; empty when unknown
  std::string baseType;      // "varchar"; empty when unknown
  std::int64_t size = 0;     // 20 for varchar(20); 0 when unknown
  int precision = 0;         // 20 for decimal(20,6)
  int scale = 0;             // 6 for decimal(20,6)
  std::string table;         // source table, when the engine knows it
  std::string column;        // source column, when the engine knows it
};

// Splits a declared T-SQL type such as "decimal(20,6)" into base/size/precision/scale.
ColumnInfo describeDeclaredType(std::string_view declared);

// One value of the current row as the engine holds it; `text` points into the engine's row buffer
// and is valid until the cursor moves.
struct CellView {
  ValueKind kind = ValueKind::Null;
  std::int64_t integer = 0;
  double real = 0.0;
  std::string_view text;  // Text and Blob bytes
};

// A statement's rows, pulled one at a time. Values are read per column of the current row; the
// views returned by text()/blob() stay valid until the next call of next(). Each engine has its
// own; the columns are described the same way whichever engine runs.
class Cursor {
 public:
  virtual ~Cursor() = default;
  Cursor(const Cursor&) = delete;
  Cursor& operator=(const Cursor&) = delete;

  const std::vector<ColumnInfo>& columns() const { return columns_; }
  std::size_t columnCount() const { return columns_.size(); }

  // Advances to the next row; false once the rows are exhausted.
  virtual bool next() = 0;
  // Whether next() would wait for rows still on their way (the server's next batch of a query
  // kept open): a reader that must not wait reads on later. An engine that steps through its
  // rows itself never waits for them.
  virtual bool awaitingRows() { return false; }

  virtual ValueKind kind(std::size_t column) const = 0;
  bool isNull(std::size_t column) const { return kind(column) == ValueKind::Null; }
  virtual std::int64_t int64(std::size_t column) const = 0;
  virtual double real(std::size_t column) const = 0;
  virtual std::string_view text(std::size_t column) const = 0;
  virtual std::span<const std::byte> blob(std::size_t column) const = 0;

  // Reads every column of the current row in one pass (out.size() == columnCount()). Bulk
  // loaders use this: one call per row instead of one per value.
  virtual void readRow(std::span<CellView> out) const = 0;

 protected:
  Cursor() = default;
  // The errors for reading without a row or past the last column.
  void checkColumn(std::size_t column, bool hasRow) const;
  [[noreturn]] void noCurrentRow(std::string_view statementStart) const;
  void checkRowWidth(std::span<CellView> out) const;

  std::vector<ColumnInfo> columns_;
};

// Receives what a batch produces, statement by statement.
class ResultHandler {
 public:
  virtual ~ResultHandler() = default;
  // A statement yielded rows; the cursor is only valid during the call. Rows left unread are
  // discarded when the call returns.
  virtual void onResultSet(Cursor& cursor) = 0;
  // A statement without a result set ran; rows is the number of rows it changed.
  virtual void onRowsAffected(std::int64_t /*rows*/) {}
  // Whether the handler reads each row once, as it comes, keeps none, and runs nothing on the
  // database while it reads: the server engine then hands a query's rows over a batch at a time
  // (through a cursor of the statement), not the whole result at once, so that memory does not
  // grow with the result. The embedded engine steps through every result a row at a time anyway.
  virtual bool streamsRows() const { return false; }
};

// One materialised value.
struct Value {
  ValueKind kind = ValueKind::Null;
  std::int64_t integer = 0;
  double real = 0.0;
  std::string text;  // Text and Blob bytes

  bool isNull() const { return kind == ValueKind::Null; }
};

struct ResultSet {
  std::vector<ColumnInfo> columns;
  std::vector<std::vector<Value>> rows;
};

// Collects every result set of a batch and the total of rows affected.
class CollectingHandler : public ResultHandler {
 public:
  void onResultSet(Cursor& cursor) override;
  void onRowsAffected(std::int64_t rows) override { rowsAffected += rows; }

  std::vector<ResultSet> results;
  std::int64_t rowsAffected = 0;
};

}  // namespace quillon::sql
