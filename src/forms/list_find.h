// Finding rows in a list as a person types (Ctrl+F): a row matches when one of its shown cells
// holds the text, ASCII letters compared without regard to case. The search runs through the rows
// in the order shown (a sorted list's order), from the current row on, and wraps around to the
// top; rows a list hides never match.
#pragma once

#include <functional>
#include <optional>
#include <string_view>

#include "forms/constants.h"

namespace quillon::forms {

class Control;

// Ctrl+F, the key a list opens its find field on.
inline bool isFindKey(int keyCode, int shift) {
  return keyCode == 'F' && shift == vbCtrlMask;
}

// Whether data row `row` of a MsSuperGrid, MarlinVouchList or ListView shows `text` in one of its
// shown columns; false for an empty text, a hidden row or any other control.
bool rowHolds(const Control& list, int row, std::string_view text);

// The first matching data row in the order shown, starting at the current row (or the row after
// it, for `after`: the next match), wrapping around; nothing when no row matches.
std::optional<int> findRow(const Control& list, std::string_view text, bool after);

// The same walk with a test of the caller's (a scanned code against a line's fields): the first
// row `matches` takes, hidden rows left out.
std::optional<int> findRowWhere(const Control& list, bool after,
                                const std::function<bool(int row)>& matches);

// How many data rows match.
int countMatches(const Control& list, std::string_view text);

// Makes `row` the list's current row, as moving there with the arrow keys does (no click, so no
// mark changes). False when the list refused.
bool locateRow(Control& list, int row);

}  // namespace quillon::forms
