// Another desk holding an account file: an engine connection of its own that takes the write lock
// (others may still read) or an exclusive one (nobody may read), and lets go when told to, after
// a delay on a thread of its own, or when it goes.
#pragma once

#include <sqlite3.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

namespace quillon::test_support {

class LockHolder {
 public:
  enum class Kind { Write, Exclusive };

  LockHolder(const std::string& path, Kind kind) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
        sqlite3_exec(db_, kind == Kind::Write ? "BEGIN IMMEDIATE" : "BEGIN EXCLUSIVE", nullptr,
                     nullptr, nullptr) != SQLITE_OK) {
      const std::string text = sqlite3_errmsg(db_);
      sqlite3_close(db_);
      throw std::runtime_error("cannot lock " + path + ": " + text);
    }
  }
  ~LockHolder() {
    if (releaser_.joinable()) releaser_.join();
    release();
    sqlite3_close(db_);
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
    if (sqlite3_get_autocommit(db_) == 0) sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
  }

  sqlite3* db_ = nullptr;
  std::thread releaser_;
};

}  // namespace quillon::test_support
