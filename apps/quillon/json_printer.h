// The `json` output format (see result_printer.h).
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "result_printer.h"

namespace quillon::cli {

// A JSON string literal, quotes included. Non-ASCII text stays as UTF-8; control characters are
// escaped; malformed UTF-8 becomes U+FFFD.
std::string jsonString(std::string_view text);
void appendJsonString(std::string& out, std::string_view text);

class JsonPrinter : public ResultPrinter {
 public:
  explicit JsonPrinter(std::ostream& out) : out_(out) {}
  void onResultSet(sql::Cursor& cursor) override;
  void finish() override;

 private:
  void open();

  std::ostream& out_;
  bool opened_ = false;
  bool anySet_ = false;
  bool finished_ = false;
};

}  // namespace quillon::cli
