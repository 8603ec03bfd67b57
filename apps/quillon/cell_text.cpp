#include "cell_text.h"

#include <array>
#include <charconv>
#include <cmath>

#include "automation/utf8.h"
#include "display_width.h"

namespace quillon::cli {
namespace {

// The declared scale of a decimal column, or -1 when values should show as they are.
int decimalScale(const sql::ColumnInfo& info) {
  if (info.baseType == "decimal" || info.baseType == "numeric") return info.scale;
  if (info.baseType == "money") return 4;
  return -1;
}

}  // namespace

std::string formatReal(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  std::array<char, 64> buffer{};
  auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return std::string(buffer.data(), result.ptr);
}

std::string formatFixed(double value, int scale) {
  if (!std::isfinite(value)) return formatReal(value);
  std::array<char, 400> buffer{};  // enough for DBL_MAX in fixed notation
  auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                              std::chars_format::fixed, scale);
  if (result.ec != std::errc{}) return formatReal(value);
  return std::string(buffer.data(), result.ptr);
}

std::string hexBlob(std::span<const std::byte> bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out = "0x";
  out.reserve(2 + bytes.size() * 2);
  for (std::byte b : bytes) {
    const auto v = std::to_integer<unsigned>(b);
    out += kHex[v >> 4];
    out += kHex[v & 0xF];
  }
  return out;
}

std::string sanitizeUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    const char32_t cp = automation::utf8::decodeAt(text, pos);
    if (automation::utf8::isRawByte(cp))
      automation::utf8::append(out, automation::utf8::kReplacementCharacter);
    else
      out.append(text.substr(start, pos - start));
  }
  return out;
}

std::string escapeControls(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(text.size());
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c == 0x7F) {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    } else {
      out += ch;
    }
  }
  return out;
}

Cell readCell(const sql::Cursor& cursor, std::size_t column) {
  Cell cell;
  const int scale = decimalScale(cursor.columns()[column]);
  switch (cursor.kind(column)) {
    case sql::ValueKind::Null:
      cell.text = "NULL";
      cell.isNull = true;
      break;
    case sql::ValueKind::Integer:
      cell.isNumber = true;
      cell.text = std::to_string(cursor.int64(column));
      if (scale > 0) cell.text += '.' + std::string(static_cast<std::size_t>(scale), '0');
      break;
    case sql::ValueKind::Real:
      cell.isNumber = true;
      cell.text =
          scale >= 0 ? formatFixed(cursor.real(column), scale) : formatReal(cursor.real(column));
      break;
    case sql::ValueKind::Text:
      cell.text = sanitizeUtf8(cursor.text(column));
      break;
    case sql::ValueKind::Blob:
      cell.text = hexBlob(cursor.blob(column));
      break;
  }
  return cell;
}

}  // namespace quillon::cli
