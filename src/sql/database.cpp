#include "sql/database.h"

#include <atomic>
#include <string>
#include <utility>

#include "sql/storage.h"

namespace quillon::sql {

namespace {

std::atomic<StatementObserver*> g_observer{nullptr};

Value valueOf(const CellView& cell) {
  Value v;
  v.kind = cell.kind;
  v.integer = cell.integer;
  v.real = cell.real;
  if (cell.kind == ValueKind::Text || cell.kind == ValueKind::Blob) v.text = std::string(cell.text);
  return v;
}

// Hands the reader the engine's cursor row by row and keeps a copy of every row it moves to;
// whatever the reader leaves unread is read after it is done, so the copy holds every row.
class RecordingCursor : public Cursor {
 public:
  explicit RecordingCursor(Cursor& inner) : inner_(inner), cells_(inner.columnCount()) {
    columns_ = inner.columns();
    rows_.columns = inner.columns();
  }

  bool next() override {
    if (done_) return false;
    if (!inner_.next()) {
      done_ = true;
      return false;
    }
    inner_.readRow(cells_);
    std::vector<Value> row;
    row.reserve(cells_.size());
    for (const CellView& cell : cells_) row.push_back(valueOf(cell));
    rows_.rows.push_back(std::move(row));
    return true;
  }
  ValueKind kind(std::size_t column) const override { return inner_.kind(column); }
  std::int64_t int64(std::size_t column) const override { return inner_.int64(column); }
  double real(std::size_t column) const override { return inner_.real(column); }
  std::string_view text(std::size_t column) const override { return inner_.text(column); }
  std::span<const std::byte> blob(std::size_t column) const override { return inner_.blob(column); }
  void readRow(std::span<CellView> out) const override { inner_.readRow(out); }

  ResultSet rest() {
    while (next()) {
    }
    return std::move(rows_);
  }

 private:
  Cursor& inner_;
  std::vector<CellView> cells_;
  ResultSet rows_;
  bool done_ = false;
};

class RecordingHandler : public ResultHandler {
 public:
  RecordingHandler(const Database& db, StatementObserver& observer, ResultHandler& inner)
      : db_(db), observer_(observer), inner_(inner) {}

  void onResultSet(Cursor& cursor) override {
    RecordingCursor recording(cursor);
    inner_.onResultSet(recording);
    observer_.resultSet(db_, recording.rest());
  }
  void onRowsAffected(std::int64_t rows) override {
    observer_.rowsAffected(db_, rows);
    inner_.onRowsAffected(rows);
  }
  bool streamsRows() const override { return inner_.streamsRows(); }

 private:
  const Database& db_;
  StatementObserver& observer_;
  ResultHandler& inner_;
};

}  // namespace

StatementObserver* setStatementObserver(StatementObserver* observer) {
  return g_observer.exchange(observer);
}

std::unique_ptr<Database> Database::open(const std::string& location, OpenMode mode,
                                         int busyTimeoutMs) {
  return storageOf(location).open(location, mode, busyTimeoutMs);
}

Database::Database(std::string path, Engine engine)
    : path_(std::move(path)), translator_(512, engine) {}

Database::~Database() = default;

void Database::setPendingRead(PendingRead* read) {
  if (pending_ != read) finishPendingRead();
  pending_ = read;
}

void Database::finishPendingRead() {
  PendingRead* read = std::exchange(pending_, nullptr);
  if (read != nullptr) read->finish();
}

void Database::finishPendingReadQuietly() noexcept {
  try {
    finishPendingRead();
  } catch (const std::exception&) {
    // The read keeps the error for its reader; the connection goes either way.
  }
}

std::unique_ptr<Cursor> Database::openRows(std::string_view tsqlBatch, std::size_t firstRows) {
  finishPendingRead();
  if (g_observer.load(std::memory_order_acquire) != nullptr) return nullptr;
  const auto program = translator_.translate(tsqlBatch);
  if (program->size() != 1 || program->front().kind != Op::Kind::Exec) return nullptr;
  return openQuery(program->front(), firstRows);
}

void Database::execute(std::string_view tsqlBatch, ResultHandler& handler) {
  finishPendingRead();
  StatementObserver* observer = g_observer.load(std::memory_order_acquire);
  if (observer == nullptr) {
    const auto program = translator_.translate(tsqlBatch);
    run(*program, handler);
    return;
  }
  observer->batchStarted(*this, tsqlBatch);
  try {
    const auto program = translator_.translate(tsqlBatch);
    RecordingHandler recording(*this, *observer, handler);
    run(*program, recording);
  } catch (const std::exception& e) {
    observer->batchEnded(*this, &e);
    throw;
  }
  observer->batchEnded(*this, nullptr);
}

std::int64_t Database::execute(std::string_view tsqlBatch) {
  CollectingHandler handler;
  execute(tsqlBatch, handler);
  return handler.rowsAffected;
}

std::vector<ResultSet> Database::query(std::string_view tsqlBatch) {
  CollectingHandler handler;
  execute(tsqlBatch, handler);
  return std::move(handler.results);
}

}  // namespace quillon::sql
