// `quillon init-db --db FILE [--scale N] [--force]`

#include <charconv>
#include <iostream>

#include "args.h"
#include "commands.h"
#include "db/demo_data.h"

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
      parseArgs(args, {.withValue = {"--db", "--scale"}, .flags = {"--force"}});
  const std::string path = parsed.required("--db");
  if (path.empty()) throw UsageError("--db needs a file name");
  if (!parsed.positional().empty())
    throw UsageError("unexpected argument " + parsed.positional().front());
  const int scale = parseScale(parsed.option("--scale").value_or("1"));

  // A refusal (existing file without --force) or a failure is a ComError, reported by main.
  const db::DemoSummary summary = db::createDemoDatabase(path, scale, parsed.flag("--force"));
  std::cout << db::formatSummary(summary, path);
  return 0;
}

}  // namespace quillon::cli
