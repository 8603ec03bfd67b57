#include "desktop.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

namespace quillon::cli {

namespace {

namespace fs = std::filesystem;

int gArgc = 0;
char** gArgv = nullptr;

// Where quillon-desktop may be, in the order tried: beside this executable (the build tree, or
// an install that keeps both in bin), then the install's libexec directory.
std::vector<fs::path> desktopCandidates() {
  if (const char* named = std::getenv("QUILLON_DESKTOP"); named != nullptr && *named != '\0') {
    return {fs::path(named)};
  }
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  const fs::path dir = ec ? fs::path(".") : self.parent_path();
  return {dir / "quillon-desktop", (dir / QUILLON_DESKTOP_FROM_BINDIR).lexically_normal()};
}

}  // namespace

void rememberCommandLine(int argc, char** argv) {
  gArgc = argc;
  gArgv = argv;
}

int runOnDesktop(std::string_view command) {
  const std::vector<fs::path> candidates = desktopCandidates();
  std::vector<char*> argv(gArgv, gArgv + gArgc);
  argv.push_back(nullptr);
  std::cout.flush();
  std::cerr.flush();
  std::string tried;
  int error = ENOENT;
  for (const fs::path& candidate : candidates) {
    ::execv(candidate.c_str(), argv.data());
    // Only a missing file moves on to the next place; anything else is this one's fault.
    error = errno;
    tried += (tried.empty() ? "" : ", ") + candidate.string();
    if (error != ENOENT && error != ENOTDIR) break;
  }
  std::cerr << "quillon " << command
            << ": drawing the dialogs needs quillon-desktop, which cannot be run (" << tried
            << "): " << std::strerror(error) << '\n';
  return 1;
}

}  // namespace quillon::cli
