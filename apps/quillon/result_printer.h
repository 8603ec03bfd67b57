// Printers for the results of a T-SQL batch, one per output format of `quillon sql`. A printer
// receives the batch's results as they come and writes them to a stream; finish() completes the
// output, also after a failed statement, so what was printed stays well-formed. csv and json write
// each row as it is read, so memory does not grow with a result; a table needs the widths of all
// its rows before its first line, and keeps them meanwhile in a temporary file (in memory a few
// MiB at a time). A failed write of the output ends the result with OutputFailed (row_output.h).
//
//  table  aligned columns (by display width, so Chinese text lines up) with a header and a
//         separator line, NULL for nulls, "(N rows)" after each result and "(N rows affected)"
//         for each statement without one.
//  csv    RFC 4180: a header line, CRLF line ends, fields quoted when they hold a comma, a quote or
//         a line break; a null is an empty field, an empty text is "". Result sets are separated
//         by an empty line.
//  json   an array of result sets, each an array of objects keyed by column name: numbers as
//         numbers, nulls (and the infinities JSON cannot hold) as null, text and blobs as strings.
#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <string_view>

#include "sql/result.h"

namespace quillon::cli {

enum class OutputFormat { Table, Csv, Json };

std::optional<OutputFormat> parseOutputFormat(std::string_view name);

class ResultPrinter : public sql::ResultHandler {
 public:
  virtual void finish() {}
  // On a server too, each result comes a batch of rows at a time.
  bool streamsRows() const override { return true; }
};

std::unique_ptr<ResultPrinter> makePrinter(OutputFormat format, std::ostream& out);

}  // namespace quillon::cli
