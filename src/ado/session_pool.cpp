#include "ado/session_pool.h"

#include <unistd.h>

#include <chrono>
#include <deque>
#include <mutex>
#include <utility>
#include <vector>

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
  pid_t owner = ::getpid();  // the process whose sessions these are
  std::deque<Kept> kept;     // oldest first
  // Sessions a parent process kept before it forked this one: never used nor closed here.
  std::vector<std::unique_ptr<sql::Database>> forsaken;
};

Pool& pool() {
  static Pool* const instance = new Pool;  // never destroyed: sessions may end during exit
  return *instance;
}

// In a process forked from the one that kept the sessions (a desk a host starts with fork), the
// kept sessions are the parent's: the same server connection or open file, whose use by both
// would mix their statements and answers on one connection, and whose closing here would end
// the parent's session (a server connection's farewell, the file's locks). They are set aside,
// untouched, for as long as this process lives. Called with the pool's mutex held.
void leaveTheParents(Pool& p) {
  const pid_t self = ::getpid();
  if (p.owner == self) return;
  for (Kept& k : p.kept) p.forsaken.push_back(std::move(k.db));
  p.kept.clear();
  p.owner = self;
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
    leaveTheParents(p);
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
      leaveTheParents(p);
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
  leaveTheParents(p);
  return p.kept.size();
}

void clear() {
  Pool& p = pool();
  std::deque<Kept> closing;
  {
    const std::lock_guard lock(p.mutex);
    leaveTheParents(p);
    closing.swap(p.kept);
  }
}

}  // namespace quillon::ado::session_pool
