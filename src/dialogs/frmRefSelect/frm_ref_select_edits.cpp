// The edit rules of frmRefSelect: a changed this-time cell, and the requested quantity, pieces and
// conversion rate in the header.
#include <cmath>

#include "ado/recordset.h"
#include "automation/variant.h"
#include "automation/vb_format.h"
#include "dialogs/frmRefSelect/frm_ref_select.h"
#include "dialogs/frmRefSelect/ref_select_messages.h"
#include "dialogs/frmRefSelect/ref_select_queries.h"
#include "dialogs/frmRefSelect/ref_select_rules.h"

namespace quillon::dialogs {

using automation::Variant;
using namespace ref_select;

namespace {

// The header item's value: its trimmed text, 0 when empty or still half-typed ("-", ".").
double headValue(const forms::HeadItem& item) {
  return textNumber(item.Text()).value_or(0);
}

}  // namespace

bool frmRefSelect::wrongSign(double value) const {
  return IsRedVouch ? value > 0 : value < 0;
}

bool frmRefSelect::refusesSign(double value) const {
  if (!wrongSign(value)) return false;
  prompt(std::string(IsRedVouch ? kRedNoPositive : kBlueNoNegative));
  return true;
}

bool frmRefSelect::refusesOverStock(int row, int col, double value) {
  // Stocktaking counts what is there and a return goes back into stock: only an issue of a blue
  // voucher can take more than the row holds.
  if (stockNegative_ || IsRedVouch || RefFrom == kStocktaking || RefType == kRefReturn)
    return false;
  const int stockCol = col == colThis_ ? colStock_ : colStockNum_;
  if (stockCol <= 0) return false;
  const double stock = cellNumber(stockCol, row);
  const automation::NumberFormat& format = col == colThis_ ? qtyFormat_ : numFormat_;
  if (value <= format.shownValue(stock).value_or(stock) + 1e-9) return false;
  const int batchCol = spgList.colByCaption(kBatchField);
  const std::string batch = batchCol > 0 ? spgList.TextMatrix(batchCol, row) : std::string();
  prompt(overStockMessage(row, batch, col == colThis_ ? colThisName_ : colThisNumName_,
                          col == colThis_ ? colStockName_ : colStockNumName_,
                          format.format(stock)));
  return true;
}

std::string frmRefSelect::statusLine() const {
  std::string text = spgList.rowsStatus();
  if (text.empty() || colThis_ <= 0) return text;
  text += "；需求 " + qtyFormat_.format(Quantity) + "，已分配 " + qtyFormat_.format(allocated_) +
          "，尚需 " + qtyFormat_.format(Quantity - allocated_);
  if (stockNegative_ && !IsRedVouch && RefFrom != kStocktaking && RefType != kRefReturn) {
    text += "；" + std::string(kNegativeStockAllowed);
  }
  return text;
}

double frmRefSelect::rowRate(int row) {
  if (colStockNum_ <= 0) return ExchRate;
  const double stockNum = stockCell(colStockNum_, row);
  return stockNum == 0 ? 0 : stockCell(colStock_, row) / stockNum;
}

void frmRefSelect::cellChange(std::string& text, bool& cancel, int row, int col) {
  if (row < 1 || (col != colThis_ && col != colThisNum_) || col <= 0) return;
  if (const auto typed = textNumber(text); typed && refusesOverStock(row, col, *typed)) {
    cancel = true;
    return;
  }
  if (!applyCellRule(row, col, CellValue::ofText(text))) {
    cancel = true;
    return;
  }
  if (col == colThis_) {
    // The grid stores the text after this event; keep the running sum in step with it.
    const auto r = static_cast<std::size_t>(row);
    const double value = textNumber(text).value_or(0);
    if (spgList.isMarked(row)) allocated_ += value - rowQty(row);
    rowQty_[r] = value;
  }
}

bool frmRefSelect::applyCellRule(int row, int col, const CellValue& cell) {
  if (cell.blank()) return true;
  const std::optional<double>& number = cell.number;
  if (!number) {
    prompt(std::string(kNotANumber));
    return false;
  }
  const double value = *number;
  if (refusesSign(value)) return false;

  const double rate = rowRate(row);
  if (col == colThis_) {
    writeThisTime(row, positionOf(row), value, rate);
  } else {
    writeField(row, colThisNumName_, value);
    if (rate != 0) {
      const CellValue qty = qtyCell(value * rate);
      writeField(row, colThisName_, qty.number.value_or(0));
      setQtyCell(row, qty);
    }
  }
  return true;
}

void frmRefSelect::writeThisTime(int row, std::int32_t position, double qty, double rate,
                                 bool qtyCellWritten) {
  writeFieldAt(row, position, fieldPlace(colThisName_), qty, qtyCellWritten ? colThis_ : 0);
  if (rate == 0) return;
  const CellValue pieces = numCell(qty / rate);
  // The cell before the field: written first, it needs no pin to the text it was filled with.
  if (colThisNum_ > 0) {
    writeCell(colThisNum_, row, pieces);
    toggled_.pieces.reset();
  }
  writeFieldAt(row, position, fieldPlace(colThisNumName_), pieces.number.value_or(0), colThisNum_);
}

// One of the requested amounts as the header shows it.
struct frmRefSelect::HeadAmount {
  double& requested;
  double& remaining;
  forms::HeadItem& item;
  const automation::NumberFormat& format;
  std::string_view lessThanAllocated;
};

frmRefSelect::HeadAmount frmRefSelect::headAmount(Amount which) {
  if (which == Amount::Quantity) {
    return {Quantity, remaining_, hdiQuantity, qtyFormat_, kLessThanAllocatedQty};
  }
  return {Num, remainingNum_, hdiNum, numFormat_, kLessThanAllocatedNum};
}

void frmRefSelect::requestChange(Amount which, bool& cancel) {
  const bool quantity = which == Amount::Quantity;
  const HeadAmount edited = headAmount(which);
  const HeadAmount other = headAmount(quantity ? Amount::Pieces : Amount::Quantity);
  const double value = headValue(edited.item);
  if (value * edited.requested < 0) {
    prompt(std::string(kSignFixed));
    cancel = true;
    return;
  }
  if (refusesSign(value)) {
    cancel = true;
    return;
  }
  bool again = false;
  if (const auto next = changedRequest({edited.requested, edited.remaining}, value)) {
    edited.requested = next->requested;
    edited.remaining = next->remaining;
  } else {
    const double allocated = std::fabs(edited.requested - edited.remaining);
    const std::string question = std::string(edited.lessThanAllocated) + plainNumber(allocated) +
                                 std::string(kAllocateAgain);
    if (prompt(question, forms::vbYesNo + forms::vbQuestion) != forms::vbYes) {
      cancel = true;
      return;
    }
    edited.requested = edited.remaining = value;
    again = true;
  }
  // The other amount follows the edited one through the rate, when it has not been given.
  if (other.requested == 0 && ExchRate != 0) {
    const double derived = quantity ? Quantity / ExchRate : Num * ExchRate;
    other.item.setText(other.format.format(derived));
    other.requested = headValue(other.item);
    other.remaining = other.requested;
  }
  if (Num != 0 && (quantity || Quantity != 0)) {
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
    prompt(std::string(kRateNotNegative));
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
