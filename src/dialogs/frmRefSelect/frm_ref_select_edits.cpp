// The edit rules of frmRefSelect: a changed this-time cell, and the requested quantity, pieces and
// conversion rate in the header.
#include <cmath>

#include "ado/recordset.h"
#include "automation/variant.h"
#include "dialogs/frmRefSelect/allocation.h"
#include "dialogs/frmRefSelect/frm_ref_select.h"
#include "dialogs/frmRefSelect/ref_messages.h"
#include "dialogs/frmRefSelect/ref_text.h"
#include "forms/ui_host.h"

namespace quillon::dialogs {

using automation::Variant;
using namespace ref_select;

namespace {

void refuse(std::string_view text) {
  forms::MsgBox(std::string(text), forms::vbInformation, std::string(kPromptTitle));
}

// The header item's value: its trimmed text, 0 when empty or still half-typed ("-", ".").
double headValue(const forms::HeadItem& item) {
  return textNumber(item.Text()).value_or(0);
}

}  // namespace

bool frmRefSelect::refusesSign(double value) const {
  if (IsRedVouch && value > 0) {
    refuse(kRedNoPositive);
    return true;
  }
  if (!IsRedVouch && value < 0) {
    refuse(kBlueNoNegative);
    return true;
  }
  return false;
}

void frmRefSelect::cellChange(std::string& text, bool& cancel, int row, int col) {
  if (row < 1 || (col != colThis_ && col != colThisNum_) || col <= 0) return;
  if (!applyCellRule(row, col, text)) {
    cancel = true;
    return;
  }
  if (col == colThis_) {
    // The grid stores the text after this event; keep the running sum in step with it.
    const auto r = static_cast<std::size_t>(row);
    const double value = textNumber(text).value_or(0);
    if (spgList.TextMatrix(0, row) == "Y") allocated_ += value - rowQty_[r];
    rowQty_[r] = value;
  }
}

bool frmRefSelect::applyCellRule(int row, int col, const std::string& text) {
  if (text.find_first_not_of(" \t") == std::string::npos) return true;
  const std::optional<double> number = textNumber(text);
  if (!number) {
    refuse(kNotANumber);
    return false;
  }
  const double value = *number;
  if (refusesSign(value)) return false;

  double rate = ExchRate;
  if (colStockNum_ > 0) {
    const double stockNum = cellNumber(colStockNum_, row);
    rate = stockNum == 0 ? 0 : cellNumber(colStock_, row) / stockNum;
  }
  if (col == colThis_) {
    writeField(row, colThisName_, value);
    if (rate != 0) {
      const std::string pieces = formatNum(value / rate);
      writeField(row, colThisNumName_, textNumber(pieces).value_or(0));
      if (colThisNum_ > 0) spgList.setTextMatrix(colThisNum_, row, pieces);
    }
  } else {
    writeField(row, colThisNumName_, value);
    if (rate != 0) {
      const std::string qty = formatQty(value * rate);
      writeField(row, colThisName_, textNumber(qty).value_or(0));
      setQtyCell(row, qty);
    }
  }
  return true;
}

void frmRefSelect::quantityChange(bool& cancel) {
  const double value = headValue(hdiQuantity);
  if (value * Quantity < 0) {
    refuse(kSignFixed);
    cancel = true;
    return;
  }
  if (refusesSign(value)) {
    cancel = true;
    return;
  }
  bool again = false;
  const double allocated = std::fabs(Quantity - remaining_);
  if (remaining_ == Quantity) {
    Quantity = remaining_ = value;
  } else if (std::fabs(value) >= allocated) {
    remaining_ += value - Quantity;
    Quantity = value;
  } else {
    const std::string question =
        std::string(kLessThanAllocatedQty) + plainNumber(allocated) + std::string(kAllocateAgain);
    if (forms::MsgBox(question, forms::vbYesNo + forms::vbQuestion, std::string(kPromptTitle)) !=
        forms::vbYes) {
      cancel = true;
      return;
    }
    Quantity = remaining_ = value;
    again = true;
  }
  if (Num == 0 && ExchRate != 0) {
    hdiNum.setText(formatNum(Quantity / ExchRate));
    Num = headValue(hdiNum);
    remainingNum_ = Num;
  }
  if (Num != 0) {
    hdiExchRate.setText(formatRate(Quantity / Num));
    ExchRate = headValue(hdiExchRate);
  }
  if (again) {
    std::string message;
    AutoMatch(message);
  }
}

void frmRefSelect::piecesChange(bool& cancel) {
  const double value = headValue(hdiNum);
  if (value * Num < 0) {
    refuse(kSignFixed);
    cancel = true;
    return;
  }
  if (refusesSign(value)) {
    cancel = true;
    return;
  }
  bool again = false;
  const double allocated = std::fabs(Num - remainingNum_);
  if (remainingNum_ == Num) {
    Num = remainingNum_ = value;
  } else if (std::fabs(value) >= allocated) {
    remainingNum_ += value - Num;
    Num = value;
  } else {
    const std::string question =
        std::string(kLessThanAllocatedNum) + plainNumber(allocated) + std::string(kAllocateAgain);
    if (forms::MsgBox(question, forms::vbYesNo + forms::vbQuestion, std::string(kPromptTitle)) !=
        forms::vbYes) {
      cancel = true;
      return;
    }
    Num = remainingNum_ = value;
    again = true;
  }
  // The quantity follows the pieces as the pieces follow the quantity.
  if (Quantity == 0 && ExchRate != 0) {
    hdiQuantity.setText(formatQty(Num * ExchRate));
    Quantity = headValue(hdiQuantity);
    remaining_ = Quantity;
  }
  if (Num != 0 && Quantity != 0) {
    hdiExchRate.setText(formatRate(Quantity / Num));
    ExchRate = headValue(hdiExchRate);
  }
  if (again) {
    std::string message;
    AutoMatch(message);
  }
}

void frmRefSelect::rateChange(bool& cancel) {
  const std::optional<double> rate = textNumber(hdiExchRate.Text());
  if (!rate) return;  // empty, or not a number yet ("-", ".")
  if (*rate < 0) {
    refuse(kRateNotNegative);
    cancel = true;
    return;
  }
  ExchRate = *rate;
  if (Num != 0) {
    hdiQuantity.setText(formatQty(*rate * Num));
    const double quantity = headValue(hdiQuantity);
    remaining_ += quantity - Quantity;
    Quantity = quantity;
  } else if (Quantity != 0 && *rate != 0) {
    hdiNum.setText(formatNum(Quantity / *rate));
    Num = headValue(hdiNum);
    remainingNum_ = Num;
  }
}

}  // namespace quillon::dialogs
