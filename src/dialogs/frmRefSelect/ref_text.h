// Numbers as the stock dialog reads them from cells and header items, and writes them into its
// messages.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillon::dialogs::ref_select {

// The number a cell or field text holds, "," ignored and blanks trimmed; nothing for an empty
// text or one that is not a number.
std::optional<double> textNumber(std::string_view text);

// The number as plain decimal text, the way the platform turns a Double into a String.
std::string plainNumber(double value);

}  // namespace quillon::dialogs::ref_select
