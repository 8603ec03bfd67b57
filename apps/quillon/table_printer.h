// The `table` output format (see result_printer.h).
#pragma once

#include <ostream>

#include "result_printer.h"

namespace quillon::cli {

class TablePrinter : public ResultPrinter {
 public:
  explicit TablePrinter(std::ostream& out) : out_(out) {}
  void onResultSet(sql::Cursor& cursor) override;
  void onRowsAffected(std::int64_t rows) override;

 private:
  void separate();

  std::ostream& out_;
  bool afterTable_ = false;
};

}  // namespace quillon::cli
