#include "csv_printer.h"

#include "cell_text.h"

namespace quillon::cli {

std::string csvField(std::string_view text) {
  if (!text.empty() && text.find_first_of(",\"\r\n") == std::string_view::npos)
    return std::string(text);
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

void CsvPrinter::onResultSet(sql::Cursor& cursor) {
  if (!first_) out_ << "\r\n";
  first_ = false;
  const std::size_t count = cursor.columnCount();
  for (std::size_t c = 0; c < count; ++c) {
    if (c > 0) out_ << ',';
    out_ << csvField(sanitizeUtf8(cursor.columns()[c].name));
  }
  out_ << "\r\n";
  while (cursor.next()) {
    for (std::size_t c = 0; c < count; ++c) {
      if (c > 0) out_ << ',';
      const Cell cell = readCell(cursor, c);
      if (!cell.isNull) out_ << csvField(cell.text);
    }
    out_ << "\r\n";
  }
}

}  // namespace quillon::cli
