// The subcommands of `quillon`. Each lives in its own cmd_<name>.cpp and is listed once in the
// table in main.cpp. An entry receives the arguments after its name, returns the exit status, and
// throws UsageError (args.h) for a malformed command line; main prints the usage and exits 2. Any
// other exception is reported as "error NUMBER: TEXT" with exit status 1.
#pragma once

#include <span>
#include <string>

namespace quillon::cli {

int cmdSql(std::span<const std::string> args);
int cmdInitDb(std::span<const std::string> args);
int cmdCall(std::span<const std::string> args);
int cmdRun(std::span<const std::string> args);
int cmdDemo(std::span<const std::string> args);
int cmdCheckDb(std::span<const std::string> args);

}  // namespace quillon::cli
