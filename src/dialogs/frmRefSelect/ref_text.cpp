#include "dialogs/frmRefSelect/ref_text.h"

#include "automation/vb_runtime.h"

namespace quillon::dialogs::ref_select {

std::optional<double> textNumber(std::string_view text) {
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
