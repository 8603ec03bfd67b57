#include <charconv>

#include "automation/text_compare.h"
#include "automation/vb_strings.h"
#include "components/define_item_service.h"

namespace quillon::components {

namespace {

// The number after a prefix ("cdefine12" -> 12); nullopt when the rest is not a plain number.
std::optional<int> numberAfter(std::string_view name, std::string_view prefix) {
  if (name.size() <= prefix.size()) return std::nullopt;
  if (!automation::equalsNoCase(name.substr(0, prefix.size()), prefix)) return std::nullopt;
  std::string_view rest = name.substr(prefix.size());
  int n = 0;
  auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), n);
  if (ec != std::errc() || end != rest.data() + rest.size() || n <= 0) return std::nullopt;
  return n;
}

}  // namespace

std::optional<std::string> defineKeyOfField(std::string_view fieldName) {
  if (auto n = numberAfter(fieldName, "cdefine")) {
    if (*n <= 10) return (*n < 10 ? "0" : "") + std::to_string(*n);
    return std::to_string(*n);
  }
  if (auto n = numberAfter(fieldName, "cfree")) {
    return std::to_string(*n <= 2 ? *n + 19 : *n + 25);
  }
  return std::nullopt;
}

}  // namespace quillon::components
