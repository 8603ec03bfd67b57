// Date texts as the engine stores them ("YYYY-MM-DD", "YYYY-MM-DD hh:mm:ss[.fff]") turned into
// OLE date serials (days since 1899-12-30, time of day as the fraction) without allocating, so a
// datetime column can be loaded at the speed of its text.
#pragma once

#include <string>
#include <string_view>

namespace quillon::ado {

// Accepts "YYYY-MM-DD" or "YYYY/MM/DD", optionally followed by " " or "T" and "hh:mm",
// "hh:mm:ss" or "hh:mm:ss.fff"; surrounding blanks are ignored. False for anything else,
// including impossible dates such as 2026-02-30.
bool parseDateText(std::string_view text, double& serial);

// "YYYY-MM-DD", with " hh:mm:ss" when the serial has a time of day.
std::string formatDateSerial(double serial);

// The serial of a calendar day (no range check beyond what the arithmetic needs).
double serialFromCivil(int year, int month, int day);

}  // namespace quillon::ado
