#include "module/fill_grid.h"

#include <cmath>
#include <optional>
#include <vector>

#include "ado/fields.h"
#include "ado/recordset.h"
#include "ado/recordset_view.h"
#include "automation/text_compare.h"
#include "automation/vb_format.h"
#include "components/session_context.h"
#include "components/suite_utility.h"
#include "forms/recordset_rows.h"
#include "forms/scope_guard.h"
#include "forms/super_grid.h"
#include "module/account_settings.h"
#include "module/module_state.h"

namespace quillon::module {

namespace {

constexpr LineColumnCaptions kReceiptCaptions{"未入库数量", "未入库件数", "本次入库数量",
                                              "本次入库件数"};
constexpr LineColumnCaptions kIssueCaptions{"未出库数量", "未出库件数", "本次出库数量",
                                            "本次出库件数"};

std::string digitsPattern(int digits) {
  return "##0." + std::string(static_cast<std::size_t>(digits > 0 ? digits : 0), '0');
}

// Text fields' ADO types: their columns take the field's defined size as maximum length.
bool isTextType(std::int32_t type) {
  return type == 8 || type == 129 || type == 130 || type == 200 || type == 201 || type == 202 ||
         type == 203;
}

// The fields the quantity columns are computed from, found once per fill.
struct QuantityFields {
  std::optional<std::size_t> quantity, arrQty, receivedQty, num, arrNum, receivedNum;
  std::optional<std::size_t> validInQuan, validInNum, outQuantity, outNum, exchRate, groupType;
};

QuantityFields findQuantityFields(const std::vector<std::string>& lowerNames) {
  QuantityFields q;
  for (std::size_t i = 0; i < lowerNames.size(); ++i) {
    const std::string& n = lowerNames[i];
    auto take = [&](const char* name, std::optional<std::size_t>& slot) {
      if (n == name && !slot) slot = i;
    };
    take("iquantity", q.quantity);
    take("iarrqty", q.arrQty);
    take("ireceivedqty", q.receivedQty);
    take("inum", q.num);
    take("iarrnum", q.arrNum);
    take("ireceivednum", q.receivedNum);
    take("fvalidinquan", q.validInQuan);
    take("fvalidinnum", q.validInNum);
    take("foutquantity", q.outQuantity);
    take("foutnum", q.outNum);
    take("iinvexchrate", q.exchRate);
    take("igrouptype", q.groupType);
  }
  return q;
}

double number(const automation::Variant& v) {
  if (v.isNull() || v.isEmpty()) return 0;
  if (v.isNumber()) return v.toDouble();
  // A text field holding a number, as the suite's numeric conversion reads it.
  return components::suiteUtility()->fieldToNumber(v);
}

// Columns a person edits on a line grid; every other column is locked.
bool editableLineField(const std::string& lower) {
  return lower == "cwhname" || lower == "cbatch" || lower == "cinvouchcode" || lower == "dvdate" ||
         lower == "dpdate" || lower == "dmadedate" || lower == "cinva_unit" ||
         lower.starts_with("cfree");
}

// Cells whose button opens a picker or a list: the warehouse, the batch and the receipt voucher,
// the stock unit and the free items.
bool buttonLineField(LineGrid grid, const std::string& lower) {
  return lower == "cwhname" || lower == "cbatch" || lower == "cinvouchcode" ||
         lower == "cinva_unit" || lower.starts_with("cfree") ||
         (grid == LineGrid::Delivery && lower == "ccode");
}

class Filler {
 public:
  Filler(forms::MsSuperGrid& grid, LineGrid kind, ado::Recordset& rs, const ado::Recordset* saved,
         const GridNumberFormats& formats)
      : grid_(grid),
        view_(ado::RecordsetView::growing(rs)),
        saved_(saved),
        kind_(kind),
        quantityPattern_(formats.quantityPattern()),
        piecesPattern_(formats.piecesPattern()),
        exchPattern_(formats.exchRatePattern()),
        rounding_(formats.quantityRounding) {
    for (int f = 0; f < view_.fieldCount(); ++f) {
      names_.push_back(view_.fieldName(f));
      lower_.push_back(automation::asciiLower(names_.back()));
    }
    q_ = findQuantityFields(lower_);
    for (const auto& n : lower_) shown_.push_back(shownAs(n));
  }

