// Reads a statement's rows from the engine into a RecordData: one pass, values stored straight
// into their typed columns, the field types taken from the columns' declared T-SQL types.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <vector>

#include "ado/record_data.h"
#include "sql/result.h"

namespace quillon::ado {

std::shared_ptr<RecordData> loadRecordData(sql::Cursor& cursor);

class ColumnLoader;

// The same load in steps: the rows read so far are in data() at once, each as it would be after
// the whole load; the types of expression columns are settled when the last row is in.
class RecordLoader {
 public:
  explicit RecordLoader(const sql::Cursor& cursor);
  ~RecordLoader();
  RecordLoader(const RecordLoader&) = delete;
  RecordLoader& operator=(const RecordLoader&) = delete;

  const std::shared_ptr<RecordData>& data() const { return data_; }
  // Reads at most `maxRows` more rows, stopping early once `deadline` has passed (checked every
  // few rows) and, unless `waitForRows`, where the next rows have not arrived yet
  // (Cursor::awaitingRows). True when the cursor is exhausted and the load settled. Throws what
  // the cursor throws.
  bool read(
      sql::Cursor& cursor, std::size_t maxRows,
      std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max(),
      bool waitForRows = true);
  bool done() const { return done_; }

 private:
  std::shared_ptr<RecordData> data_;
  std::vector<ColumnLoader> loaders_;
  std::vector<sql::CellView> row_;
  bool done_ = false;
};

}  // namespace quillon::ado
