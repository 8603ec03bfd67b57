// `quillon check-db --db FILE`: the engine's integrity check and the account's own consistency
// checks, and what they found. Exit status 0 when all is well, 1 when something was found (or the
// file cannot be checked: missing, no account database, in use by another desk).

#include <iostream>

#include "args.h"
#include "commands.h"
#include "components/suite/account_check.h"
#include "components/suite/account_database.h"
#include "sql/database.h"
#include "sql/locations.h"

namespace quillon::cli {

int cmdCheckDb(std::span<const std::string> args) {
  const ParsedArgs parsed = parseArgs(args, {.withValue = {"--db"}, .flags = {}});
  const std::string path = parsed.required("--db");
  if (path.empty()) throw UsageError("--db needs a file name");
  if (!parsed.positional().empty())
    throw UsageError("unexpected argument " + parsed.positional().front());

  // A missing file, a foreign one or a locked one is a ComError, reported by main.
  const auto db = components::suite::openAccountDatabase(path);
  const auto report = components::suite::checkAccountDatabase(*db);
  std::cout << "Checked " << sql::maskPassword(path) << ":\n" << report.text();
  return report.clean() ? 0 : 1;
}

}  // namespace quillon::cli
