// Values placed into SQL texts. Every text value goes between single quotes with its own quotes
// doubled, so no value can end the literal and change what a statement means.
#pragma once

#include <string>
#include <string_view>

namespace quillon::components::suite {

inline std::string sqlQuoted(std::string_view value) {
  std::string out;
  out.reserve(value.size() + 2);
  out.push_back('\'');
  for (char c : value) {
    if (c == '\'') out.push_back('\'');
    out.push_back(c);
  }
  out.push_back('\'');
  return out;
}

}  // namespace quillon::components::suite
