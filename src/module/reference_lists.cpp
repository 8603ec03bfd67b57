#include "module/reference_lists.h"

#include "automation/numeric_text.h"
#include "automation/text_compare.h"
#include "sql/sql_text.h"

namespace quillon::module {

std::string KeyInList(const std::vector<std::string>& keys) {
  std::string joined;
  for (const auto& k : keys) {
    if (!joined.empty()) joined += ",";
    // The keys are the lists' id cells: numbers, written as numbers; anything else stays a text.
    const auto number = automation::parseNumericText(k);
    joined += number ? sql::literal(*number) : sql::literal(k);
  }
  if (joined.empty()) return {};
  return " IN (" + joined + ")";
}

std::string NarrowedSource(std::string_view source, std::string_view condition) {
  const std::string lower = automation::asciiLower(source);
  const auto at = lower.find(" order by ");
  if (at == std::string::npos) {
    return std::string(source) + " AND " + std::string(condition);
  }
  // Up to and including the space before "order by".
  return std::string(source.substr(0, at + 1)) + " AND  " + std::string(condition) + " " +
         std::string(source.substr(at + 1));
}

}  // namespace quillon::module
