// The rules of the stock selection dialog, with no widget code: the numbers it reads from cells
// and header items, choosing one row against what is still wanted, automatic allocation stepping
// over the rows, and a changed request in the header. The form runs these same functions for a
// click in the mark column, for AutoMatch and for the header edits.
//
// A row gives all it holds while that fits in what is still wanted, and the rest of the request
// otherwise; the sign of what is still wanted carries over to every row (a red voucher takes
// negative amounts from positive stock).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::dialogs::ref_select {

// The number a cell or field text holds, "," ignored and blanks trimmed; nothing for an empty
// text or one that is not a number.
std::optional<double> textNumber(std::string_view text);

// The number as plain decimal text, the way the platform turns a Double into a String.
std::string plainNumber(double value);

// The free item (1 to 10) a candidate field of that caption holds ("自由项3" gives 3); 0 for any
// other field.
int freeItemOf(std::string_view fieldName);

// +1 when the remaining amount is zero or positive, -1 when it is negative.
double allocationSign(double remaining);

// One row's share: `take` goes into the row, `remaining` is what is left wanted after it.
struct Share {
  double take = 0;
  double remaining = 0;
};

// The share of a row holding `stock` when `remaining` is still wanted (remaining must not be 0).
Share shareOf(double stock, double remaining, double sign);

// Whether allocation goes on: a request of zero or more still wants a positive remainder, a
// negative request a negative one.
bool stillWanted(double requested, double remaining);

// The remaining amount recomputed from the request and what the chosen rows hold: a remainder
// that has crossed zero (more chosen than asked) counts as nothing left. Rounded to nine places
// so that sums of decimal amounts do not leave a binary crumb behind.
double remainingAfter(double requested, double allocated);

// Quantity and pieces, requested or still wanted.
struct Amounts {
  double qty = 0;
  double num = 0;
};

struct CandidateRow {
  double stock = 0;     // stock (book) quantity
  double stockNum = 0;  // stock pieces
};

struct TakeRule {
  bool stocktaking = false;  // a chosen row takes its whole book quantity
  bool piecesToo = false;    // pieces are allocated as well
};

// What choosing one row takes: a quantity unless nothing is wanted, pieces when they are
// allocated and still wanted; and what is wanted after it.
struct Take {
  std::optional<double> qty;
  std::optional<double> num;
  Amounts left;
};
Take takeRow(const CandidateRow& row, Amounts wanted, const TakeRule& rule);

// Automatic allocation: chooses rows first to last in order with `choose`, which returns what is
// still wanted after the row, until nothing more is wanted — by the quantity, or with
// `piecesToo` by the quantity or the pieces — or after the first row without `multiSelect`.
void allocateRows(int first, int last, Amounts requested, bool multiSelect, bool piecesToo,
                  const std::function<Amounts(int row)>& choose);

// The same allocation over rows held in memory (what the form does over its grid's rows, for the
// rules' tests and benchmarks): each row takes its share of what is still wanted, recomputed from
// what the rows before took.
struct Allocation {
  std::vector<Take> rows;  // one per row taken, in order
  Amounts left;
};
Allocation allocate(const std::vector<CandidateRow>& rows, Amounts requested, bool multiSelect,
                    const TakeRule& rule);

// A requested amount changed in the header from `requested` (of which `remaining` is still
// wanted) to `value`: the new request and what is still wanted of it; nothing when the new
// request is less than what is already allocated, where the user decides whether to allocate
// again from scratch.
struct Request {
  double requested = 0;
  double remaining = 0;
};
std::optional<Request> changedRequest(Request now, double value);

}  // namespace quillon::dialogs::ref_select
