#include "ado/session_pool.h"

#include <chrono>
#include <deque>
#include <mutex>
#include <utility>

namespace quillon::ado::session_pool {

namespace {

using Clock = std::chrono::steady_clock;

// An idle session lives a minute; a handful of files and sessions are enough for a desk.
constexpr auto kIdleLife = std::chrono::seconds(60);
constexpr std::size_t kMostKept = 8;

// Both ways of opening for writing share the sessions of an existing file.
bool writable(sql::OpenMode mode) {
  return mode != sql::OpenMode::ReadOnly;
}

struct Kept {
  std::unique_ptr<sql::Database> db;
  std::string location;
  bool writable;
  Clock::time_point since;
};

struct Pool {
  std::mutex mutex;
  std::deque<Kept> kept;  // oldest first
};

Pool& pool() {
  static Pool* const instance = new Pool;  // never destroyed: sessions may end during exit
  return *instance;
}

// Takes the expired sessions out, to be closed outside the lock.
std::deque<Kept> expired(Pool& p, Clock::time_point now) {
  std::deque<Kept> out;
  while (!p.kept.empty() && (now - p.kept.front().since > kIdleLife || p.kept.size() > kMostKept)) {
    out.push_back(std::move(p.kept.front()));
    p.kept.pop_front();
  }
  return out;
}

}  // namespace

std::unique_ptr<sql::Database> take(const std::string& location, sql::OpenMode mode) {
  Pool& p = pool();
  std::unique_ptr<sql::Database> found;
  std::deque<Kept> closing;
  {
    const std::lock_guard lock(p.mutex);
    closing = expired(p, Clock::now());
    // The most recently kept first: its pages are the warmest.
    for (auto it = p.kept.rbegin(); it != p.kept.rend(); ++it) {
      if (it->location == location && it->writable == writable(mode)) {
        found = std::move(it->db);
        p.kept.erase(std::next(it).base());
        break;
      }
    }
  }
  // The file may have been replaced since the session was kept.
  if (found && !found->resetForReuse(location)) found.reset();
  return found;
}

void give(std::unique_ptr<sql::Database> db, const std::string& location,
          sql::OpenMode mode) noexcept {
  if (!db) return;
  try {
    if (!db->resetForReuse(location)) return;
    Pool& p = pool();
    std::deque<Kept> closing;
    {
      const std::lock_guard lock(p.mutex);
      p.kept.push_back(Kept{std::move(db), location, writable(mode), Clock::now()});
      closing = expired(p, Clock::now());
    }
  } catch (...) {
    // The session is closed instead (db, or the entry being built, goes with the frame).
  }
}

std::size_t kept() {
  Pool& p = pool();
  const std::lock_guard lock(p.mutex);
  return p.kept.size();
}

void clear() {
  Pool& p = pool();
  std::deque<Kept> closing;
  {
    const std::lock_guard lock(p.mutex);
    closing.swap(p.kept);
  }
}

}  // namespace quillon::ado::session_pool
