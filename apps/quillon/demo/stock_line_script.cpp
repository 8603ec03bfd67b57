#include "demo/stock_line_script.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "script/script_parser.h"

namespace quillon::cli::demo {

namespace {

// A login option value may stand bare unless it would end early or start a comment there.
bool needsQuotes(std::string_view value) {
  if (value.empty()) return true;
  for (const char c : value) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '"' || c == '\\' || c == '#') {
      return true;
    }
  }
  return false;
}

// Written with a decimal point so the call receives a Double, as a voucher line's quantity is;
// the shortest text that reads back as the same number.
std::string quantityText(double quantity) {
  if (!std::isfinite(quantity)) quantity = 0;
  if (quantity == 0) quantity = 0;  // -0 would read "-0.0"
  char buffer[64];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, quantity);
  std::string text(buffer, ec == std::errc() ? end : buffer);
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

}  // namespace

std::string scriptText(const std::string& value) {
  return script::quoteText(value);
}

std::string stockLineScript(const StockLine& line, StockReferCall call, const std::string& user) {
  const std::string wh = scriptText(line.warehouse);
  const std::string inv = scriptText(line.item);
  const std::string quantity = quantityText(line.red ? -line.quantity : line.quantity);
  // login, warehouse, item, free items (none), quantity, pieces, rate, reference type 0 (batch
  // allocation over current stock), query, red, several rows, reference source
  const std::string args = "$login " + wh + " " + inv + " - " + quantity + " 0.0 0.0 0 $sql " +
                           (line.red ? "true" : "false") + " true \"\"";
  std::string script = "login user=" + (needsQuotes(user) ? scriptText(user) : user) + "\n";
  script += "new $q Quillon.Suite.StockQueries\n";
  script += "new $r Quillon.RefSelect\n";
  script += "$sql = call $q.CurrentStockSql " + wh + " " + inv + "\n";
  if (call == StockReferCall::AutoRefer) {
    script += "set $err = \"silent\"\n";
    script += "$ok = call $r.AutoRefer " + args + " $err\n";
  } else {
    script += "$ok = call $r.Refer " + args + "\n";
  }
  script += "$data = call $r.ReturnData\n";
  return script;
}

}  // namespace quillon::cli::demo
