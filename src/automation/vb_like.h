// The platform's Like operator on UTF-8 text. Pattern characters: "*" any run of characters
// (also none), "?" any one character, "#" one digit 0-9, "[list]" one character of the list
// (ranges "a-z" allowed; a leading "!" negates; "-" first or last is literal), any other character
// itself; "[*]", "[?]", "[#]" and "[[]" match those characters literally. Binary comparison is
// case-sensitive; Text comparison folds ASCII letters. A malformed pattern (an unclosed "[", a
// descending range) raises ComError 93 "Invalid pattern string".
#pragma once

#include <string_view>

#include "automation/vb_strings.h"

namespace quillon::automation {

bool Like(std::string_view text, std::string_view pattern,
          CompareMethod compare = CompareMethod::Binary);

}  // namespace quillon::automation
