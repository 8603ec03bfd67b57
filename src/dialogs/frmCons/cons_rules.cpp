#include "dialogs/frmCons/cons_rules.h"

#include <cmath>

#include "components/suite_utility.h"
#include "dialogs/frmCons/cons_messages.h"

namespace quillon::dialogs::cons {

namespace {

bool oppositeSigns(double a, double b) {
  return (a > 0 && b < 0) || (a < 0 && b > 0);
}

std::string_view signWord(double value) {
  return value > 0 ? kPositive : kNegative;
}

double rounded(double v, std::string_view pattern) {
  return components::suiteUtility()->roundByFormat(v, pattern);
}

// What binary fractions leave over in the over-issue ratio (110 on 100 at 10 % is no excess).
constexpr double kRatioSlack = 1e-9;

}  // namespace

std::vector<std::string> vouchTypeItems() {
  return {"", "发货单", "委托代销发货单", "普通发票", "专用发票", "销售调拨单", "销售日报"};
}

std::vector<std::string> busTypeItems() {
  return {"", "普通销售", "分期收款", "委托代销"};
}

std::optional<std::string> signRefusal(bool piecesColumn, double value, double lineQuantity) {
  if (!oppositeSigns(value, lineQuantity)) return std::nullopt;
  return std::string(piecesColumn ? kPiecesSignHead : kQuantitySignHead) +
         std::string(signWord(value));
}

std::optional<std::string> issueLimitRefusal(double total, const DeliveryLineFigures& line,
                                             bool overDispOut, std::string_view rounding) {
  if (overDispOut && line.quantity != 0) {
    if ((line.issued + total - line.quantity) / line.quantity > line.excess + kRatioSlack) {
      return std::string(kAboveIssueLimit);
    }
    return std::nullopt;
  }
  if (std::fabs(rounded(total, rounding)) > std::fabs(rounded(line.open, rounding))) {
    return std::string(kAboveOpenQuantity);
  }
  return std::nullopt;
}

std::optional<std::string> lineSignRefusal(double thisQuantity, double loadedQuantity) {
  if (thisQuantity * loadedQuantity >= 0) return std::nullopt;
  return std::string(kLineSignHead) + std::string(signWord(thisQuantity));
}

int flagOf(int check2Value) {
  return check2Value == 1 ? 1 : 0;
}

void collectBulkMessage(std::string& collected, std::string_view text, std::string_view start) {
  if (text.empty() || text == start) return;
  collected += text;
  collected += "\r\n";
}

}  // namespace quillon::dialogs::cons
