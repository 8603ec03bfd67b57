#include "forms/list_scan.h"

#include <cmath>

#include "automation/numeric_text.h"

namespace quillon::forms {

namespace {

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' ||
                           text.back() == '\n')) {
    text.remove_suffix(1);
  }
  return text;
}

}  // namespace

std::optional<ScanEntry> parseScan(std::string_view text) {
  text = trimmed(text);
  ScanEntry entry;
  const std::size_t star = text.rfind('*');
  if (star != std::string_view::npos) {
    const std::string_view count = trimmed(text.substr(star + 1));
    const auto n = automation::parseNumericText(count);
    if (n) {
      if (!std::isfinite(*n) || *n <= 0) return std::nullopt;
      entry.count = *n;
      text = trimmed(text.substr(0, star));
    }
  }
  if (text.empty()) return std::nullopt;
  entry.code = std::string(text);
  return entry;
}

}  // namespace quillon::forms
