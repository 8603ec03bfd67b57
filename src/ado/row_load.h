// RowLoad: a recordset's rows read in steps while the connection's statement stays open. The rows
// read so far are there for a list to show; the rest is read when asked (fetch), or all at once
// when the recordset or anything else on the connection needs them (finish: the connection's
// pending read, sql::PendingRead).
#pragma once

#include <chrono>
#include <cstddef>
#include <exception>
#include <memory>

#include "ado/loader.h"
#include "ado/record_data.h"
#include "sql/database.h"

namespace quillon::ado {

class RowLoad final : public sql::PendingRead {
 public:
  // Reads the first `firstRows` rows now (throwing what the statement meets); the rest stays
  // pending on `db` unless the rows are already all read.
  RowLoad(sql::Database& db, std::unique_ptr<sql::Cursor> cursor, std::size_t firstRows);
  // Drops the rows not read yet and the statement with them.
  ~RowLoad() override;
  RowLoad(const RowLoad&) = delete;
  RowLoad& operator=(const RowLoad&) = delete;

  // The rows read so far (all of them once done()).
  const std::shared_ptr<RecordData>& data() const { return loader_.data(); }
  // How many rows the load has read (rows added to data() later are not counted).
  std::size_t loadedRows() const { return loaded_; }
  // Every row is read (or reading them failed: failed()).
  bool done() const { return cursor_ == nullptr; }
  bool failed() const { return error_ != nullptr; }

  // Reads up to `maxRows` more rows within about `budget`, and only those that have arrived: where
  // the server's next rows are still on their way it returns, and a later call reads them. False
  // once there is nothing more to read; a failure ends the load (finish() then throws it) rather
  // than escaping here.
  bool fetch(std::size_t maxRows, std::chrono::nanoseconds budget);
  // Reads every row left; throws the error reading them met (each time it is called).
  void finish() override;

 private:
  void end();

  sql::Database* db_;
  std::unique_ptr<sql::Cursor> cursor_;
  RecordLoader loader_;
  std::size_t loaded_ = 0;
  std::exception_ptr error_;
};

}  // namespace quillon::ado
