#include "table_printer.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "cell_text.h"
#include "display_width.h"
#include "row_output.h"

namespace quillon::cli {
namespace {

struct Column {
  std::string header;
  std::size_t width = 0;
};

void pad(std::string& line, std::size_t count) {
  line.append(count, ' ');
}

// One cell as the table prints it.
struct ShownCell {
  std::string_view text;
  std::size_t width = 0;
  bool rightAligned = false;
};

// The rows of a result as the table prints them, kept until every width is known: each cell's
// text, display width and alignment, in memory up to kMemoryLimit bytes at a time; past that they
// go to a temporary file, read back in the same pieces when the table is printed, so that a
// result of any size takes the same memory. Where no temporary file can be made, they stay in
// memory.
class TableRows {
 public:
  static constexpr std::size_t kMemoryLimit = 4 * 1024 * 1024;

  TableRows() = default;
  ~TableRows() {
    if (file_ != nullptr) std::fclose(file_);
  }
  TableRows(const TableRows&) = delete;
  TableRows& operator=(const TableRows&) = delete;

  void add(std::string_view text, std::size_t width, bool rightAligned) {
    putNumber(chunk_, width * 2 + (rightAligned ? 1 : 0));
    putNumber(chunk_, text.size());
    chunk_.append(text);
  }
  void endRow() {
    ++rows_;
    if (chunk_.size() >= kMemoryLimit) spill();
  }
  std::size_t rows() const { return rows_; }

  // Calls print(cells) for every row, in order.
  template <class Print>
  void forEach(std::size_t columns, Print&& print) {
    std::vector<ShownCell> cells(columns);
    if (file_ != nullptr) {
      std::rewind(file_);
      std::string piece;
      std::uint64_t size = 0;
      while (std::fread(&size, sizeof size, 1, file_) == 1) {
        piece.resize(size);
        if (std::fread(piece.data(), 1, piece.size(), file_) != piece.size()) failed("read");
        printRows(piece, cells, print);
      }
      if (std::ferror(file_) != 0) failed("read");
    }
    printRows(chunk_, cells, print);
  }

 private:
  static void putNumber(std::string& out, std::size_t n) {
    while (n >= 0x80) {
      out += static_cast<char>((n & 0x7F) | 0x80);
      n >>= 7;
    }
    out += static_cast<char>(n);
  }
  static std::size_t getNumber(std::string_view in, std::size_t& pos) {
    std::size_t n = 0;
    for (int shift = 0; pos < in.size(); shift += 7) {
      const auto byte = static_cast<unsigned char>(in[pos++]);
      n |= static_cast<std::size_t>(byte & 0x7F) << shift;
      if (byte < 0x80) break;
    }
    return n;
  }
  template <class Print>
  static void printRows(std::string_view piece, std::vector<ShownCell>& cells, Print& print) {
    std::size_t pos = 0;
    while (pos < piece.size()) {
      for (ShownCell& cell : cells) {
        const std::size_t shape = getNumber(piece, pos);
        const std::size_t size = getNumber(piece, pos);
        cell.width = shape / 2;
        cell.rightAligned = (shape & 1) != 0;
        cell.text = piece.substr(pos, size);
        pos += size;
      }
      print(cells);
    }
  }
  void spill() {
    if (file_ == nullptr && !inMemory_) {
      file_ = std::tmpfile();
      inMemory_ = file_ == nullptr;
    }
    if (inMemory_) return;
    const std::uint64_t size = chunk_.size();
    if (std::fwrite(&size, sizeof size, 1, file_) != 1 ||
        std::fwrite(chunk_.data(), 1, chunk_.size(), file_) != chunk_.size()) {
      failed("write");
    }
    chunk_.clear();
  }
  [[noreturn]] static void failed(const char* what) {
    throw std::runtime_error(std::string("could not ") + what +
                             " the temporary file that holds the rows of a table");
  }

  std::string chunk_;
  std::FILE* file_ = nullptr;
  bool inMemory_ = false;
  std::size_t rows_ = 0;
};

}  // namespace

void TablePrinter::separate() {
  // A blank line sets a table off from whatever follows it.
  if (afterTable_) out_ << '\n';
  afterTable_ = false;
}

void TablePrinter::onResultSet(sql::Cursor& cursor) {
  // Widths depend on every row, so the whole result is read before anything is printed; the
  // rows are kept as they will be printed (TableRows), in memory or in a temporary file.
  std::vector<Column> columns;
  std::vector<int> scales;
  for (const sql::ColumnInfo& info : cursor.columns()) {
    Column column;
    column.header = escapeControls(sanitizeUtf8(info.name));
    column.width = displayWidth(column.header);
    columns.push_back(std::move(column));
    scales.push_back(decimalScale(info));
  }
  TableRows rows;
  std::vector<sql::CellView> row(columns.size());
  std::string text;
  while (cursor.next()) {
    cursor.readRow(row);
    for (std::size_t c = 0; c < columns.size(); ++c) {
      const sql::CellView& value = row[c];
      text.clear();
      if (value.kind == sql::ValueKind::Null)
        text = "NULL";
      else
        appendCellText(text, value, scales[c]);
      const std::string shown = escapeControls(text);
      const std::size_t width = displayWidth(shown);
      columns[c].width = std::max(columns[c].width, width);
      rows.add(shown, width,
               value.kind == sql::ValueKind::Integer || value.kind == sql::ValueKind::Real);
    }
    rows.endRow();
  }

  separate();
  RowOutput output(out_);
  std::string& line = output.text();
  auto emit = [&](auto&& cellOf) {
    for (std::size_t c = 0; c < columns.size(); ++c) {
      const ShownCell cell = cellOf(c);
      const std::size_t gap = columns[c].width - cell.width;
      if (c > 0) line += " | ";
      if (cell.rightAligned) {
        pad(line, gap);
        line += cell.text;
      } else {
        line += cell.text;
        if (c + 1 < columns.size()) pad(line, gap);  // no trailing blanks
      }
    }
    line += '\n';
    output.endRow();
  };
  emit([&](std::size_t c) {
    return ShownCell{columns[c].header, displayWidth(columns[c].header)};
  });
  for (std::size_t c = 0; c < columns.size(); ++c) {
    if (c > 0) line += "-+-";
    line.append(columns[c].width, '-');
  }
  line += '\n';
  output.endRow();
  rows.forEach(columns.size(), [&](const std::vector<ShownCell>& cells) {
    emit([&](std::size_t c) { return cells[c]; });
  });
  line += '(' + std::to_string(rows.rows()) + (rows.rows() == 1 ? " row)" : " rows)") + '\n';
  output.endRow();
  afterTable_ = true;
}

void TablePrinter::onRowsAffected(std::int64_t rows) {
  separate();
  out_ << '(' << rows << (rows == 1 ? " row affected)" : " rows affected)") << '\n';
}

}  // namespace quillon::cli