  int fieldCount() const { return static_cast<int>(names_.size()); }
  int columnCount() const { return fieldCount() + 1 + (kind_ == LineGrid::None ? 0 : 4); }

  void writeHeader() {
    grid_.setTextMatrix(0, 0, "选择");
    grid_.setColLock(0, true);
    for (int f = 0; f < fieldCount(); ++f) {
      const int col = f + 1;
      const std::string& lower = lower_[static_cast<std::size_t>(f)];
      grid_.setTextMatrix(col, 0, names_[static_cast<std::size_t>(f)]);
      const bool line = kind_ != LineGrid::None;
      grid_.setColFormat(col, columnFormat(lower, line));
      grid_.setColLock(col, !(line && editableLineField(lower)));
      grid_.setColButton(col, line && buttonLineField(kind_, lower));
      // Read from the view, not the recordset's fields: a recordset still loading stays so.
      const ado::FieldDef& field = view_.fieldDef(f);
      grid_.setColMaxLength(
          col, isTextType(field.type) && field.definedSize > 0 ? field.definedSize : 0);
    }
    const LineColumnCaptions* computed = lineColumnCaptions(kind_);
    if (computed == nullptr) return;
    const LineColumnCaptions& c = *computed;
    const int first = fieldCount() + 1;
    const std::string_view captions[] = {c.openQuantity, c.openPieces, c.thisQuantity,
                                         c.thisPieces};
    for (int k = 0; k < 4; ++k) {
      const int col = first + k;
      grid_.setTextMatrix(col, 0, std::string(captions[k]));
      grid_.setColFormat(col, k % 2 == 0 ? quantityPattern_ : piecesPattern_);
      grid_.setColLock(col, k < 2);
      grid_.setColButton(col, false);
      grid_.setColMaxLength(col, 0);
    }
  }

  int rowCount() const { return view_.rowCount(); }
  // Rows still loading are read now: only a head grid whose rows are bound shows them as they
  // come.
  void loadAll() { view_.growToEnd(); }

  // The display format of a field's column: the exchange rate's, and on a line grid the quantity
  // and pieces patterns for the line's quantities, so they read with the account's decimals.
  std::string columnFormat(const std::string& lower, bool line) const {
    if (lower == "iinvexchrate") return exchPattern_;
    if (!line) return {};
    if (lower == "iquantity" || lower == "iarrqty" || lower == "ireceivedqty" ||
        lower == "fvalidinquan" || lower == "foutquantity") {
      return quantityPattern_;
    }
    if (lower == "inum" || lower == "iarrnum" || lower == "ireceivednum" ||
        lower == "fvalidinnum" || lower == "foutnum") {
      return piecesPattern_;
    }
    return {};
  }

  // A grid without computed columns shows each field's text (the exchange rate formatted): its
  // rows can be read from the recordset when a cell is looked at.
  bool bindsRows() const {
    if (kind_ != LineGrid::None) return false;
    for (const Shown s : shown_) {
      if (s != Shown::Plain && s != Shown::ExchRate) return false;
    }
    return true;
  }
  std::shared_ptr<forms::RecordsetRows> rows() const {
    auto rows = std::make_shared<forms::RecordsetRows>(view_);
    for (int f = 0; f < fieldCount(); ++f) {
      if (shown_[static_cast<std::size_t>(f)] == Shown::ExchRate) rows->setFormat(f, exchPattern_);
    }
    return rows;
  }

  void writeRows(int firstRow) {
    for (row_ = 0; row_ < view_.rowCount(); ++row_) writeRow(firstRow + row_);
  }

 private:
  automation::Variant field(const std::optional<std::size_t>& index) const {
    return index ? view_.value(row_, static_cast<int>(*index)) : automation::Variant();
  }
  double num(const std::optional<std::size_t>& index) const { return number(field(index)); }
  std::string quantityText(double v) const { return automation::formatNumber(v, quantityPattern_); }
  std::string piecesText(double v) const { return automation::formatNumber(v, piecesPattern_); }
  double rounded(double v) const { return components::suiteUtility()->roundByFormat(v, rounding_); }

