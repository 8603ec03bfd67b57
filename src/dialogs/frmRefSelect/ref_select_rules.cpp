#include "dialogs/frmRefSelect/ref_select_rules.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "automation/vb_runtime.h"
#include "dialogs/frmRefSelect/ref_select_messages.h"

namespace quillon::dialogs::ref_select {

std::optional<double> textNumber(std::string_view text) {
  // The grid's own cells are plain decimals ("4.00", "-2"); read those directly and leave
  // everything else (grouping, blanks, exponents) to the platform's numeric rules.
  const auto plain = [](char c) { return (c >= '0' && c <= '9') || c == '.' || c == '-'; };
  if (!text.empty() && std::all_of(text.begin(), text.end(), plain)) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc() && end == text.data() + text.size()) return value;
  }
  std::string cleaned;
  cleaned.reserve(text.size());
  for (char c : text) {
    if (c != ',') cleaned.push_back(c);
  }
  const std::size_t first = cleaned.find_first_not_of(" \t");
  if (first == std::string::npos) return std::nullopt;
  const automation::Variant v(std::move(cleaned));
  if (!automation::IsNumeric(v)) return std::nullopt;
  return v.toDouble();
}

std::string plainNumber(double value) {
  return automation::Variant(value).toString();
}

int freeItemOf(std::string_view fieldName) {
  if (!fieldName.starts_with(kFreeItemCaption)) return 0;
  const std::string_view digits = fieldName.substr(kFreeItemCaption.size());
  if (digits.empty() || digits.size() > 2) return 0;
  int item = 0;
  for (const char ch : digits) {
    if (ch < '0' || ch > '9') return 0;
    item = item * 10 + (ch - '0');
  }
  return item >= 1 && item <= 10 ? item : 0;
}

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

Take takeRow(const CandidateRow& row, Amounts wanted, const TakeRule& rule) {
  Take take;
  take.left = wanted;
  const double sign = allocationSign(wanted.qty);
  if (rule.stocktaking) {
    take.qty = row.stock * sign;
  } else if (wanted.qty != 0) {
    const Share share = shareOf(row.stock, wanted.qty, sign);
    take.qty = share.take;
    take.left.qty = share.remaining;
  }
  if (rule.piecesToo && wanted.num != 0) {
    const Share share = shareOf(row.stockNum, wanted.num, sign);
    take.num = share.take;
    take.left.num = share.remaining;
  }
  return take;
}

void allocateRows(int first, int last, Amounts requested, bool multiSelect, bool piecesToo,
                  const std::function<Amounts(int row)>& choose) {
  for (int row = first; row <= last; ++row) {
    const Amounts left = choose(row);
    if (!multiSelect) break;
    const bool more =
        stillWanted(requested.qty, left.qty) || (piecesToo && stillWanted(requested.num, left.num));
    if (!more) break;
  }
}

Allocation allocate(const std::vector<CandidateRow>& rows, Amounts requested, bool multiSelect,
                    const TakeRule& rule) {
  Allocation result;
  result.left = requested;
  double allocated = 0;
  allocateRows(0, static_cast<int>(rows.size()) - 1, requested, multiSelect, rule.piecesToo,
               [&](int row) {
                 result.left.qty = remainingAfter(requested.qty, allocated);
                 const Take take = takeRow(rows[static_cast<std::size_t>(row)], result.left, rule);
                 allocated += take.qty.value_or(0);
                 result.left = take.left;
                 result.rows.push_back(take);
                 return result.left;
               });
  return result;
}

std::optional<Request> changedRequest(Request now, double value) {
  if (now.remaining == now.requested) return Request{value, value};
  if (std::fabs(value) >= std::fabs(now.requested - now.remaining)) {
    return Request{value, now.remaining + value - now.requested};
  }
  return std::nullopt;
}

}  // namespace quillon::dialogs::ref_select
