// Checks on what a run printed: a text holding a part, a list of lines holding a line.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace quillon::test_support {

inline bool has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

inline bool has(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace quillon::test_support
