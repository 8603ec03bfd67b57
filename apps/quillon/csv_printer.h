// The `csv` output format (see result_printer.h).
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "result_printer.h"

namespace quillon::cli {

// One field as RFC 4180 writes it: quoted (with quotes doubled) when it holds a comma, a quote,
// CR or LF, and also when it is empty, so that an empty text differs from a null.
std::string csvField(std::string_view text);

class CsvPrinter : public ResultPrinter {
 public:
  explicit CsvPrinter(std::ostream& out) : out_(out) {}
  void onResultSet(sql::Cursor& cursor) override;

 private:
  std::ostream& out_;
  bool first_ = true;
};

}  // namespace quillon::cli
