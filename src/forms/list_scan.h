// What a scanner (or a clerk at the keyboard) enters into a line grid's scan field: a code, alone
// for one unit or followed by "*" and a count ("0101001*5" for five). A keyboard-wedge scanner
// types the code fast and ends it with Enter; the field takes the text on that Enter and hands it
// to the grid (MsSuperGrid::userScan), whose form decides what the code names.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillon::forms {

struct ScanEntry {
  std::string code;
  double count = 1;
};

// The code and the count of a scanned text, spaces around either ignored. A text whose last "*"
// is followed by a positive number is CODE*COUNT; any other text is all code with a count of 1.
// Nothing for a text with no code, or with a count of zero, less or not finite.
std::optional<ScanEntry> parseScan(std::string_view text);

}  // namespace quillon::forms
