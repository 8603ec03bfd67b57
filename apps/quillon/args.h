// Command-line arguments of a subcommand: options "--name VALUE" or "--name=VALUE", flags
// "--name", and positional arguments; "--" ends the options. Anything a subcommand did not
// declare, a missing value or a repeated option is a UsageError, which the command turns into its
// usage text and exit status 2.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::cli {

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct OptionSpec {
  std::vector<std::string_view> withValue;  // "--db", "--format"
  std::vector<std::string_view> flags;      // "--gui"
};

class ParsedArgs {
 public:
  std::optional<std::string> option(std::string_view name) const;
  // The option's value; UsageError naming it when it was not given.
  std::string required(std::string_view name) const;
  bool flag(std::string_view name) const { return flags_.count(std::string(name)) != 0; }
  const std::vector<std::string>& positional() const { return positional_; }

 private:
  friend ParsedArgs parseArgs(std::span<const std::string>, const OptionSpec&);
  std::map<std::string, std::string, std::less<>> options_;
  std::set<std::string> flags_;
  std::vector<std::string> positional_;
};

ParsedArgs parseArgs(std::span<const std::string> args, const OptionSpec& spec);

}  // namespace quillon::cli
