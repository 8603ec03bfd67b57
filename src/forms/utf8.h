// Small UTF-8 helpers for the controls' text positions, which count characters, not bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::forms::utf8 {

// Splits a text into its code points; malformed bytes are taken one by one as Latin-1.
std::vector<char32_t> decode(std::string_view text);
std::string encode(char32_t codePoint);
std::string encode(const std::vector<char32_t>& codePoints);
std::size_t length(std::string_view text);

}  // namespace quillon::forms::utf8