  void writeRow(int row) {
    const double rate = num(q_.exchRate);
    const bool fixedRate = num(q_.groupType) == 1 && rate != 0;
    for (int f = 0; f < fieldCount(); ++f) {
      const auto index = static_cast<std::size_t>(f);
      grid_.setTextMatrix(f + 1, row, fieldText(index, fixedRate, rate));
    }
    if (kind_ == LineGrid::None) return;

    const int first = fieldCount() + 1;
    double open = 0;
    double openNum = 0;
    std::string openText;
    switch (kind_) {
      case LineGrid::Order:
        open = num(q_.quantity) - num(q_.arrQty) - num(q_.receivedQty);
        openNum = num(q_.num) - num(q_.arrNum) - num(q_.receivedNum);
        break;
      case LineGrid::Arrival:
        open = num(q_.quantity) - num(q_.validInQuan);
        openNum = num(q_.num) - num(q_.validInNum);
        break;
      case LineGrid::Delivery:
        open = num(q_.quantity) - num(q_.outQuantity);
        openNum = num(q_.num) - num(q_.outNum);
        break;
      case LineGrid::None:
        break;
    }
    bool closedOut = false;
    if (kind_ == LineGrid::Order && open < 0) closedOut = true;
    if (kind_ == LineGrid::Delivery &&
        std::fabs(rounded(num(q_.outQuantity))) >= std::fabs(rounded(num(q_.quantity)))) {
      closedOut = true;
    }
    openText = closedOut ? std::string("0") : quantityText(open);
    const double openForPieces = closedOut ? 0 : open;
    std::string openNumText;
    if (num(q_.groupType) == 1 && rate != 0) {
      openNumText = piecesText(openForPieces / rate);
    } else if (kind_ == LineGrid::Order && openNum < 0) {
      // An order line received beyond its quantity has no pieces left either.
      openNumText = "0";
    } else {
      openNumText = piecesText(openNum);
    }
    grid_.setTextMatrix(first, row, openText);
    grid_.setTextMatrix(first + 1, row, openNumText);

    if (saved_ == nullptr) {
      grid_.setTextMatrix(first + 2, row, openText);
      grid_.setTextMatrix(first + 3, row, openNumText);
      return;
    }
    const bool red = num(q_.quantity) < 0 && ado::hasField(*saved_, "退回数量");
    grid_.setTextMatrix(first + 2, row,
                        quantityText(number(saved_->value(red ? "退回数量" : "出库数量"))));
    grid_.setTextMatrix(first + 3, row,
                        piecesText(number(saved_->value(red ? "退回件数" : "出库件数"))));
  }

  // How a field's value is shown, decided once per fill from its name and the grid.
  enum class Shown {
    Plain,
    ExchRate,
    ValidInNum,
    ReceivedNum,
    OutNum,
    DueQuantity,
    DueNum,
    Quantity,
    Pieces
  };

  Shown shownAs(const std::string& n) const {
    if (n == "iinvexchrate") return Shown::ExchRate;
    if (n == "fvalidinnum") return Shown::ValidInNum;
    if (n == "ireceivednum") return Shown::ReceivedNum;
    if (n == "foutnum" && kind_ != LineGrid::Delivery) return Shown::OutNum;
    if (kind_ == LineGrid::Order) {
      // What is still due on the order, net of what arrival notes already carry.
      if (n == "iquantity") return Shown::DueQuantity;
      if (n == "inum") return Shown::DueNum;
    }
    if (kind_ == LineGrid::Delivery) {
      if (n == "iquantity" || n == "foutquantity") return Shown::Quantity;
      if (n == "inum") return Shown::Pieces;
      if (n == "foutnum") return Shown::OutNum;
    }
    return Shown::Plain;
  }

