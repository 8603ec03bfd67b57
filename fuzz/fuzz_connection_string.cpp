// Connection strings: any text parses or is refused with ComError 3001, never a crash; what
// parses parses again the same once written back; and any value written as a connection string
// value reads back unchanged, so a file name can never be cut short or lose its blanks.
#include <string>

#include "ado/connection_string.h"
#include "automation/com_error.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillon;
  using fuzz::check;
  const auto parts = fuzz::twoParts(fuzz::textOf(data, size));
  const std::string_view text = parts.first;
  const std::string_view value = parts.second;
  try {
    const ado::ConnectionString cs = ado::ConnectionString::parse(text);
    std::string written;
    for (const auto& [k, v] : cs.pairs()) {
      written += k + "=" + ado::connectionStringValue(v) + ";";
    }
    ado::ConnectionString again;
    try {
      again = ado::ConnectionString::parse(written);
    } catch (const automation::ComError& e) {
      fuzz::propertyFailed("a parsed connection string written back parses", written);
    }
    check(again.pairs() == cs.pairs(), "written back, it parses the same", written);
  } catch (const automation::ComError& e) {
    check(e.number() == 3001, "a refused connection string is error 3001", e.description());
  }

  const std::string one =
      "Provider=Quillon.SQLite;Data Source=" + ado::connectionStringValue(value) + ";Create=No";
  try {
    const auto source = ado::ConnectionString::parse(one).get("Data Source");
    check(source && *source == value, "a written value reads back unchanged", one);
  } catch (const automation::ComError& e) {
    fuzz::propertyFailed("a written value parses", one);
  }
  return 0;
}
