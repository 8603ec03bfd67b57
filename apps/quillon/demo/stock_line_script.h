// The host script behind the demo window's current-stock buttons: one stock voucher line (a
// warehouse, an item, a quantity, blue or red) referred by hand through `Refer` or allocated
// silently through `AutoRefer`, written as a person would write it in a host script file so the
// transcript reads like any example's.
#pragma once

#include <string>

namespace quillon::cli::demo {

struct StockLine {
  std::string warehouse;  // cWhCode
  std::string item;       // cInvCode
  double quantity = 0;    // as entered; a red line takes it negated
  bool red = false;       // a red (return) voucher line
};

enum class StockReferCall { Refer, AutoRefer };

// A host-script text literal holding exactly `value`: in double quotes, with quotes, backslashes
// and line breaks escaped, so no value can end the literal early or spill onto another line.
std::string scriptText(const std::string& value);

// The script for `line` logged in as `user`: the suite's current-stock query for the line, the
// reference call with the arguments in the order the examples use, then ReturnData into $data.
// AutoRefer runs silent: its shortfall comes back in $err instead of a message box.
std::string stockLineScript(const StockLine& line, StockReferCall call, const std::string& user);

}  // namespace quillon::cli::demo
