// Another desk holding an account: a connection of its own that takes the write lock (others may
// still read) or, on the embedded engine, an exclusive one (nobody may read), and lets go when
// told to, after a delay on a thread of its own, or when it goes.
#pragma once

#include <sqlite3.h>

#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include "sql/database.h"
#include "sql/sqlite/sqlite_database.h"

namespace quillon::test_support {

class LockHolder {
 public:
  enum class Kind { Write, Exclusive };

  LockHolder(const std::string& path, Kind kind)
      : db_(sql::Database::open(path, sql::OpenMode::OpenExisting)) {
    if (kind == Kind::Write) {
      db_->begin();
      return;
    }
    sqlite3* file = sql::sqliteHandle(*db_);
    if (file == nullptr) throw std::runtime_error("only an account file can be locked for reads");
    if (sqlite3_exec(file, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) != SQLITE_OK)
      throw std::runtime_error("cannot lock " + path + ": " + sqlite3_errmsg(file));
  }
  ~LockHolder() {
    if (releaser_.joinable()) releaser_.join();
    release();
  }
  LockHolder(const LockHolder&) = delete;
  LockHolder& operator=(const LockHolder&) = delete;

  // Commits `delay` from now while the caller goes on (and waits for the lock).
  void releaseAfter(std::chrono::milliseconds delay) {
    releaser_ = std::thread([this, delay] {
      std::this_thread::sleep_for(delay);
      release();
    });
  }

 private:
  void release() {
    if (sqlite3* file = sql::sqliteHandle(*db_)) {
      if (sqlite3_get_autocommit(file) == 0)
        sqlite3_exec(file, "COMMIT", nullptr, nullptr, nullptr);
    } else if (db_->inTransaction()) {
      db_->commit();
    }
  }

  std::unique_ptr<sql::Database> db_;
  std::thread releaser_;
};

}  // namespace quillon::test_support
