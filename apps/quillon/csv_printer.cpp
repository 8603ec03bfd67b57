#include "csv_printer.h"

#include <vector>

#include "cell_text.h"
#include "row_output.h"

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
  RowOutput output(out_);
  std::string& text = output.text();
  if (!first_) text += "\r\n";
  first_ = false;
  const std::size_t count = cursor.columnCount();
  std::vector<int> scales(count);
  for (std::size_t c = 0; c < count; ++c) {
    if (c > 0) text += ',';
    text += csvField(sanitizeUtf8(cursor.columns()[c].name));
    scales[c] = decimalScale(cursor.columns()[c]);
  }
  text += "\r\n";
  output.endRow();
  // Each row as it is read: a row is built in the output's buffer, which is written in blocks.
  std::vector<sql::CellView> row(count);
  while (cursor.next()) {
    cursor.readRow(row);
    for (std::size_t c = 0; c < count; ++c) {
      if (c > 0) text += ',';
      const sql::CellView& value = row[c];
      if (value.kind == sql::ValueKind::Null) continue;
      const std::size_t start = text.size();
      appendCellText(text, value, scales[c]);
      // Numbers never need quotes; a text that does is written again, quoted.
      if (value.kind != sql::ValueKind::Text) continue;
      const std::string_view field(text.data() + start, text.size() - start);
      if (field.empty() || field.find_first_of(",\"\r\n") != std::string_view::npos) {
        const std::string quoted = csvField(field);
        text.resize(start);
        text += quoted;
      }
    }
    text += "\r\n";
    output.endRow();
  }
}

}  // namespace quillon::cli
