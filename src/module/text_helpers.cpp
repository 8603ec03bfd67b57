#include "module/text_helpers.h"

#include "automation/vb_format.h"
#include "automation/vb_runtime.h"
#include "automation/vb_strings.h"
#include "components/suite_utility.h"
#include "forms/ui_host.h"
#include "module/module_state.h"
#include "sql/sql_text.h"

namespace quillon::module {

namespace {

std::string asDateText(std::string_view text) {
  return automation::Format(automation::Variant(text), "YYYY-MM-DD");
}

bool startsWith(std::string_view text, const automation::Variant& prefix) {
  const std::string p = prefix.isNull() ? std::string() : prefix.toString();
  return automation::Left(text, automation::Len(p)) == p;
}

}  // namespace

std::string DateRangeCondition(std::string_view field, std::string_view lower,
                               std::string_view upper) {
  const std::string f(field);
  if (lower.empty() && upper.empty()) return {};
  if (lower.empty()) return f + " <= " + sql::literal(asDateText(upper));
  const std::string lo = asDateText(lower);
  if (upper.empty()) return f + " >= " + sql::literal(lo);
  const std::string up = asDateText(upper);
  if (up == lo) return f + " = " + sql::literal(lo);
  if (up > lo) return f + " >= " + sql::literal(lo) + " AND    " + f + " <= " + sql::literal(up);
  return f + " >= " + sql::literal(up) + " AND " + f + " <= " + sql::literal(lo);
}

void FilterKeyAscii(int& keyAscii) {
  switch (keyAscii) {
    case '|':
    case '~':
    case '[':
    case ']':
    case '\'':
    case '@':
    case '"':
    case '<':
    case '&':
      keyAscii = 0;
      forms::Beep();
      break;
    default:
      break;
  }
}

automation::Variant NullDefault(const automation::Variant& value,
                                const automation::Variant& fallback) {
  return value.isNull() ? fallback : value;
}

double ToNumber(const automation::Variant& text) {
  if (components::suiteUtility()->isEmptyValue(text)) return 0;
  return automation::Variant(automation::Replace(text.toString(), ",", "")).toDouble();
}

bool StartsWithAny(std::string_view text, const automation::Variant& prefixes) {
  if (!prefixes.isArray()) return startsWith(text, prefixes);
  const auto& array = *prefixes.asArray();
  for (std::size_t i = 0; i < array.items.size(); ++i) {
    gStartsIndex = array.lowerBound + static_cast<std::int32_t>(i);
    if (startsWith(text, array.items[i])) return true;
  }
  return false;
}

}  // namespace quillon::module
