#include "dialogs/frmWWProduceOrder/ww_produce_order_rules.h"

#include <algorithm>

#include "automation/numeric_text.h"
#include "automation/text_compare.h"
#include "automation/variant.h"
#include "automation/vb_format.h"
#include "automation/vb_strings.h"
#include "dialogs/frmWWProduceOrder/ww_produce_order_messages.h"

namespace quillon::dialogs::ww_produce_order {

Mode modeOf(bool bOI, bool concessionChecked) {
  if (!bOI) return Mode::Issue;
  return concessionChecked ? Mode::Concession : Mode::Receipt;
}

HeaderStatement headerStatementOf(Mode mode, int voucherType) {
  switch (mode) {
    case Mode::Receipt:
      return HeaderStatement::Product1;
    case Mode::Concession:
      return HeaderStatement::YbjsProduct;
    case Mode::Issue:
      break;
  }
  return voucherType == kType39 ? HeaderStatement::ProductX : HeaderStatement::ProductZ;
}

LineStatement lineStatementOf(Mode mode, int voucherType) {
  switch (mode) {
    case Mode::Receipt:
      return LineStatement::PoMain;
    case Mode::Concession:
      return LineStatement::YbjsPoMain;
    case Mode::Issue:
      break;
  }
  return voucherType == kType39 ? LineStatement::PoMainX : LineStatement::PoMainZ;
}

std::string_view lineTable(bool bOI) {
  return bOI ? "qm_ncheckvoucher" : "OM_POMain";
}

bool severalOrders(int voucherType) {
  return voucherType == 0 || voucherType == kKitVoucherType || voucherType == kConcessionTypeA ||
         voucherType == kConcessionTypeB;
}

bool originalOnly(int voucherType, bool bIsSTQc) {
  return bIsSTQc && (voucherType == kConcessionTypeA || voucherType == kConcessionTypeB);
}

bool allSwitchEnabled(int voucherType) {
  return voucherType != kType39;
}

bool concessionBoxVisible(int voucherType) {
  return voucherType == kConcessionTypeA || voucherType == kConcessionTypeB;
}

bool kitBoxVisible(int voucherType) {
  return voucherType == kKitVoucherType;
}

bool checksLimitRequisition(int voucherType) {
  return voucherType != kIssueVoucherType;
}

int kitDecimals(std::string_view quantityFormat) {
  const auto dot = quantityFormat.find('.');
  if (dot == std::string_view::npos) return 0;
  return static_cast<int>(quantityFormat.size() - dot - 1);
}

bool optionSet(std::string_view value) {
  const std::string v = automation::LCase(automation::Trim(value));
  return v == "true" || v == "1";
}

std::string idList(const std::vector<std::string>& keys) {
  std::string out = "(";
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (i > 0) out += ",";
    out += keys[i];
  }
  return out + ")";
}

bool sameVendor(const std::vector<std::string>& markedVendors, std::string_view vendor) {
  const std::string code = automation::Trim(vendor);
  return std::all_of(markedVendors.begin(), markedVendors.end(),
                     [&](const std::string& v) { return automation::Trim(v) == code; });
}

std::optional<double> cellNumber(std::string_view text) {
  if (automation::Trim(text).empty()) return std::nullopt;
  return automation::parseNumericText(text);
}

KitMaterial kitMaterial(std::string_view productThisTime, std::string_view productQuantity,
                        std::string_view materialQuantity, std::string_view exchangeRate,
                        std::string_view quantityFormat) {
  KitMaterial out;
  const auto taken = cellNumber(productThisTime);
  const auto ordered = cellNumber(productQuantity);
  const auto material = cellNumber(materialQuantity);
  if (!taken || !ordered || !material || *ordered == 0) return out;
  const std::string quantity =
      automation::Format(automation::Variant(*taken * *material / *ordered), quantityFormat);
  out.quantity = quantity;
  const auto rate = cellNumber(exchangeRate);
  if (rate && *rate != 0) {
    const double shown = cellNumber(quantity).value_or(0);
    out.pieces = automation::Format(automation::Variant(shown / *rate), quantityFormat);
  }
  return out;
}

std::optional<std::string_view> stateRefusal(const std::vector<int>& states) {
  if (states.empty()) return kOrderMissing;
  if (std::find(states.begin(), states.end(), 3) != states.end()) return kOrderClosed;
  return std::nullopt;
}

std::optional<std::string_view> usedRefusal(const std::vector<bool>& used) {
  if (std::find(used.begin(), used.end(), true) != used.end()) return kLineTakenByRequisition;
  return std::nullopt;
}

std::vector<FieldFormat> cellFormatsOf(std::string_view listName) {
  using enum CellFormat;
  if (automation::equalsNoCase(listName, "VouchListB")) {
    return {
        {"fQuantity", Quantity},    {"iTookQuantity", Quantity},   {"iInvalidQuantity", Quantity},
        {"iCurQuantity", Quantity}, {"fInquantity", Quantity},     {"fNum", Pieces},
        {"fTookNum", Pieces},       {"iInvalidNum", Pieces},       {"iCurNum", Pieces},
        {"fInNum", Pieces},         {"iinvexchrate", ExchangeRate}};
  }
  if (automation::equalsNoCase(listName, "VouchListS")) {
    return {{"fQuantity", Quantity},
            {"fOutQuantity", Quantity},
            {"iCurOutQuantity", Quantity},
            {"ipsquantity", Quantity},
            {"fNum", Pieces},
            {"fOutNum", Pieces},
            {"iCurOutNum", Pieces},
            {"iinvexchrate", ExchangeRate}};
  }
  return {};
}

std::string propertyText(std::string_view stored) {
  const std::string value = automation::Trim(stored);
  if (value == "1") return "外协";
  if (value == "2") return "自制";
  return std::string(stored);
}

std::string_view captionForTab(int tab) {
  return tab == 0 ? "选择委外订单和委外的存货" : "选择委外计划和投产的存货";
}

}  // namespace quillon::dialogs::ww_produce_order
