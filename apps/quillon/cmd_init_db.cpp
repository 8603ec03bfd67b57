// `quillon init-db --db FILE [--scale N] [--force] [--shared-holds]`

#include <charconv>
#include <iostream>

#include "ado/connection.h"
#include "args.h"
#include "commands.h"
#include "components/suite/account_database.h"
#include "db/demo_data.h"
#include "module/shared_holds.h"

namespace quillon::cli {

namespace {

int parseScale(const std::string& text) {
  int scale = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), scale);
  if (ec != std::errc() || end != text.data() + text.size() || scale < 1 ||
      scale > db::kMaxDemoScale) {
    throw UsageError("--scale must be a whole number from 1 to " +
                     std::to_string(db::kMaxDemoScale));
  }
  return scale;
}

}  // namespace

int cmdInitDb(std::span<const std::string> args) {
  const ParsedArgs parsed =
      parseArgs(args, {.withValue = {"--db", "--scale"}, .flags = {"--force", "--shared-holds"}});
  const std::string path = parsed.required("--db");
  if (path.empty()) throw UsageError("--db needs a file name");
  if (!parsed.positional().empty())
    throw UsageError("unexpected argument " + parsed.positional().front());
  const int scale = parseScale(parsed.option("--scale").value_or("1"));

  // A refusal (existing file without --force) or a failure is a ComError, reported by main.
  const db::DemoSummary summary = db::createDemoDatabase(path, scale, parsed.flag("--force"));
  if (parsed.flag("--shared-holds")) {
    // Every desk's holds seen by all: the parameter on, and its tables made now rather than by
    // the first desk that holds.
    auto connection = std::make_shared<ado::Connection>();
    connection->open(components::suite::accountConnectionString(path));
    connection->execute(
        "update accinformation set cValue = 'true' where cSysID = 'st' and cName = 'bSharedHolds'",
        nullptr, ado::adExecuteNoRecords);
    module::InstallSharedHolds(*connection);
  }
  std::cout << db::formatSummary(summary, path);
  return 0;
}

}  // namespace quillon::cli
