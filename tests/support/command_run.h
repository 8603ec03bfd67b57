// Runs a program the way a user or a script does, with what it writes captured.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quillon::test_support {

struct CommandOutcome {
  int status = -1;  // -1: the program could not be started or waited for
  std::string out;
  std::string err;
};

// Runs `program` with `args`, `input` as its standard input. The three streams pass through the
// files stdin, stdout and stderr in `dir` (which must exist), so a program that writes more than
// a pipe holds never blocks.
CommandOutcome runCommand(const std::string& program, std::vector<std::string> args,
                          const std::filesystem::path& dir, const std::string& input = {});

}  // namespace quillon::test_support