  std::string fieldText(std::size_t index, bool fixedRate, double rate) const {
    const automation::Variant v = view_.value(row_, static_cast<int>(index));
    switch (shown_[index]) {
      case Shown::Plain:
        break;
      case Shown::ExchRate:
        return v.isNull() ? std::string() : automation::Format(v, exchPattern_);
      case Shown::ValidInNum:
        if (fixedRate) return piecesText(num(q_.validInQuan) / rate);
        break;
      case Shown::ReceivedNum:
        if (fixedRate) return piecesText(num(q_.receivedQty) / rate);
        break;
      case Shown::OutNum:
        if (fixedRate) return piecesText(num(q_.outQuantity) / rate);
        if (kind_ == LineGrid::Delivery) return piecesText(number(v));
        break;
      case Shown::DueQuantity:
        return quantityText(number(v) - num(q_.arrQty));
      case Shown::DueNum:
        return piecesText(number(v) - num(q_.arrNum));
      case Shown::Quantity:
        return quantityText(number(v));
      case Shown::Pieces:
        return piecesText(number(v));
    }
    return v.displayText();
  }

  forms::MsSuperGrid& grid_;
  ado::RecordsetView view_;
  int row_ = 0;  // the view's row being written
  const ado::Recordset* saved_;
  LineGrid kind_;
  std::string quantityPattern_;
  std::string piecesPattern_;
  std::string exchPattern_;
  std::string rounding_;
  std::vector<std::string> names_;
  std::vector<std::string> lower_;
  std::vector<Shown> shown_;
  QuantityFields q_;
};

}  // namespace

const LineColumnCaptions* lineColumnCaptions(LineGrid grid) {
  switch (grid) {
    case LineGrid::Order:
    case LineGrid::Arrival:
      return &kReceiptCaptions;
    case LineGrid::Delivery:
      return &kIssueCaptions;
    case LineGrid::None:
      break;
  }
  return nullptr;
}

std::string GridNumberFormats::quantityPattern() const {
  return digitsPattern(quantityDigits);
}
std::string GridNumberFormats::piecesPattern() const {
  return digitsPattern(piecesDigits);
}
std::string GridNumberFormats::exchRatePattern() const {
  return digitsPattern(exchRateDigits);
}

GridNumberFormats CurrentGridFormats() {
  GridNumberFormats formats;
  if (!gContext) return formats;
  auto& settings = CurrentAccountSettings();
  formats.quantityDigits = settings.digits("QuanDecDgt");
  formats.piecesDigits = settings.digits("NumDecDgt");
  formats.exchRateDigits = settings.digits("ExchRateDecDgt");
  formats.quantityRounding = settings.text("FormatQuanDecString");
  return formats;
}

void FillGridFromRecordset(forms::MsSuperGrid& grid, LineGrid kind, ado::Recordset& rs,
                           bool& filled, const ado::Recordset* saved, bool append) {
  FillGridFromRecordset(grid, kind, rs, filled, saved, append, CurrentGridFormats());
}

void FillGridFromRecordset(forms::MsSuperGrid& grid, LineGrid kind, ado::Recordset& rs,
                           bool& filled, const ado::Recordset* saved, bool append,
                           const GridNumberFormats& formats) {
  const auto redraw = forms::redrawPaused(grid);
  Filler filler(grid, kind, rs, saved, formats);
  // Appending to a grid without data rows starts it afresh: its caption row is written too.
  const bool fresh = !append || grid.Rows() <= 1;
  if (!fresh || !filler.bindsRows()) filler.loadAll();
  const int records = filler.rowCount();
  int firstRow = 1;
  if (fresh) {
    grid.setRows(1);
    grid.Clear();
    grid.setCols(filler.columnCount());
    grid.setRowHeight(0, forms::MsSuperGrid::kDefaultRowHeight);
    filler.writeHeader();
    if (filler.bindsRows()) {
      // A head grid shows its fields as they are: its rows are bound, not copied.
      grid.bindRows(filler.rows(), records);
      filled = records > 0;
      return;
    }
    grid.setRows(records + 1);
  } else {
    firstRow = grid.Rows();
    grid.setRows(firstRow + records);
  }
  filler.writeRows(firstRow);
  filled = records > 0;
}

}  // namespace quillon::module
