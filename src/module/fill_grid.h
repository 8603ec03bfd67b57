// FillGridFromRecordset: fills a spread grid from a recordset — column 0 the marks, one column
// per field headed by the field's name — and, on a line grid, appends the four quantity columns:
// what is still open (quantity, pieces) and what is taken this time (quantity, pieces; editable,
// at first the open ones or the saved values).
//
// The caller says what the grid holds (LineGrid):
//   Order     order lines          open = iQuantity - iArrQTY - iReceivedQTY (never below 0),
//                                  pieces iNum - iArrNum - iReceivedNum; its "iquantity" and
//                                  "inum" columns show what is still due (less iArrQTY/iArrNum)
//   Arrival   arrival-note lines   open = iQuantity - fValidInQuan, pieces iNum - fValidInNum
//   Delivery  delivery-note lines  open = iQuantity - fOutQuantity ("0" once the issued
//                                  quantity reaches the quantity, by magnitude), pieces
//                                  iNum - fOutNum
//   None      a head grid: the field columns only.
// Null counts as 0. Lines of a fixed-rate unit group (igrouptype 1) with a rate take their
// piece counts from their quantities. Quantities show with QuanDecDgt decimals ("##0." and as
// many "0"), pieces with NumDecDgt, the exchange rate with ExchRateDecDgt.
//
// Replace mode gives the grid the recordset's rows alone; append mode adds them below the rows
// already there, whose cells and marks stay. The rows are those of the recordset's view (its
// filter applied), read without moving its cursor; they are not changed.
#pragma once

#include <string>
#include <string_view>

namespace quillon::ado {
class Recordset;
}
namespace quillon::forms {
class MsSuperGrid;
}

namespace quillon::module {

// What a grid's rows are: a head grid (None) or the lines of an order, an arrival note or a
// delivery note. The dialog that owns the grid says which; the grid's own name plays no part.
enum class LineGrid { None, Order, Arrival, Delivery };

// Captions of the four computed columns of a line grid, in column order.
struct LineColumnCaptions {
  std::string_view openQuantity;
  std::string_view openPieces;
  std::string_view thisQuantity;
  std::string_view thisPieces;
};
// nullptr for LineGrid::None.
const LineColumnCaptions* lineColumnCaptions(LineGrid grid);
inline constexpr int kLineColumnCount = 4;

// The decimals and rounding patterns of the account (settings "QuanDecDgt", "NumDecDgt",
// "ExchRateDecDgt", "FormatQuanDecString").
struct GridNumberFormats {
  int quantityDigits = 2;
  int piecesDigits = 2;
  int exchRateDigits = 4;
  std::string quantityRounding = "##0.00";

  std::string quantityPattern() const;
  std::string piecesPattern() const;
  std::string exchRatePattern() const;
};
// The formats of gContext's account settings (the defaults above without a session).
GridNumberFormats CurrentGridFormats();

// Replace or append `rs`'s rows; `filled` becomes True when rows were added. `saved`, when
// given, holds this time's quantity and pieces of every appended row under "出库数量" and
// "出库件数" (under "退回数量" and "退回件数" for a line whose quantity is negative, where the
// saved rows have them), read at its current row — a picker's chosen stock row.
// Without `formats` the account's are read (CurrentGridFormats, one settings query each); a dialog
// that fills its grids over and over reads them once and passes them.
void FillGridFromRecordset(forms::MsSuperGrid& grid, LineGrid kind, ado::Recordset& rs,
                           bool& filled, const ado::Recordset* saved, bool append);
void FillGridFromRecordset(forms::MsSuperGrid& grid, LineGrid kind, ado::Recordset& rs,
                           bool& filled, const ado::Recordset* saved, bool append,
                           const GridNumberFormats& formats);

}  // namespace quillon::module
