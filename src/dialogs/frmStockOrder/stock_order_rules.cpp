#include "dialogs/frmStockOrder/stock_order_rules.h"

#include <cmath>

#include "components/suite_utility.h"
#include "dialogs/frmStockOrder/stock_order_messages.h"
#include "dialogs/frmStockOrder/stock_order_queries.h"

namespace quillon::dialogs::stock_order {

namespace {

double rounded(double v, std::string_view pattern) {
  return components::suiteUtility()->roundByFormat(v, pattern);
}

bool exceedsByMagnitude(double value, double limit, std::string_view pattern) {
  return std::fabs(rounded(value, pattern)) > std::fabs(rounded(limit, pattern));
}

bool oppositeSigns(double a, double b) {
  return (a > 0 && b < 0) || (a < 0 && b > 0);
}

// What binary fractions leave over in the over-receipt ratio (110 on 100 at 10 % is no excess).
constexpr double kRatioSlack = 1e-9;

}  // namespace

bool consignmentBoxEnabled(std::string_view sysVersion) {
  return sysVersion != kIndustrialEdition;
}

bool isCommercial(std::string_view sysVersion) {
  return sysVersion == kCommercialEdition;
}

std::vector<std::string> businessTypes(bool commercial) {
  std::vector<std::string> items{"", std::string(kOrdinaryPurchase)};
  if (commercial) items.emplace_back(kConsignment);
  return items;
}

std::optional<ConsignmentBox> consignmentBoxAfter(std::string_view busType, bool commercial) {
  if (busType == kConsignment) return ConsignmentBox{2, false};
  if (commercial) return ConsignmentBox{0, true};
  return std::nullopt;
}

bool consignmentOnly(bool commercial, int consignmentBoxValue) {
  return commercial && consignmentBoxValue != 0;
}

std::optional<std::string_view> tabSwitchQuestion(int previousTab, bool suppressed,
                                                  bool firstDisplay) {
  if (firstDisplay || suppressed) return std::nullopt;
  return previousTab == kOrderTab ? kLeaveOrders : kLeaveArrivals;
}

std::optional<std::string> piecesSignFirst(int groupType, double newQuantity, double thisPieces) {
  if (groupType != 2 || !oppositeSigns(newQuantity, thisPieces)) return std::nullopt;
  return std::string(kPiecesFirstHead) + (newQuantity < 0 ? "负" : "正") +
         std::string(kPiecesFirstTail);
}

std::optional<std::string> orderLineEdit(bool piecesColumn, double newValue,
                                         const OrderLineFigures& line, bool overOrder,
                                         std::string_view quantityRounding) {
  if (newValue < 0) {
    const double received = piecesColumn ? line.receivedPieces : line.received;
    if (std::fabs(newValue) > received) return std::string(kReturnAboveReceived);
    return std::nullopt;
  }
  if (piecesColumn || newValue == 0) return std::nullopt;
  if (overOrder) {
    const double q = line.orderQuantity;
    if (q == 0 || (newValue + line.received - q) / q > line.excess + kRatioSlack) {
      return std::string(kAboveReceiptLimit);
    }
    return std::nullopt;
  }
  if (exceedsByMagnitude(newValue, line.openQuantity, quantityRounding)) {
    return std::string(kAboveOpenQuantity);
  }
  return std::nullopt;
}

std::optional<std::string> arrivalLineEdit(bool piecesColumn, double newValue, double oldValue,
                                           double openValue, std::string_view rounding) {
  if (oppositeSigns(newValue, oldValue)) {
    return std::string(piecesColumn ? kPiecesSignHead : kQuantitySignHead) +
           std::string(newValue > 0 ? kPositive : kNegative);
  }
  if (exceedsByMagnitude(newValue, openValue, rounding)) {
    return std::string(piecesColumn ? kAboveOpenPieces : kAboveOpenQuantity);
  }
  return std::nullopt;
}

std::string_view emptyHeadMessage(int tab) {
  return tab == kArrivalTab ? kNoArrivalHead : kNoOrderHead;
}

std::string headBusinessType(std::string_view busType, int consignmentBoxValue) {
  if (!busType.empty()) return std::string(busType);
  return std::string(consignmentBoxValue == 0 ? kOrdinaryPurchase : kConsignment);
}

bool takenWhole(double loadedQuantity, double thisQuantity, std::string_view rounding) {
  return rounded(loadedQuantity, rounding) == rounded(thisQuantity, rounding);
}

}  // namespace quillon::dialogs::stock_order
