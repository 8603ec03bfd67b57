#include "cell_text.h"

#include <array>
#include <charconv>
#include <cmath>

#include "automation/utf8.h"
#include "display_width.h"

namespace quillon::cli {
namespace {

// The shortest text that reads back as the same double; "inf", "-inf", "nan" for the rest.
void appendReal(std::string& out, double value) {
  if (std::isnan(value)) {
    out += "nan";
    return;
  }
  if (std::isinf(value)) {
    out += value > 0 ? "inf" : "-inf";
    return;
  }
  std::array<char, 64> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  out.append(buffer.data(), result.ptr);
}

void appendFixed(std::string& out, double value, int scale) {
  if (!std::isfinite(value)) return appendReal(out, value);
  std::array<char, 400> buffer{};  // enough for DBL_MAX in fixed notation
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::fixed, scale);
  if (result.ec != std::errc{}) return appendReal(out, value);
  out.append(buffer.data(), result.ptr);
}

void appendHex(std::string& out, std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out.reserve(out.size() + 2 + bytes.size() * 2);
  out += "0x";
  for (const char b : bytes) {
    const auto v = static_cast<unsigned char>(b);
    out += kHex[v >> 4];
    out += kHex[v & 0xF];
  }
}

}  // namespace

int decimalScale(const sql::ColumnInfo& column) {
  if (column.baseType == "decimal" || column.baseType == "numeric") return column.scale;
  if (column.baseType == "money") return 4;
  return -1;
}

std::string formatReal(double value) {
  std::string out;
  appendReal(out, value);
  return out;
}

std::string formatFixed(double value, int scale) {
  std::string out;
  appendFixed(out, value, scale);
  return out;
}

std::string hexBlob(std::span<const std::byte> bytes) {
  std::string out;
  appendHex(out, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  return out;
}

void appendSanitizedUtf8(std::string& out, std::string_view text) {
  // Most text is ASCII: it goes as it is, up to the first byte that starts a longer sequence.
  std::size_t pos = 0;
  while (pos < text.size() && static_cast<unsigned char>(text[pos]) < 0x80) ++pos;
  out.append(text.substr(0, pos));
  while (pos < text.size()) {
    const std::size_t start = pos;
    const char32_t cp = automation::utf8::decodeAt(text, pos);
    if (automation::utf8::isRawByte(cp))
      automation::utf8::append(out, automation::utf8::kReplacementCharacter);
    else
      out.append(text.substr(start, pos - start));
  }
}

std::string sanitizeUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  appendSanitizedUtf8(out, text);
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

void appendCellText(std::string& out, const sql::CellView& value, int scale) {
  switch (value.kind) {
    case sql::ValueKind::Null:
      break;
    case sql::ValueKind::Integer: {
      std::array<char, 24> buffer{};
      const auto result =
          std::to_chars(buffer.data(), buffer.data() + buffer.size(), value.integer);
      out.append(buffer.data(), result.ptr);
      if (scale > 0) {
        out += '.';
        out.append(static_cast<std::size_t>(scale), '0');
      }
      break;
    }
    case sql::ValueKind::Real:
      if (scale >= 0)
        appendFixed(out, value.real, scale);
      else
        appendReal(out, value.real);
      break;
    case sql::ValueKind::Text:
      appendSanitizedUtf8(out, value.text);
      break;
    case sql::ValueKind::Blob:
      appendHex(out, value.text);
      break;
  }
}

Cell readCell(const sql::Cursor& cursor, std::size_t column) {
  Cell cell;
  sql::CellView value;
  value.kind = cursor.kind(column);
  switch (value.kind) {
    case sql::ValueKind::Null:
      cell.text = "NULL";
      cell.isNull = true;
      return cell;
    case sql::ValueKind::Integer:
      value.integer = cursor.int64(column);
      cell.isNumber = true;
      break;
    case sql::ValueKind::Real:
      value.real = cursor.real(column);
      cell.isNumber = true;
      break;
    case sql::ValueKind::Text:
      value.text = cursor.text(column);
      break;
    case sql::ValueKind::Blob: {
      const std::span<const std::byte> bytes = cursor.blob(column);
      value.text = std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
      break;
    }
  }
  appendCellText(cell.text, value, decimalScale(cursor.columns()[column]));
  return cell;
}

}  // namespace quillon::cli
