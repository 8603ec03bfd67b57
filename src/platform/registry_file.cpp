#include "platform/registry_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>
#include <system_error>

#include "platform/registry_format.h"

namespace quillon::platform {
namespace {

// Owns a file descriptor.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now and reports whether the close succeeded (it can report a delayed write error).
  bool close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

// Holds an exclusive flock for as long as it lives; the lock goes with the descriptor.
class FileLock {
 public:
  explicit FileLock(const std::filesystem::path& lockFile)
      : fd_(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
    if (!fd_.valid()) return;
    int rc;
    do {
      rc = ::flock(fd_.get(), LOCK_EX);
    } while (rc != 0 && errno == EINTR);
    locked_ = rc == 0;
  }
  bool locked() const { return locked_; }

 private:
  Fd fd_;
  bool locked_ = false;
};

// Removes a temporary file unless it has been renamed into place.
class TempFile {
 public:
  explicit TempFile(std::string pattern)
      : path_(std::move(pattern)), fd_(::mkostemp(path_.data(), O_CLOEXEC)) {
    if (!fd_.valid()) path_.clear();
  }
  ~TempFile() {
    fd_.close();
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  bool valid() const { return fd_.valid(); }
  int fd() const { return fd_.get(); }
  bool close() { return fd_.close(); }
  const std::string& path() const { return path_; }
  void release() { path_.clear(); }

 private:
  std::string path_;
  Fd fd_;
};

bool writeAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::optional<std::string> readAll(const std::filesystem::path& file) {
  Fd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) return std::nullopt;
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  if (static_cast<std::uintmax_t>(st.st_size) > kMaxRegistryFileSize) return std::nullopt;
  std::string text;
  char buffer[8192];
  while (true) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (n == 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
    if (text.size() > kMaxRegistryFileSize) return std::nullopt;
  }
  return text;
}

void syncFolder(const std::filesystem::path& folder) {
  // Makes the rename itself durable; a failure here loses nothing that is already visible.
  Fd dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.valid()) ::fsync(dir.get());
}

}  // namespace

RegistryData loadRegistryFile(const std::filesystem::path& file) {
  if (file.empty()) return {};
  auto text = readAll(file);
  if (!text) return {};
  auto data = parseRegistry(*text);
  return data ? std::move(*data) : RegistryData{};
}

UpdateResult updateRegistryFile(const std::filesystem::path& file,
                                const std::function<bool(RegistryData&)>& change) {
  if (file.empty() || !file.has_filename()) return UpdateResult::Failed;
  const std::filesystem::path folder = file.parent_path();
  std::error_code ec;
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);
  if (ec) return UpdateResult::Failed;

  FileLock lock(std::filesystem::path(file.native() + ".lock"));
  if (!lock.locked()) return UpdateResult::Failed;

  RegistryData data = loadRegistryFile(file);
  if (!change(data)) return UpdateResult::Unchanged;

  TempFile temp(file.native() + ".tmp-XXXXXX");
  if (!temp.valid()) return UpdateResult::Failed;
  // Keep the mode of the file being replaced, so a shared registry stays shared.
  struct stat st {};
  const mode_t mode = ::stat(file.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
  ::fchmod(temp.fd(), mode);

  const std::string text = formatRegistry(data);
  if (!writeAll(temp.fd(), text) || ::fsync(temp.fd()) != 0 || !temp.close())
    return UpdateResult::Failed;
  if (::rename(temp.path().c_str(), file.c_str()) != 0) return UpdateResult::Failed;
  temp.release();
  syncFolder(folder);
  return UpdateResult::Written;
}

}  // namespace quillon::platform
