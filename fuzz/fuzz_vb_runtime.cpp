// The runtime's Format, Like and IsDate on any value and pattern: a result or a ComError, never
// a crash; and what they promise: "*" matches every text, a text matches itself with its pattern
// characters bracketed, a match stays a match when case is ignored (for patterns without a
// negated list, where folding may move a character into the list), a text IsDate accepts
// converts to a date that formats back into a text IsDate accepts, and Format without a
// pattern is CStr.
#include <cstring>
#include <string>

#include "automation/com_error.h"
#include "automation/variant.h"
#include "automation/vb_format.h"
#include "automation/vb_like.h"
#include "automation/vb_runtime.h"
#include "fuzz_input.h"

namespace {

using namespace quillon::automation;

// The text as a pattern that matches only itself.
std::string literalPattern(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '*' || c == '?' || c == '#' || c == '[') {
      out += '[';
      out += c;
      out += ']';
    } else {
      out += c;
    }
  }
  return out;
}

template <class F>
void tolerate(F&& call) {
  try {
    call();
  } catch (const ComError&) {
    // bad patterns and values are errors with a number: what they should be
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using quillon::fuzz::check;
  const auto parts = quillon::fuzz::twoParts(quillon::fuzz::textOf(data, size));
  const std::string_view text = parts.first;
  const std::string_view pattern = parts.second;

  tolerate([&] {
    const bool binary = Like(text, pattern, CompareMethod::Binary);
    const bool folded = Like(text, pattern, CompareMethod::Text);
    const bool negates = pattern.find("[!") != std::string_view::npos;
    check(negates || !binary || folded, "a match stays a match when case is ignored");
  });
  tolerate([&] {
    check(Like(text, "*"), "* matches every text");
    check(Like(text, literalPattern(text)), "a text matches itself, bracketed");
  });

  tolerate([&] { (void)Format(Variant(std::string(text)), pattern); });
  double number = 0;
  if (size >= sizeof number) {
    std::memcpy(&number, data, sizeof number);
    tolerate([&] { (void)Format(Variant(number), pattern); });
    tolerate([&] { (void)Format(Variant(DateValue{number}), pattern); });
    tolerate([&] {
      check(Format(Variant(number)) == CStr(Variant(number)), "Format without a pattern is CStr");
    });
  }

  const Variant candidate{std::string(text)};
  if (IsDate(candidate)) {
    DateValue date{};
    try {
      date = CDate(candidate);
    } catch (const ComError& e) {
      quillon::fuzz::propertyFailed("a text IsDate accepts converts to a date", e.description());
    }
    const std::string again = Format(Variant(date), "yyyy-mm-dd hh:nn:ss");
    check(IsDate(Variant(again)), "a date formats back into a date text", again);
  }
  return 0;
}
