// `quillon sql --db FILE [--format table|csv|json] "T-SQL batch"`

#include <cerrno>
#include <cstdio>
#include <iostream>

#include "args.h"
#include "automation/com_error.h"
#include "commands.h"
#include "result_printer.h"
#include "row_output.h"
#include "sql/database.h"

namespace quillon::cli {
namespace {

// The batch on standard input. Reading stops one byte past the longest batch the library
// translates, so an endless or huge input is refused without being held first.
std::string readStandardInput() {
  std::string text;
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) {
    text.append(buffer, n);
    if (text.size() > sql::kMaxBatchBytes) break;
  }
  return text;
}

}  // namespace

int cmdSql(std::span<const std::string> args) {
  const ParsedArgs parsed = parseArgs(args, {.withValue = {"--db", "--format"}, .flags = {}});
  const std::string db = parsed.required("--db");
  if (db.empty()) throw UsageError("--db needs a file name");
  const auto format = parseOutputFormat(parsed.option("--format").value_or("table"));
  if (!format) throw UsageError("--format must be table, csv or json");
  if (parsed.positional().size() != 1)
    throw UsageError(parsed.positional().empty() ? "missing T-SQL batch"
                                                 : "give the T-SQL batch as one argument");

  std::string batch = parsed.positional().front();
  if (batch == "-") batch = readStandardInput();

  auto printer = makePrinter(*format, std::cout);
  try {
    auto database = sql::Database::open(db, sql::OpenMode::CreateIfMissing);
    // The printers write each row as it is read, so memory does not grow with a result. An
    // account file is read through the engine's own small page cache, as its shell reads it,
    // not through the mapping the library reads lists with: every mapped page the batch touched
    // would stay resident, a large account's worth for a large result.
    database->readWithoutMapping();
    database->execute(batch, *printer);
  } catch (const OutputFailed& e) {
    // No point in reading further rows. A reader that went away (`quillon sql ... | head`) has
    // what it wanted; anything else (a full disk) is said.
    if (e.error() != EPIPE) std::cerr << "error: " << e.what() << '\n';
    return 1;
  } catch (const automation::ComError& e) {
    // What the statements before the failing one produced is still printed, and complete.
    printer->finish();
    std::cout.flush();
    std::cerr << "error " << e.number() << ": " << e.description() << '\n';
    return 1;
  }
  printer->finish();
  return 0;
}

}  // namespace quillon::cli
