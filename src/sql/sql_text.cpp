#include "sql/sql_text.h"

#include <charconv>
#include <cmath>

#include "automation/com_error.h"

namespace quillon::sql {

std::string literal(double value) {
  if (!std::isfinite(value)) {
    throw automation::ComError::overflow();
  }
  if (value == 0) return "0";  // also -0, which would otherwise read "(-0)"
  char buffer[32];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  (void)ec;  // 32 characters hold every double's shortest form
  std::string text(buffer, end);
  return value < 0 ? "(" + text + ")" : text;
}

std::string identifier(std::string_view outsideText) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(outsideText.size() + 1);
  if (!outsideText.empty() && outsideText.front() >= '0' && outsideText.front() <= '9') {
    out.push_back('_');
  }
  for (const char c : outsideText) {
    const auto byte = static_cast<unsigned char>(c);
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_') {
      out.push_back(c);
    } else if (c == '-') {
      out.push_back('_');
    } else {
      out.push_back('x');
      out.push_back(kHex[byte >> 4]);
      out.push_back(kHex[byte & 0xF]);
    }
  }
  return out;
}

}  // namespace quillon::sql
