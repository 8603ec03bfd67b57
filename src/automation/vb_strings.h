// The string functions of the platform's runtime on UTF-8 text. Positions and lengths count
// characters (code points), 1-based where the platform's are, so Chinese names and captions can be
// cut, searched and measured exactly as the platform would. Text comparison (CompareMethod::Text)
// folds ASCII letters only; bad positions or lengths raise ComError 5.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "automation/variant.h"

namespace quillon::automation {

enum class CompareMethod : std::uint8_t { Binary = 0, Text = 1 };

std::int32_t Len(std::string_view s);

std::string Left(std::string_view s, std::int32_t length);
std::string Right(std::string_view s, std::int32_t length);
// Mid(s, start) is the rest of the text from character `start` (1-based).
std::string Mid(std::string_view s, std::int32_t start);
std::string Mid(std::string_view s, std::int32_t start, std::int32_t length);

// Blanks (spaces) only, as the platform trims.
std::string Trim(std::string_view s);
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);

std::string LCase(std::string_view s);
std::string UCase(std::string_view s);

// 1-based character position of `find` in `s` at or after `start`, 0 when absent. An empty `find`
// gives `start` (0 when `s` is empty or `start` is past its end).
std::int32_t InStr(std::string_view s, std::string_view find,
                   CompareMethod compare = CompareMethod::Binary);
std::int32_t InStr(std::int32_t start, std::string_view s, std::string_view find,
                   CompareMethod compare = CompareMethod::Binary);

// Replaces occurrences of `find` (all when count is -1). As on the platform, the result starts
// at character `start`: the part before it is dropped.
std::string Replace(std::string_view s, std::string_view find, std::string_view with,
                    std::int32_t start = 1, std::int32_t count = -1,
                    CompareMethod compare = CompareMethod::Binary);

// Splits into a 0-based array of Strings. An empty text gives an empty array; an empty
// delimiter gives the whole text as the only element; `limit` caps the number of pieces, the last
// one keeping the rest.
Variant Split(std::string_view s, std::string_view delimiter = " ", std::int32_t limit = -1,
              CompareMethod compare = CompareMethod::Binary);
std::vector<std::string> splitText(std::string_view s, std::string_view delimiter,
                                   std::int32_t limit = -1,
                                   CompareMethod compare = CompareMethod::Binary);

// Joins the elements of an array (each converted with CStr rules); 13 when not an array.
std::string Join(const Variant& array, std::string_view delimiter = " ");
std::string Join(const std::vector<std::string>& parts, std::string_view delimiter = " ");

}  // namespace quillon::automation
