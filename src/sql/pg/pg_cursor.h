// The rows of one statement on the server, read from its complete result, or batch after batch.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sql/program.h"
#include "sql/result.h"

struct pg_result;

namespace quillon::sql {

class PgDatabase;

class PgCursor final : public Cursor {
 public:
  // The column names are those the statement wrote (op.columnNames), else those the columns'
  // definitions wrote, else the server's. With `more`, the rows come in batches: `result` is the
  // first, `more` gives each next one (nullptr after the last), and the cursor owns them all.
  PgCursor(PgDatabase& db, pg_result* result, const Op& op, std::function<pg_result*()> more = {});
  ~PgCursor() override;

  bool next() override;
  // Every row of the batch at hand is read: next() takes the next batch (if any).
  bool batchRead() const { return row_ + 1 >= rows_; }
  ValueKind kind(std::size_t column) const override;
  std::int64_t int64(std::size_t column) const override;
  double real(std::size_t column) const override;
  std::string_view text(std::size_t column) const override;
  std::span<const std::byte> blob(std::size_t column) const override;
  void readRow(std::span<CellView> out) const override;

 private:
  // How a column's values read, from the server's type of the column.
  enum class Read : std::uint8_t { Integer, Boolean, Real, Numeric, Text, Timestamp, Bytes };

  CellView cell(std::size_t column) const;

  pg_result* result_;
  std::function<pg_result*()> more_;  // the next batch; empty: the result is complete
  bool owned_;
  std::string statementStart_;
  std::vector<Read> reads_;
  int rows_ = 0;
  int row_ = -1;
  // Decoded bytea values of the current row, kept until the cursor moves.
  mutable std::vector<std::unique_ptr<unsigned char, void (*)(void*)>> bytes_;
};

}  // namespace quillon::sql
