#include "ado/row_load.h"

#include <limits>
#include <utility>

namespace quillon::ado {

RowLoad::RowLoad(sql::Database& db, std::unique_ptr<sql::Cursor> cursor, std::size_t firstRows)
    : db_(&db), cursor_(std::move(cursor)), loader_(*cursor_) {
  loader_.read(*cursor_, firstRows);
  loaded_ = data()->rowCount();
  if (loader_.done()) {
    end();
  } else {
    db_->setPendingRead(this);
  }
}

RowLoad::~RowLoad() {
  if (db_ != nullptr) db_->clearPendingRead(this);
  cursor_.reset();
}

void RowLoad::end() {
  if (db_ != nullptr) db_->clearPendingRead(this);
  db_ = nullptr;
  cursor_.reset();
}

bool RowLoad::fetch(std::size_t maxRows, std::chrono::nanoseconds budget) {
  if (done()) return false;
  const auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::duration_cast<std::chrono::steady_clock::duration>(budget);
  try {
    loader_.read(*cursor_, maxRows, deadline, /*waitForRows=*/false);
  } catch (...) {
    error_ = std::current_exception();
    end();
    return false;
  }
  loaded_ = data()->rowCount();
  if (loader_.done()) end();
  return !done();
}

void RowLoad::finish() {
  if (!done()) {
    try {
      loader_.read(*cursor_, std::numeric_limits<std::size_t>::max());
    } catch (...) {
      error_ = std::current_exception();
    }
    loaded_ = data()->rowCount();
    end();
  }
  if (error_) std::rethrow_exception(error_);
}

}  // namespace quillon::ado
