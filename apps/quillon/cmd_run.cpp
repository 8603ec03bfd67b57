// `quillon run --db FILE SCRIPT`: runs a host script (SCRIPT "-" reads it from standard input) on
// an account database and prints its transcript. Exit status 0 when the script ran to its end
// with every expect holding; 1 when a line failed or could not be parsed, with the line and
// column and what went wrong on standard error; 2 for a malformed command line or a script that
// cannot be read.
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>

#include "args.h"
#include "commands.h"
#include "run/host_script_runner.h"
#include "run/run_options.h"

namespace quillon::cli {

namespace {

std::optional<std::string> readScript(const std::string& path) {
  std::ifstream file;
  if (path != "-") {
    file.open(path, std::ios::binary);
    if (!file) return std::nullopt;
  }
  std::istream& in = path == "-" ? std::cin : file;
  std::ostringstream text;
  // An empty input makes operator<< set failbit on `text`; an empty script is still a script.
  if (in.peek() != std::char_traits<char>::eof()) text << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return text.str();
}

}  // namespace

int cmdRun(std::span<const std::string> args) {
  const run::RunOptions options = run::parseRunOptions(args);
  const std::optional<std::string> text = readScript(options.script);
  if (!text) {
    std::cerr << "quillon run: cannot read the script \"" << options.script << "\"\n";
    return 2;
  }
  run::HostScriptRunner runner(options.database, std::cout, run::makeUiHost(options));
  const auto result = runner.runSource(*text);
  if (result.ok) {
    std::cout << "ok: the script ran to its end and every expect held\n";
    return 0;
  }
  std::cout.flush();
  std::cerr << (options.script == "-" ? "<stdin>" : options.script) << ": " << result.message
            << '\n';
  return 1;
}

}  // namespace quillon::cli
