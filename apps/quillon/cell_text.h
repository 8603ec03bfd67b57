// Turning the values of a result into text for the command's output formats.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "sql/result.h"

namespace quillon::cli {

struct Cell {
  std::string text;  // valid UTF-8; "NULL" for a null
  bool isNull = false;
  bool isNumber = false;
};

// Reads the current row's value of one column. Numbers of a decimal column show the column's
// scale (8 in a decimal(20,6) column is "8.000000"); other reals show the shortest text that reads
// back as the same double. Blobs show as 0x and upper-case hex. Malformed UTF-8 becomes U+FFFD.
Cell readCell(const sql::Cursor& cursor, std::size_t column);

// The scale a column's numbers show with: the declared scale of a decimal column (4 for money),
// -1 for other columns, whose values show as they are.
int decimalScale(const sql::ColumnInfo& column);

// Appends the text readCell gives a value that is not null, for a column of `scale`
// (decimalScale): the printers that stream build their rows with it, one cell after another.
void appendCellText(std::string& out, const sql::CellView& value, int scale);

// Appends the text with every malformed UTF-8 sequence replaced by U+FFFD.
void appendSanitizedUtf8(std::string& out, std::string_view text);

// Shortest round-trip text of a double ("0.1", "1e+20"); "inf", "-inf", "nan" for the rest.
std::string formatReal(double value);
// Fixed-point text with `scale` digits after the point.
std::string formatFixed(double value, int scale);

std::string hexBlob(std::span<const std::byte> bytes);

// The text with every malformed UTF-8 sequence replaced by U+FFFD.
std::string sanitizeUtf8(std::string_view text);

// Control characters made visible for one-line display: \n, \r, \t and \xNN.
std::string escapeControls(std::string_view text);

}  // namespace quillon::cli
