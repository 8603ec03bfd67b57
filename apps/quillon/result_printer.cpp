#include "result_printer.h"

#include "csv_printer.h"
#include "json_printer.h"
#include "table_printer.h"

namespace quillon::cli {

std::optional<OutputFormat> parseOutputFormat(std::string_view name) {
  if (name == "table") return OutputFormat::Table;
  if (name == "csv") return OutputFormat::Csv;
  if (name == "json") return OutputFormat::Json;
  return std::nullopt;
}

std::unique_ptr<ResultPrinter> makePrinter(OutputFormat format, std::ostream& out) {
  switch (format) {
    case OutputFormat::Csv:
      return std::make_unique<CsvPrinter>(out);
    case OutputFormat::Json:
      return std::make_unique<JsonPrinter>(out);
    case OutputFormat::Table:
      break;
  }
  return std::make_unique<TablePrinter>(out);
}

}  // namespace quillon::cli
