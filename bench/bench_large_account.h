// The large demo account of the benchmarks (scale 1000: about 4.7 million rows, 0.7 GB), built
// once and kept beside the benchmark programs in bench/cache/, named by a key that changes with
// the schema and with what the generator writes; a program works on a copy of it, since its
// benchmarks write. Building takes about half a minute, copying a second or two. The same account
// on a server (QUILLON_BENCH_SERVER) is built for each program run, by COPY, and dropped at its
// end (ServerLargeAccount).
//
// The key digests the schema's text and every row the generator writes at scale 2, which runs
// each part of it, the per-block documents included: a change to either makes a new account, and
// the cached file of an older key is removed.
#pragma once

#include <sqlite3.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

#include "ado/connection.h"
#include "automation/dispatch.h"
#include "bench/bench_scratch.h"
#include "components/suite/account_database.h"
#include "components/suite/login.h"
#include "db/demo_data.h"
#include "db/schema.h"
#include "sql/database.h"
#include "sql/locations.h"
#include "sql/sqlite/sqlite_database.h"

namespace quillon::bench {

inline constexpr int kLargeScale = 1000;

class Digest {
 public:
  void add(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
      hash_ ^= bytes[i];
      hash_ *= 0x100000001B3ull;
    }
  }
  void add(std::string_view text) { add(text.data(), text.size()); }
  std::string hex() const {
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(hash_));
    return buf;
  }

 private:
  std::uint64_t hash_ = 0xCBF29CE484222325ull;
};

// What the account is made from, as a key of sixteen hex digits.
inline std::string accountKey() {
  Digest d;
  for (const db::SchemaFile& file : db::schemaFiles()) d.add(file.text);
  auto database = sql::Database::open(":memory:");
  db::applySchema(*database);
  db::generateDemoData(*database, 2);
  sqlite3* h = sql::sqliteHandle(*database);
  sqlite3_stmt* tables = nullptr;
  sqlite3_prepare_v2(h, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name", -1,
                     &tables, nullptr);
  while (sqlite3_step(tables) == SQLITE_ROW) {
    const std::string name = reinterpret_cast<const char*>(sqlite3_column_text(tables, 0));
    d.add(name);
    sqlite3_stmt* rows = nullptr;
    sqlite3_prepare_v2(h, ("SELECT * FROM \"" + name + "\" ORDER BY rowid").c_str(), -1, &rows,
                       nullptr);
    while (rows != nullptr && sqlite3_step(rows) == SQLITE_ROW) {
      for (int c = 0; c < sqlite3_column_count(rows); ++c) {
        const int type = sqlite3_column_type(rows, c);
        d.add(&type, sizeof type);
        const void* blob = sqlite3_column_blob(rows, c);
        d.add(blob, static_cast<std::size_t>(sqlite3_column_bytes(rows, c)));
      }
    }
    sqlite3_finalize(rows);
  }
  sqlite3_finalize(tables);
  return d.hex();
}

// The folder of the cached accounts: cache/ beside the running benchmark program.
inline std::filesystem::path cacheFolder() {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) throw std::runtime_error("cannot find the benchmark program: " + ec.message());
  return self.parent_path() / "cache";
}

// The cached account of the given scale, built first when it is missing or of another key.
inline std::string cachedAccount(int scale = kLargeScale) {
  namespace fs = std::filesystem;
  const fs::path folder = cacheFolder();
  fs::create_directories(folder);
  const std::string stem = "scale" + std::to_string(scale) + "-";
  const fs::path path = folder / (stem + accountKey() + ".db");
  std::error_code ec;
  if (fs::exists(path, ec)) return path.string();
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(stem, 0) == 0) fs::remove(entry.path(), ec);  // an account of an older key
  }
  std::fprintf(stderr, "Building the scale-%d account %s ...\n", scale, path.c_str());
  const db::DemoSummary summary = db::createDemoDatabase(path.string(), scale, true);
  std::fprintf(stderr, "... %lld rows in %.1f s\n", static_cast<long long>(summary.totalRows()),
               summary.seconds);
  return path.string();
}

// A copy of the cached account in the program's scratch folder.
inline std::string workingCopy(const BenchDir& dir, int scale = kLargeScale) {
  const std::filesystem::path copy = dir / ("scale" + std::to_string(scale) + ".db");
  std::filesystem::copy_file(cachedAccount(scale), copy,
                             std::filesystem::copy_options::overwrite_existing);
  return copy.string();
}

// An account the benchmarks run on: a file's path or a server's URI, or why it is not there.
struct LargeAccount {
  std::string path;
  std::string error;  // the server's only: no server named, or the build failed

  automation::ObjectPtr login(const std::string& user) const {
    return components::suite::Login::open(path, user, automation::DateValue{46361.0});
  }
  std::shared_ptr<ado::Connection> connect() const {
    auto cn = std::make_shared<ado::Connection>();
    cn->open(components::suite::accountConnectionString(path));
    return cn;
  }
};

// A working copy of the cached account of `scale`, in a scratch folder of its own.
struct FileLargeAccount : LargeAccount {
  BenchDir dir;
  FileLargeAccount(int scale, std::string_view folder) : dir(folder) {
    path = workingCopy(dir, scale);
  }
};

// A database of its own on the server QUILLON_BENCH_SERVER names (the one `make bench` starts),
// built with the demo data of `scale` and dropped when the object goes. Without a server, or when
// the build fails, `error` says why and the benchmarks of the server skip with it.
// QUILLON_BENCH_SERVER_ACCOUNT names an account already built on a server (`quillon init-db
// --scale N --db URI`), used as it is and kept: a scale-10000 account takes twenty minutes to build.
// Its scale is the caller's to match.
struct ServerLargeAccount : LargeAccount {
  ServerLargeAccount(int scale, std::string_view databasePrefix) {
    if (const char* existing = std::getenv("QUILLON_BENCH_SERVER_ACCOUNT");
        existing != nullptr && *existing != 0) {
      path = existing;
      kept = true;
      std::fprintf(stderr, "Using the server's account %s as the scale-%d account\n", existing,
                   scale);
      return;
    }
    const char* server = std::getenv("QUILLON_BENCH_SERVER");
    if (server == nullptr || *server == 0) {
      error = "no server: set QUILLON_BENCH_SERVER (make bench starts one)";
      return;
    }
    try {
      path = sql::Location(server)
                 .withDatabaseName(std::string(databasePrefix) + std::to_string(::getpid()))
                 .text();
      std::fprintf(stderr, "Building the scale-%d account on the server ...\n", scale);
      const db::DemoSummary summary = db::createDemoDatabase(path, scale, true);
      std::fprintf(stderr, "... %lld rows in %.1f s\n", static_cast<long long>(summary.totalRows()),
                   summary.seconds);
    } catch (const std::exception& e) {
      error = std::string("the server's account was not built: ") + e.what();
    }
  }
  ~ServerLargeAccount() {
    try {
      if (!path.empty() && !kept) sql::Location(path).drop();
    } catch (const std::exception&) {
      // the benchmark server goes with its folder
    }
  }
  ServerLargeAccount(const ServerLargeAccount&) = delete;
  bool kept = false;  // named by QUILLON_BENCH_SERVER_ACCOUNT: not ours to drop
  ServerLargeAccount& operator=(const ServerLargeAccount&) = delete;
};

}  // namespace quillon::bench
