// A scratch folder of a benchmark program: created under the temporary directory with the process
// id in its name, the machine registry pointed at a file inside it (so no benchmark reads or
// changes the real one), and removed with everything in it when the object goes.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace quillon::bench {

class BenchDir {
 public:
  explicit BenchDir(std::string_view name)
      : path_(std::filesystem::temp_directory_path() /
              (std::string(name) + "-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(path_);
    ::setenv("QUILLON_REGISTRY", (path_ / "registry").c_str(), 1);
  }
  ~BenchDir() {
    std::error_code ignored;  // a folder left behind in the temporary directory harms nothing
    std::filesystem::remove_all(path_, ignored);
  }
  BenchDir(const BenchDir&) = delete;
  BenchDir& operator=(const BenchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view file) const { return path_ / file; }

 private:
  std::filesystem::path path_;
};

}  // namespace quillon::bench
