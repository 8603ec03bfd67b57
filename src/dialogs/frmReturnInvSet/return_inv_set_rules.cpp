#include "dialogs/frmReturnInvSet/return_inv_set_rules.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "automation/vb_strings.h"
#include "dialogs/frmReturnInvSet/return_inv_set_messages.h"

namespace quillon::dialogs::return_inv_set {

std::optional<int> rowToLocate(std::string_view text, int rows) {
  const std::string trimmed = automation::Trim(text);
  if (trimmed.empty()) return std::nullopt;
  std::string_view digits = trimmed;
  if (digits.front() == '+') digits.remove_prefix(1);
  if (digits.empty() || std::isdigit(static_cast<unsigned char>(digits.front())) == 0) {
    return std::nullopt;
  }
  long value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  if (value < 1 || value > rows) return std::nullopt;
  return static_cast<int>(value);
}

std::string swapOrder(std::string_view caption) {
  // A placeholder no caption holds keeps the two replacements apart.
  constexpr std::string_view kHold = "\x01";
  std::string text = automation::Replace(caption, kAscending, kHold);
  text = automation::Replace(text, kDescending, kAscending);
  return automation::Replace(text, kHold, kDescending);
}

bool listDescending(std::string_view caption) {
  return caption.find(kAscending) != std::string_view::npos;
}

int clampBorder(int border, int formWidth) {
  const int most = std::max(kMinPane, formWidth - kMinPane);
  return std::clamp(border, kMinPane, most);
}

}  // namespace quillon::dialogs::return_inv_set
