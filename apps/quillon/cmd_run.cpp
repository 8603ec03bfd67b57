// `quillon run --db FILE SCRIPT`: runs a host script (SCRIPT "-" reads it from standard input) on
// an account database and prints its transcript. Exit status 0 when the script ran to its end
// with every expect holding; 1 when a line failed or could not be parsed, with the line and
// column and what went wrong on standard error; 2 for a malformed command line or a script that
// cannot be read or is longer than a script may hold (1 MiB), refused before it is read.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include "args.h"
#include "commands.h"
#include "desktop.h"
#include "run/host_script_runner.h"
#include "run/run_options.h"
#include "script/script_parser.h"

namespace quillon::cli {

namespace {

struct ScriptText {
  std::string text;
  bool tooLong = false;
};

// Reads at most one byte more than a script may hold, so that a huge file (or an endless input)
// is refused at once instead of being held first.
std::optional<ScriptText> readScript(const std::string& path) {
  std::ifstream file;
  if (path != "-") {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > script::kMaxScriptBytes) return ScriptText{{}, true};
    file.open(path, std::ios::binary);
    if (!file) return std::nullopt;
  }
  std::istream& in = path == "-" ? std::cin : file;
  ScriptText script;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    script.text.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (script.text.size() > script::kMaxScriptBytes) return ScriptText{{}, true};
  }
  if (in.bad()) return std::nullopt;
  return script;
}

}  // namespace

int cmdRun(std::span<const std::string> args) {
  const run::RunOptions options = run::parseRunOptions(args);
#ifndef QUILLON_DESKTOP
  // Drawn forms are quillon-desktop's; it reads the script itself (standard input untouched).
  if (options.gui) return runOnDesktop("run");
#endif
  const std::optional<ScriptText> script = readScript(options.script);
  if (!script) {
    std::cerr << "quillon run: cannot read the script \"" << options.script << "\"\n";
    return 2;
  }
  if (script->tooLong) {
    std::cerr << "quillon run: the script \"" << options.script
              << "\" is longer than 1 MiB (1048576 bytes), the most a host script may hold\n";
    return 2;
  }
#ifdef QUILLON_DESKTOP
  auto host = options.gui ? run::makeDrawingHost(options) : run::makeUiHost(options);
#else
  auto host = run::makeUiHost(options);
#endif
  run::HostScriptRunner runner(options.database, std::cout, std::move(host));
  const auto result = runner.runSource(script->text);
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
