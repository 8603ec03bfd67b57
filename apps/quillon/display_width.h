// How many terminal columns text takes: East Asian Wide and Fullwidth characters (Chinese,
// Japanese, Korean, fullwidth forms, most emoji) take two, combining marks and zero-width
// formatting characters none, everything else one.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon::cli {

int codePointWidth(char32_t cp);

std::size_t displayWidth(std::string_view utf8);

// Decodes one UTF-8 character at `pos`, advancing it. Malformed input (a stray continuation byte,
// a cut or overlong sequence, a surrogate) yields U+FFFD and consumes one byte, so any byte string
// decodes without failing.
char32_t decodeUtf8(std::string_view text, std::size_t& pos);

void appendUtf8(std::string& out, char32_t cp);

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

}  // namespace quillon::cli
