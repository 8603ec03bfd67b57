#include "support/command_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>

extern char** environ;

namespace quillon::test_support {

namespace {

std::string slurp(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Owns the spawn's file actions for as long as the spawn needs them.
class FileActions {
 public:
  FileActions() { posix_spawn_file_actions_init(&actions_); }
  ~FileActions() { posix_spawn_file_actions_destroy(&actions_); }
  FileActions(const FileActions&) = delete;
  FileActions& operator=(const FileActions&) = delete;

  void open(int fd, const std::filesystem::path& file, int flags) {
    posix_spawn_file_actions_addopen(&actions_, fd, file.c_str(), flags, 0644);
  }
  const posix_spawn_file_actions_t* get() const { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

}  // namespace

CommandOutcome runCommand(const std::string& program, std::vector<std::string> args,
                          const std::filesystem::path& dir, const std::string& input) {
  std::string binary = program;
  std::vector<char*> argv{binary.data()};
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  const auto in = dir / "stdin", out = dir / "stdout", err = dir / "stderr";
  std::ofstream(in, std::ios::binary) << input;
  CommandOutcome outcome;
  pid_t pid = 0;
  {
    FileActions actions;
    actions.open(0, in, O_RDONLY);
    actions.open(1, out, O_WRONLY | O_CREAT | O_TRUNC);
    actions.open(2, err, O_WRONLY | O_CREAT | O_TRUNC);
    if (posix_spawn(&pid, binary.c_str(), actions.get(), nullptr, argv.data(), environ) != 0)
      return outcome;
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return outcome;
  // A signal shows as 128 + its number, as a shell reports it, so a crash never passes as 0-2.
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  outcome.out = slurp(out);
  outcome.err = slurp(err);
  return outcome;
}

}  // namespace quillon::test_support
