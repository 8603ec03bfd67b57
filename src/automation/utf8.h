// The library's one UTF-8 codec. Text is counted in characters (code points).
//
// Malformed input, everywhere: a byte that does not start a well-formed sequence (a stray
// continuation byte, a cut, overlong or surrogate sequence, a value past U+10FFFF) is one character
// on its own, decoded as kRawByteBase + the byte, which encoding turns back into that byte. So no
// text function ever splits, loses or changes a byte sequence; only output meant for people (the
// command's printers, the Qt renderer) shows such a character as U+FFFD.
//
// Everything that counts, cuts or measures text counts this way: the string functions of the
// runtime (Len, Mid, InStr), the T-SQL functions the embedded engine runs (len, left, right,
// charindex), the registry's value cutting, a field's size in a recordset. The server engine
// never meets a malformed byte: it refuses text that is not UTF-8 when a statement brings it.
// Case folding is not the codec's: see automation/text_compare.h.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::automation::utf8 {

inline constexpr char32_t kRawByteBase = 0xDC00;
inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// A code point that stands for one malformed byte.
inline bool isRawByte(char32_t c) {
  return c >= kRawByteBase + 0x80 && c <= kRawByteBase + 0xFF;
}

// Byte length of the character starting at pos (1 for a malformed byte); 0 at the end.
std::size_t charLength(std::string_view s, std::size_t pos);

// Number of characters.
std::size_t charCount(std::string_view s);

// Byte offset of character index n (0-based); s.size() when n is at or past the end.
std::size_t byteOffset(std::string_view s, std::size_t n);

// Character index (0-based) of the byte offset pos, which must be a character boundary.
std::size_t charIndex(std::string_view s, std::size_t pos);

// True when pos starts a character (or is the end of the text). Looks at most four bytes.
bool isBoundary(std::string_view s, std::size_t pos);

// True when no byte of s is malformed.
bool isWellFormed(std::string_view s);

// UTF-16 code units of the text, as the platform's strings count it: two for a character beyond
// U+FFFF, one for any other (a malformed byte included).
std::size_t utf16Length(std::string_view s);

// The character at pos, moving pos past it (pos must be before the end).
char32_t decodeAt(std::string_view s, std::size_t& pos);
// Code points of the whole text, and back.
std::u32string decode(std::string_view s);
std::string encode(std::u32string_view cps);
std::string encode(char32_t c);
void append(std::string& out, char32_t c);

}  // namespace quillon::automation::utf8
