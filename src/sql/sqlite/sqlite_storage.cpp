// Account databases in files of the embedded engine: plain file operations.
#include <filesystem>
#include <system_error>

#include "sql/sql_error.h"
#include "sql/sqlite/sqlite_database.h"
#include "sql/storage.h"

namespace quillon::sql {

namespace {

namespace fs = std::filesystem;

class FileStorage final : public Storage {
 public:
  Engine engine() const override { return Engine::SQLite; }

  std::unique_ptr<Database> open(const std::string& location, OpenMode mode,
                                 int busyTimeoutMs) const override {
    return SqliteDatabase::open(location, mode, busyTimeoutMs);
  }

  std::string subject(std::string_view shown) const override {
    return "文件[" + std::string(shown) + "]";
  }
  std::string existsText(const std::string& location) const override {
    return "The file " + location + " already exists";
  }
  std::string name(const std::string& location) const override {
    return fs::path(location).filename().string();
  }
  std::string stem(const std::string& location) const override {
    return fs::path(location).stem().string();
  }
  std::string resolved(const std::string& location) const override {
    return fs::absolute(location).string();
  }
  std::string sibling(const std::string& location, std::string_view suffix) const override {
    return location + std::string(suffix);
  }
  std::string withDatabaseName(const std::string& location, std::string_view name) const override {
    return (fs::path(location).parent_path() / std::string(name)).string();
  }
  std::string withLogin(const std::string& location, std::string_view /*user*/,
                        std::string_view /*password*/, int /*connectionTimeout*/) const override {
    return location;
  }

  bool exists(const std::string& location) const override {
    std::error_code ec;
    return fs::exists(location, ec);
  }
  bool knownMissing(const std::string& location) const override {
    std::error_code ec;
    return location.empty() || !fs::is_regular_file(location, ec);
  }
  bool copiesFreely() const override { return true; }
  DatabaseContents contents(const std::string& location) const override {
    std::error_code ec;
    if (fs::is_directory(location, ec)) throw SqlError::notAFile(location);
    return exists(location) ? DatabaseContents::HoldsTables : DatabaseContents::Absent;
  }
  void drop(const std::string& location) const override {
    std::error_code ec;
    fs::remove(location, ec);  // Ignoring errors on purpose: what cannot go is not in the way
  }
  void rename(const std::string& from, const std::string& to) const override {
    std::error_code ec;
    fs::rename(from, to, ec);
    if (ec) throw SqlError::fileFailed("Cannot write " + to, ec.message());
  }
  void copy(const std::string& from, const std::string& to) const override {
    std::error_code ec;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    if (ec) throw SqlError::fileFailed("Cannot copy " + from, ec.message());
  }
};

}  // namespace

const Storage& fileStorage() {
  static const FileStorage storage;
  return storage;
}

}  // namespace quillon::sql
