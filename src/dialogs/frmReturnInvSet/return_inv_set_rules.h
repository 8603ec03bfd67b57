// The rules of the return-inventory picker: which row a typed row number means, how the Order
// menu's caption turns, and where the border between tree and list may go. No widget code.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillon::dialogs::return_inv_set {

// The row a typed text locates in a list of `rows` rows: a whole number from 1 to rows (blanks
// around it allowed). Anything else (no number, a fraction, 0, negative, beyond the last) is none.
std::optional<int> rowToLocate(std::string_view text, int rows);

// The caption with "升" and "降" swapped.
std::string swapOrder(std::string_view caption);
// Whether the list shows descending codes: the caption offers the ascending order ("升").
bool listDescending(std::string_view caption);

// The border between tree and list, kept so that both stay at least kMinPane wide.
inline constexpr int kMinPane = 1200;
int clampBorder(int border, int formWidth);

}  // namespace quillon::dialogs::return_inv_set
