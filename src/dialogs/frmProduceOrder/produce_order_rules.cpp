#include "dialogs/frmProduceOrder/produce_order_rules.h"

#include "dialogs/frmProduceOrder/produce_order_messages.h"

namespace quillon::dialogs::produce_order {

QueryVariant queryVariant(bool bOI, int voucherType) {
  if (bOI) return QueryVariant::OI;
  return voucherType == kReceiptVoucherType ? QueryVariant::Type39 : QueryVariant::Plain;
}

AllLinesStart allLinesStart(int voucherType) {
  if (voucherType == kReceiptVoucherType) return {false, false, true};
  return {true, true, false};
}

std::string_view captionAfterTabSwitch(int previousTab) {
  return previousTab == 0 ? kCaptionAfterFirstTab : kCaptionOtherwise;
}

}  // namespace quillon::dialogs::produce_order
