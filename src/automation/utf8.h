// UTF-8 text counted in characters (code points). Malformed bytes count as one character each and
// are carried through unchanged, so no text function ever splits or loses a byte sequence.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::automation::utf8 {

// Byte length of the character starting at pos (1 for a malformed byte); 0 at the end.
std::size_t charLength(std::string_view s, std::size_t pos);

// Number of characters.
std::size_t charCount(std::string_view s);

// Byte offset of character index n (0-based); s.size() when n is at or past the end.
std::size_t byteOffset(std::string_view s, std::size_t n);

// Character index (0-based) of the byte offset pos, which must be a character boundary.
std::size_t charIndex(std::string_view s, std::size_t pos);

// True when pos starts a character (or is the end of the text).
bool isBoundary(std::string_view s, std::size_t pos);

// Code points; a malformed byte b decodes to 0xDC00 + b, which encode() turns back into b.
std::u32string decode(std::string_view s);
std::string encode(std::u32string_view cps);

// ASCII case folding; other characters, and every byte of a multi-byte sequence, are untouched.
char32_t foldLower(char32_t c);
char32_t foldUpper(char32_t c);
std::string asciiLower(std::string_view s);
std::string asciiUpper(std::string_view s);

}  // namespace quillon::automation::utf8
