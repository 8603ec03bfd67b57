#include "json_printer.h"

#include <vector>

#include "cell_text.h"

namespace quillon::cli {

std::string jsonString(std::string_view raw) {
  static constexpr char kHex[] = "0123456789abcdef";
  const std::string text = sanitizeUtf8(raw);
  std::string out = "\"";
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      default:
        if (c < 0x20 || c == 0x7F) {
          out += "\\u00";
          out += kHex[c >> 4];
          out += kHex[c & 0xF];
        } else {
          out += ch;
        }
    }
  }
  out += '"';
  return out;
}

void JsonPrinter::open() {
  if (opened_) return;
  out_ << '[';
  opened_ = true;
}

void JsonPrinter::onResultSet(sql::Cursor& cursor) {
  open();
  out_ << (anySet_ ? ",\n  [" : "\n  [");
  anySet_ = true;
  std::vector<std::string> keys;
  for (const sql::ColumnInfo& info : cursor.columns()) keys.push_back(jsonString(info.name));

  bool anyRow = false;
  // Close the set even when a row fails half-way, so the output stays one valid document.
  struct CloseSet {
    std::ostream& out;
    const bool& anyRow;
    ~CloseSet() { out << (anyRow ? "\n  ]" : "]"); }
  } closeSet{out_, anyRow};

  while (cursor.next()) {
    std::string row = anyRow ? ",\n    {" : "\n    {";
    for (std::size_t c = 0; c < keys.size(); ++c) {
      if (c > 0) row += ", ";
      row += keys[c];
      row += ": ";
      const Cell cell = readCell(cursor, c);
      const bool notJsonNumber =
          cell.isNumber && (cell.text == "inf" || cell.text == "-inf" || cell.text == "nan");
      if (cell.isNull || notJsonNumber)
        row += "null";
      else if (cell.isNumber)
        row += cell.text;
      else
        row += jsonString(cell.text);
    }
    row += '}';
    out_ << row;  // whole rows only, so a failure never leaves half an object
    anyRow = true;
  }
}

void JsonPrinter::finish() {
  if (finished_) return;
  finished_ = true;
  open();
  out_ << (anySet_ ? "\n]\n" : "]\n");
}

}  // namespace quillon::cli
