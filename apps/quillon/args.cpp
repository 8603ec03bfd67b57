#include "args.h"

#include <algorithm>

namespace quillon::cli {
namespace {

bool declared(const std::vector<std::string_view>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

std::optional<std::string> ParsedArgs::option(std::string_view name) const {
  auto it = options_.find(name);
  if (it == options_.end()) return std::nullopt;
  return it->second;
}

std::string ParsedArgs::required(std::string_view name) const {
  auto value = option(name);
  if (!value) throw UsageError("missing " + std::string(name));
  return *value;
}

ParsedArgs parseArgs(std::span<const std::string> args, const OptionSpec& spec) {
  ParsedArgs parsed;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    // A lone "-" is a value (standard input), not an option.
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      parsed.positional_.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    const std::size_t eq = arg.find('=');
    const std::string name = arg.substr(0, eq);
    if (declared(spec.flags, name)) {
      if (eq != std::string::npos) throw UsageError(name + " takes no value");
      parsed.flags_.insert(name);
      continue;
    }
    if (!declared(spec.withValue, name)) throw UsageError("unknown option " + name);
    std::string value;
    if (eq != std::string::npos) {
      value = arg.substr(eq + 1);
    } else {
      if (i + 1 >= args.size()) throw UsageError(name + " needs a value");
      value = args[++i];
    }
    if (!parsed.options_.emplace(name, std::move(value)).second)
      throw UsageError(name + " given twice");
  }
  return parsed;
}

}  // namespace quillon::cli
