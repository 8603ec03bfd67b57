// The commands that draw run in quillon-desktop: the same commands with the desktop dialogs (Qt)
// linked in, built beside `quillon` and installed in libexec. `quillon` itself links no Qt, so
// that the commands that never draw (sql, init-db, call, check-db, run without --gui) do not
// load it; a drawing one hands its whole command line over to quillon-desktop.
#pragma once

#include <string_view>

namespace quillon::cli {

// Kept by main() for runOnDesktop.
void rememberCommandLine(int argc, char** argv);

// Replaces this process by quillon-desktop with the same command line. Returns only when that
// cannot be done, after saying why on standard error: the exit status to end with.
// QUILLON_DESKTOP in the environment names another executable to run.
int runOnDesktop(std::string_view command);

}  // namespace quillon::cli
