#include "dialogs/frmRefSelect/allocation.h"

#include <cmath>

namespace quillon::dialogs::ref_select {

double allocationSign(double remaining) {
  return remaining >= 0 ? 1.0 : -1.0;
}

Share shareOf(double stock, double remaining, double sign) {
  if (std::fabs(stock) <= std::fabs(remaining)) return {stock * sign, remaining - stock * sign};
  return {remaining, 0.0};
}

bool stillWanted(double requested, double remaining) {
  return requested >= 0 ? remaining > 0 : remaining < 0;
}

double remainingAfter(double requested, double allocated) {
  double remaining = std::round((requested - allocated) * 1e9) / 1e9;
  if (remaining == 0 || requested * remaining < 0) remaining = 0;  // no negative zero either
  return remaining;
}

Allocation allocate(const std::vector<CandidateRow>& candidates, const AllocationRequest& request) {
  const auto roundQty = [&](double v) { return request.roundQty ? request.roundQty(v) : v; };
  const auto roundNum = [&](double v) { return request.roundNum ? request.roundNum(v) : v; };
  Allocation result;
  double allocated = 0;
  double remainingNum = request.num;
  double remaining = request.quantity;
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    remaining = remainingAfter(request.quantity, allocated);
    const double sign = allocationSign(remaining);
    RowShare share{i, 0, 0, false};
    if (request.stocktaking) {
      share.qty = roundQty(candidates[i].stock * sign);
    } else if (remaining != 0) {
      const Share s = shareOf(candidates[i].stock, remaining, sign);
      share.qty = roundQty(s.take);
      remaining = s.remaining;
    }
    if (request.piecesToo && remainingNum != 0) {
      const Share s = shareOf(candidates[i].stockNum, remainingNum, sign);
      share.num = roundNum(s.take);
      share.numSet = true;
      remainingNum = s.remaining;
    }
    allocated += share.qty;
    result.rows.push_back(share);
    if (!request.multiSelect) break;
    const bool more = request.piecesToo ? stillWanted(request.quantity, remaining) ||
                                              stillWanted(request.num, remainingNum)
                                        : stillWanted(request.quantity, remaining);
    if (!more) break;
  }
  result.remaining = remaining;
  result.remainingNum = remainingNum;
  return result;
}

}  // namespace quillon::dialogs::ref_select
