// What the fuzz targets share: the input as text, split in two parts at its first NUL byte (a
// target that needs two texts, a value and a pattern say, reads them so), and a failed property
// reported the way libFuzzer reports a crash, with the input kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>

namespace quillon::fuzz {

inline std::string_view textOf(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

inline std::pair<std::string_view, std::string_view> twoParts(std::string_view input) {
  const std::size_t nul = input.find('\0');
  if (nul == std::string_view::npos) return {input, {}};
  return {input.substr(0, nul), input.substr(nul + 1)};
}

// A property that does not hold ends the run like a crash, so the input is saved and minimised.
[[noreturn]] inline void propertyFailed(const char* property, std::string_view detail = {}) {
  std::fprintf(stderr, "property failed: %s\n%.*s\n", property, static_cast<int>(detail.size()),
               detail.data());
  std::abort();
}

inline void check(bool holds, const char* property, std::string_view detail = {}) {
  if (!holds) propertyFailed(property, detail);
}

}  // namespace quillon::fuzz
