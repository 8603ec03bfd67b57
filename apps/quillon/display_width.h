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

}  // namespace quillon::cli
