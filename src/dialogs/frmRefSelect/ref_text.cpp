#include "dialogs/frmRefSelect/ref_text.h"

#include <charconv>

#include "automation/vb_runtime.h"

namespace quillon::dialogs::ref_select {

std::optional<double> textNumber(std::string_view text) {
  // The grid's own cells are plain decimals ("4.00", "-2"); read those directly and leave
  // everything else (grouping, blanks, exponents) to the platform's numeric rules.
  if (!text.empty() && text.find_first_not_of("0123456789.-") == std::string_view::npos) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc() && end == text.data() + text.size()) return value;
  }
  std::string cleaned;
  cleaned.reserve(text.size());
  for (char c : text) {
    if (c != ',') cleaned.push_back(c);
  }
  const std::size_t first = cleaned.find_first_not_of(" \t");
  if (first == std::string::npos) return std::nullopt;
  const automation::Variant v(std::move(cleaned));
  if (!automation::IsNumeric(v)) return std::nullopt;
  return v.toDouble();
}

std::string plainNumber(double value) {
  return automation::Variant(value).toString();
}

}  // namespace quillon::dialogs::ref_select
