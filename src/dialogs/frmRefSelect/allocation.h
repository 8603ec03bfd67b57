// Allocation of a requested quantity over candidate rows, as the stock dialog's automatic
// allocation does it row by row: rules with no widget code, so that the form and its tests share
// one definition. A row gives all it holds while that fits in what is still wanted, and the rest
// of the request otherwise; the sign of what is still wanted carries over to every row (a red
// voucher takes negative amounts from positive stock).
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

namespace quillon::dialogs::ref_select {

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

struct CandidateRow {
  double stock = 0;     // stock (book) quantity
  double stockNum = 0;  // stock pieces
};

struct AllocationRequest {
  double quantity = 0;
  double num = 0;
  bool multiSelect = true;
  bool piecesToo = false;    // quantity and pieces header items both active
  bool stocktaking = false;  // each chosen row takes its whole book quantity
  // Applied to every amount written into a row, as the display formats round them.
  std::function<double(double)> roundQty;
  std::function<double(double)> roundNum;
};

struct RowShare {
  std::size_t row = 0;  // index into the candidates
  double qty = 0;
  double num = 0;
  bool numSet = false;  // pieces were allocated too
};

struct Allocation {
  std::vector<RowShare> rows;
  double remaining = 0;
  double remainingNum = 0;
};

// Runs over the candidates in order until nothing more is wanted (or after the first row without
// multiple selection). Costs one pass: what is allocated is kept as a running sum.
Allocation allocate(const std::vector<CandidateRow>& candidates, const AllocationRequest& request);

}  // namespace quillon::dialogs::ref_select
