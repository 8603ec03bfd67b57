#include "table_printer.h"

#include <vector>

#include "cell_text.h"
#include "display_width.h"

namespace quillon::cli {
namespace {

struct Column {
  std::string header;
  std::size_t width = 0;
};

void pad(std::string& line, std::size_t count) {
  line.append(count, ' ');
}

}  // namespace

void TablePrinter::separate() {
  // A blank line sets a table off from whatever follows it.
  if (afterTable_) out_ << '\n';
  afterTable_ = false;
}

void TablePrinter::onResultSet(sql::Cursor& cursor) {
  // Widths depend on every row, so the whole result is read before anything is printed.
  std::vector<Column> columns;
  for (const sql::ColumnInfo& info : cursor.columns()) {
    Column column;
    column.header = escapeControls(sanitizeUtf8(info.name));
    column.width = displayWidth(column.header);
    columns.push_back(std::move(column));
  }
  std::vector<std::vector<Cell>> rows;
  while (cursor.next()) {
    std::vector<Cell> row;
    row.reserve(columns.size());
    for (std::size_t c = 0; c < columns.size(); ++c) {
      Cell cell = readCell(cursor, c);
      cell.text = escapeControls(cell.text);
      columns[c].width = std::max(columns[c].width, displayWidth(cell.text));
      row.push_back(std::move(cell));
    }
    rows.push_back(std::move(row));
  }

  separate();
  std::string line;
  auto emit = [&](auto&& textOf, auto&& rightAligned) {
    line.clear();
    for (std::size_t c = 0; c < columns.size(); ++c) {
      const std::string& text = textOf(c);
      const std::size_t gap = columns[c].width - displayWidth(text);
      if (c > 0) line += " | ";
      if (rightAligned(c)) {
        pad(line, gap);
        line += text;
      } else {
        line += text;
        if (c + 1 < columns.size()) pad(line, gap);  // no trailing blanks
      }
    }
    out_ << line << '\n';
  };
  emit([&](std::size_t c) -> const std::string& { return columns[c].header; },
       [](std::size_t) { return false; });
  line.clear();
  for (std::size_t c = 0; c < columns.size(); ++c) {
    if (c > 0) line += "-+-";
    line.append(columns[c].width, '-');
  }
  out_ << line << '\n';
  for (const auto& row : rows) {
    emit([&](std::size_t c) -> const std::string& { return row[c].text; },
         [&](std::size_t c) { return row[c].isNumber; });
  }
  out_ << '(' << rows.size() << (rows.size() == 1 ? " row)" : " rows)") << '\n';
  afterTable_ = true;
}

void TablePrinter::onRowsAffected(std::int64_t rows) {
  separate();
  out_ << '(' << rows << (rows == 1 ? " row affected)" : " rows affected)") << '\n';
}

}  // namespace quillon::cli
