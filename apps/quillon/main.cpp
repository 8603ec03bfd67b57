// The `quillon` command: dispatches to the subcommand named by the first argument.

#include <csignal>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "args.h"
#include "automation/class_registry.h"
#include "automation/com_error.h"
#include "classes/public_classes.h"
#include "commands.h"
#ifndef QUILLON_DESKTOP
#include "desktop.h"
#endif
#include "quillon_version.h"

namespace quillon::cli {
namespace {

struct Command {
  std::string_view name;
  std::string_view usage;  // the arguments after the name
  std::string_view summary;
  int (*run)(std::span<const std::string> args);
  // Whether the command makes objects by ProgID (through scripts or the library's own late-bound
  // calls), so that it needs the classes registered first.
  bool makesObjects = true;
};

constexpr Command kCommands[] = {
    {"sql", "--db FILE [--format table|csv|json] \"T-SQL batch\"",
     "run a T-SQL batch on a database file (created when missing) and print its results; "
     "\"-\" as the batch reads it from standard input",
     cmdSql, false},
    {"init-db", "--db FILE [--scale N] [--force] [--shared-holds]",
     "build the demo account database (--shared-holds: every desk's holds seen by all)", cmdInitDb},
    {"call", "--db FILE [--user CODE] PROGID MEMBER [ARG...]",
     "create an object by ProgID, call one member late-bound and print the result", cmdCall},
    {"run", "--db FILE [--gui] [--screenshots DIR] SCRIPT",
     "run a host script (\"-\" reads it from standard input) and print its transcript", cmdRun},
    {"check-db", "--db FILE",
     "check an account database: the engine's integrity check and the account's consistency "
     "(bin-position balances, batch records, lines without their voucher); exit 1 when "
     "something is wrong",
     cmdCheckDb},
    {"demo", "[--db FILE] [--examples DIR]",
     "a host window to work in the dialogs by hand (without a display: the example scripts, "
     "headless)",
     cmdDemo},
};

// Every creatable class of the library, registered once before a command that makes objects runs,
// so that objects made by ProgID (by scripts or by the library's own late-bound calls) are found.
void registerClasses() {
  classes::registerAllClasses(automation::classRegistry());
}

void printUsage(std::ostream& out) {
  out << "usage: quillon COMMAND [ARGUMENTS]\n\ncommands:\n";
  for (const Command& command : kCommands) {
    out << "  quillon " << command.name << ' ' << command.usage << "\n      " << command.summary
        << '\n';
  }
  out << "\n`quillon COMMAND --help` shows one command's usage; `quillon --version` the version "
         "and the commit it was built from.\n";
}

void printCommandUsage(std::ostream& out, const Command& command) {
  out << "usage: quillon " << command.name << ' ' << command.usage << '\n';
}

int dispatch(const std::vector<std::string>& args) {
  if (args.empty()) {
    printUsage(std::cerr);
    return 2;
  }
  const std::string& name = args.front();
  if (name == "--help" || name == "-h" || name == "help") {
    printUsage(std::cout);
    return 0;
  }
  if (name == "--version") {
    std::cout << "quillon " << QUILLON_VERSION << " (commit " << QUILLON_COMMIT << ")\n";
    return 0;
  }
  for (const Command& command : kCommands) {
    if (command.name != name) continue;
    const std::span<const std::string> rest(args.data() + 1, args.size() - 1);
    if (!rest.empty() && (rest.front() == "--help" || rest.front() == "-h")) {
      printCommandUsage(std::cout, command);
      return 0;
    }
    try {
      if (command.makesObjects) registerClasses();
      return command.run(rest);
    } catch (const UsageError& e) {
      std::cerr << "quillon " << command.name << ": " << e.what() << '\n';
      printCommandUsage(std::cerr, command);
      return 2;
    }
  }
  std::cerr << "quillon: unknown command \"" << name << "\"\n";
  printUsage(std::cerr);
  return 2;
}

}  // namespace
}  // namespace quillon::cli

int main(int argc, char** argv) {
  // A reader that goes away (`quillon sql ... | head`) ends output with a write error, not a
  // signal.
  std::signal(SIGPIPE, SIG_IGN);
#ifndef QUILLON_DESKTOP
  quillon::cli::rememberCommandLine(argc, argv);
#endif
  int status = 1;
  try {
    status = quillon::cli::dispatch(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const quillon::automation::ComError& e) {
    std::cerr << "error " << e.number() << ": " << e.description() << '\n';
    status = 1;
  } catch (const std::exception& e) {
    std::cerr << "error: " << e.what() << '\n';
    status = 1;
  } catch (...) {
    std::cerr << "error: unexpected failure\n";
    status = 1;
  }
  std::cout.flush();
  if (!std::cout.good() && status == 0) status = 1;
  return status;
}
