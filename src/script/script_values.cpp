#include "script/script_values.h"

#include <cstdint>

#include "script/script_parser.h"

namespace quillon::script {

using automation::Variant;

Variant literalValue(const ScriptValue& value) {
  switch (value.kind) {
    case ScriptValue::Kind::String:
      return Variant(value.text);
    case ScriptValue::Kind::Long:
      return Variant(static_cast<std::int32_t>(value.number));
    case ScriptValue::Kind::Double:
      return Variant(value.number);
    case ScriptValue::Kind::Boolean:
      return Variant(value.boolean);
    case ScriptValue::Kind::Null:
      return Variant::null();
    case ScriptValue::Kind::Nothing:
      return Variant::nothing();
    case ScriptValue::Kind::Omitted:
    case ScriptValue::Kind::Variable:
    case ScriptValue::Kind::Reference:
      break;
  }
  return Variant::missing();
}

std::string sourceText(const ScriptValue& value) {
  switch (value.kind) {
    case ScriptValue::Kind::String:
      return quoteText(value.text);
    case ScriptValue::Kind::Long:
      return std::to_string(static_cast<std::int32_t>(value.number));
    case ScriptValue::Kind::Double:
      return Variant(value.number).displayText();
    case ScriptValue::Kind::Boolean:
      return value.boolean ? "true" : "false";
    case ScriptValue::Kind::Null:
      return "null";
    case ScriptValue::Kind::Nothing:
      return "nothing";
    case ScriptValue::Kind::Omitted:
      return "-";
    case ScriptValue::Kind::Variable:
      return "$" + value.text;
    case ScriptValue::Kind::Reference:
      return sourceText(value.ref);
  }
  return "?";
}

std::string sourceText(const ScriptRef& ref) {
  std::string out = "$" + ref.variable;
  for (const auto& step : ref.path) {
    switch (step.kind) {
      case ScriptRef::Step::Kind::Member:
        out += "." + step.name;
        break;
      case ScriptRef::Step::Kind::Index:
        out += "[" + std::to_string(step.index) + "]";
        break;
      case ScriptRef::Step::Kind::Key:
        out += "[" + quoteText(step.name) + "]";
        break;
    }
  }
  return out;
}

}  // namespace quillon::script
