// `quillon demo [--db FILE] [--examples DIR]`: a host window for trying the library's dialogs by
// hand. The demo database is made with init-db on first use; the window lets the person pick
// another account file and the user the runs log in as. Each example host script of DIR can be
// run "by hand" (its host lines run while the person works in every dialog they open) or
// "scripted" (its own dialog lines do the work with the forms drawn), and the current-stock
// reference can be tried on any stocked warehouse and item of the account (Refer by hand,
// AutoRefer silent); afterwards the window shows what the host received and the run's
// transcript. Without a display it says so and runs the example scripts headless, printing their
// transcripts.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "args.h"
#include "commands.h"
#include "demo/example_scripts.h"
#include "desktop.h"
#include "sql/database.h"
#include "sql/locations.h"

#ifdef QUILLON_DESKTOP
#include <QApplication>

#include "demo/demo_window.h"
#include "ui/qt/application.h"
#endif

namespace quillon::cli {

namespace {

namespace fs = std::filesystem;

#ifdef QUILLON_HAS_UI
bool hasDisplay() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}
#endif

// Each example expects the account as init-db made it and writes to it (stock taken out, orders
// executed): on an account file each runs on a copy of its own, so that none sees what the ones
// before it wrote and the demo account stays as it was. An account on a server is used as it is.
int runHeadless(const std::string& db, const std::vector<fs::path>& scripts) {
  const bool copies = sql::Location(db).copiesFreely();
  const fs::path scratch =
      fs::temp_directory_path() / ("quillon-demo-" + std::to_string(::getpid()));
  if (copies) fs::create_directories(scratch);
  int status = 0;
  for (const fs::path& script : scripts) {
    std::cout << "=== " << script.filename().string() << '\n';
    std::string account = db;
    if (copies) {
      account = (scratch / fs::path(db).filename()).string();
      fs::copy_file(db, account);
    }
    const int result = cmdRun(std::vector<std::string>{"--db", account, script.string()});
    if (result != 0) status = result;
    if (copies) fs::remove(account);
  }
  std::error_code ignored;
  if (copies) fs::remove_all(scratch, ignored);
  return status;
}

}  // namespace

int cmdDemo(std::span<const std::string> args) {
  const ParsedArgs parsed = parseArgs(args, OptionSpec{{"--db", "--examples"}, {}});
  if (!parsed.positional().empty()) {
    throw UsageError("unexpected argument " + parsed.positional().front());
  }
  const std::string db = parsed.option("--db").value_or("demo.db");
  const fs::path examples = parsed.option("--examples").value_or("examples");
#if defined(QUILLON_HAS_UI) && !defined(QUILLON_DESKTOP)
  // The window is quillon-desktop's, which makes the demo database itself.
  if (hasDisplay()) return runOnDesktop("demo");
#endif
  if (!sql::Location(db).exists()) {
    std::cout << "quillon demo: making the demo database " << sql::maskPassword(db) << '\n';
    const int made = cmdInitDb(std::vector<std::string>{"--db", db});
    if (made != 0) return made;
  }
  const std::vector<fs::path> scripts = demo::exampleScripts(examples);
#ifdef QUILLON_DESKTOP
  if (hasDisplay()) {
    ui::qt::QtApplication application;
    demo::DemoWindow window(db, scripts);
    window.show();
    return QApplication::exec();
  }
#endif
  std::cout << "quillon demo: no display to show the dialogs on; running the example host scripts "
               "in "
            << examples.string() << " headless\n";
  if (scripts.empty()) {
    std::cerr << "quillon demo: no example scripts (*.qhs) in " << examples.string() << '\n';
    return 1;
  }
  return runHeadless(db, scripts);
}

}  // namespace quillon::cli
