#include "json_printer.h"

#include <cmath>
#include <vector>

#include "automation/text_escape.h"
#include "cell_text.h"
#include "row_output.h"

namespace quillon::cli {

void appendJsonString(std::string& out, std::string_view raw) {
  static constexpr char kHex[] = "0123456789abcdef";
  // Text that is well-formed UTF-8 (nearly all) is escaped as it is; other text is made so first.
  std::string sanitized;
  std::string_view text = raw;
  for (const char ch : raw) {
    if (static_cast<unsigned char>(ch) >= 0x80) {
      sanitized = sanitizeUtf8(raw);
      text = sanitized;
      break;
    }
  }
  out += '"';
  for (char ch : text) {
    if (automation::appendBackslashEscape(out, ch, true)) continue;
    const auto c = static_cast<unsigned char>(ch);
    if (c == '\b') {
      out += "\\b";
    } else if (c == '\f') {
      out += "\\f";
    } else if (c < 0x20 || c == 0x7F) {
      out += "\\u00";
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    } else {
      out += ch;
    }
  }
  out += '"';
}

std::string jsonString(std::string_view raw) {
  std::string out;
  appendJsonString(out, raw);
  return out;
}

void JsonPrinter::open() {
  if (opened_) return;
  out_ << '[';
  opened_ = true;
}

void JsonPrinter::onResultSet(sql::Cursor& cursor) {
  open();
  RowOutput output(out_);
  std::string& text = output.text();
  text += anySet_ ? ",\n  [" : "\n  [";
  output.endRow();
  anySet_ = true;
  const std::size_t count = cursor.columnCount();
  std::vector<std::string> keys;
  std::vector<int> scales;
  for (const sql::ColumnInfo& info : cursor.columns()) {
    keys.push_back(jsonString(info.name) + ": ");
    scales.push_back(decimalScale(info));
  }

  bool anyRow = false;
  // Close the set even when a row fails half-way, so the output stays one valid document: the
  // unfinished row is dropped, the rows before it are kept.
  struct CloseSet {
    RowOutput& output;
    const bool& anyRow;
    ~CloseSet() {
      output.dropUnfinished();
      output.text() += anyRow ? "\n  ]" : "]";
      output.markFinished();
    }
  } closeSet{output, anyRow};

  std::vector<sql::CellView> row(count);
  while (cursor.next()) {
    cursor.readRow(row);
    text += anyRow ? ",\n    {" : "\n    {";
    for (std::size_t c = 0; c < count; ++c) {
      if (c > 0) text += ", ";
      text += keys[c];
      const sql::CellView& value = row[c];
      switch (value.kind) {
        case sql::ValueKind::Null:
          text += "null";
          break;
        case sql::ValueKind::Real:
          // The infinities and NaN are no JSON numbers.
          if (!std::isfinite(value.real)) {
            text += "null";
            break;
          }
          [[fallthrough]];
        case sql::ValueKind::Integer:
          appendCellText(text, value, scales[c]);
          break;
        case sql::ValueKind::Text:
          appendJsonString(text, value.text);
          break;
        case sql::ValueKind::Blob: {
          text += '"';
          appendCellText(text, value, scales[c]);
          text += '"';
          break;
        }
      }
    }
    text += '}';
    anyRow = true;
    output.endRow();
  }
}

void JsonPrinter::finish() {
  if (finished_) return;
  finished_ = true;
  open();
  out_ << (anySet_ ? "\n]\n" : "]\n");
}

}  // namespace quillon::cli
