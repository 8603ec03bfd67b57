// The host-script parser: any text parses or is refused with a ScriptError naming a line, never
// a crash; and any text quoted as a script string reads back unchanged.
#include <string>
#include <variant>

#include "fuzz_input.h"
#include "script/script_ast.h"
#include "script/script_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillon::script;
  using quillon::fuzz::check;
  const std::string_view input = quillon::fuzz::textOf(data, size);
  try {
    (void)parseScript(input);
  } catch (const ScriptError& e) {
    check(e.pos().line >= 1, "a refusal names the line", e.message());
  }

  const std::string line = "set $x = " + quoteText(input);
  Script script;
  try {
    script = parseScript(line);
  } catch (const ScriptError& e) {
    quillon::fuzz::propertyFailed("a quoted text parses", e.message());
  }
  check(script.statements.size() == 1, "a quoted text is one statement", line);
  const auto* set = std::get_if<SetLine>(&script.statements[0].body);
  check(set != nullptr && set->value.kind == ScriptValue::Kind::String && set->value.text == input,
        "a quoted text reads back unchanged", line);
  return 0;
}
