#include "sql/pg/pq.h"

#include <dlfcn.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <string>

#include "sql/sql_error.h"

namespace quillon::sql::pq {

namespace {

std::mutex gLoading;
std::atomic<const Functions*> gLoaded{nullptr};  // set once, under gLoading; never unloaded

Functions load() {
  const char* library = libraryName();
  // Kept for the life of the process: results and connections point into it.
  void* handle = ::dlopen(library, RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* why = ::dlerror();
    throw SqlError::clientLibraryMissing(library, why != nullptr ? why : "not found");
  }
  Functions loaded;
  std::string missing;
#define QUILLON_PQ_RESOLVE(name)                                             \
  loaded.name = reinterpret_cast<decltype(&::name)>(::dlsym(handle, #name)); \
  if (loaded.name == nullptr) missing += (missing.empty() ? "" : ", ") + std::string(#name);
  QUILLON_PQ_FUNCTIONS(QUILLON_PQ_RESOLVE)
#undef QUILLON_PQ_RESOLVE
  if (!missing.empty()) {
    ::dlclose(handle);
    throw SqlError::clientLibraryMissing(library, "it has no " + missing);
  }
  return loaded;
}

}  // namespace

const char* libraryName() {
  const char* named = std::getenv("QUILLON_LIBPQ");
  return named != nullptr && *named != '\0' ? named : "libpq.so.5";
}

const Functions& functions() {
  if (const Functions* ready = gLoaded.load(std::memory_order_acquire)) return *ready;
  std::lock_guard lock(gLoading);
  if (gLoaded.load(std::memory_order_relaxed) == nullptr) {
    gLoaded.store(new Functions(load()), std::memory_order_release);
  }
  return *gLoaded.load(std::memory_order_relaxed);
}

}  // namespace quillon::sql::pq
