#include "script/script_compare.h"

#include <algorithm>
#include <cmath>

#include "automation/com_error.h"
#include "automation/error_info.h"
#include "automation/vb_like.h"
#include "forms/ui_host.h"
#include "script/script_parser.h"

namespace quillon::script {

namespace {

using automation::Variant;
using automation::VarType;

bool isNumeric(const Variant& v) {
  return v.isNumber() || v.type() == VarType::Date;
}

double numberOf(const Variant& v) {
  if (v.type() == VarType::Date) return v.asDate().serial;
  return v.toDouble();
}

bool sameNumber(double a, double b) {
  if (a == b) return true;
  const double scale = std::max({1.0, std::fabs(a), std::fabs(b)});
  return std::fabs(a - b) <= 1e-9 * scale;
}

const automation::ErrorInfo* errorOf(const Variant& v) {
  if (!v.isObject() || v.isNothing()) return nullptr;
  return dynamic_cast<const automation::ErrorInfo*>(v.asObject().get());
}

int orderOfNumbers(double a, double b) {
  if (sameNumber(a, b)) return 0;
  return a < b ? -1 : 1;
}

[[noreturn]] void cannotOrder(const Variant& actual, const Variant& expected) {
  throw CompareError(valueText(actual) + " cannot be ordered against " + valueText(expected));
}

// -1, 0 or 1 as `actual` comes before, with or after `expected`.
int order(const Variant& actual, const Variant& expected) {
  if (const auto* error = errorOf(actual)) {
    if (expected.isString()) return error->description().compare(expected.asString()) < 0 ? -1 : 1;
    if (isNumeric(expected)) return orderOfNumbers(error->number(), numberOf(expected));
  }
  if (isNumeric(actual) && isNumeric(expected)) {
    return orderOfNumbers(numberOf(actual), numberOf(expected));
  }
  if (actual.isString() && expected.isString()) {
    const int c = actual.asString().compare(expected.asString());
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
  }
  const bool dateAndText = actual.type() == VarType::Date && expected.isString();
  const bool textAndDate = actual.isString() && expected.type() == VarType::Date;
  if (dateAndText || textAndDate) {
    const auto date = forms::parseIsoDate(dateAndText ? expected.asString() : actual.asString());
    if (!date) cannotOrder(actual, expected);
    const double a = dateAndText ? actual.asDate().serial : date->serial;
    const double b = dateAndText ? date->serial : expected.asDate().serial;
    return orderOfNumbers(a, b);
  }
  cannotOrder(actual, expected);
}

// The text `like` matches: texts as they are, numbers and dates as displayed, an error's text.
std::string likeText(const Variant& v) {
  if (v.isString()) return v.asString();
  if (v.isEmpty()) return {};
  if (const auto* error = errorOf(v)) return error->description();
  if (isNumeric(v)) return v.displayText();
  throw CompareError(valueText(v) + " has no text to match against a pattern");
}

}  // namespace

bool matches(const Variant& actual, const Variant& expected) {
  switch (expected.type()) {
    case VarType::Null:
    case VarType::Empty:
    case VarType::Missing:
      return actual.type() == expected.type();
    case VarType::Object:
      if (expected.isNothing()) return actual.isNothing();
      return actual.isObject() && actual.asObject() == expected.asObject();
    case VarType::Array:
      return actual == expected;
    case VarType::Boolean:
      if (actual.type() == VarType::Boolean) return actual.asBool() == expected.asBool();
      return actual.isNumber() && (actual.toDouble() != 0) == expected.asBool();
    case VarType::String:
      if (actual.isString()) return actual.asString() == expected.asString();
      if (const auto* error = errorOf(actual)) return error->description() == expected.asString();
      if (actual.isEmpty()) return expected.asString().empty();
      if (isNumeric(actual)) return actual.displayText() == expected.asString();
      return false;
    default:  // numbers and dates
      if (const auto* error = errorOf(actual))
        return sameNumber(error->number(), numberOf(expected));
      return isNumeric(actual) && sameNumber(numberOf(actual), numberOf(expected));
  }
}

bool compare(const Variant& actual, CompareOp op, const Variant& expected) {
  switch (op) {
    case CompareOp::Equal:
      return matches(actual, expected);
    case CompareOp::NotEqual:
      return !matches(actual, expected);
    case CompareOp::Less:
      return order(actual, expected) < 0;
    case CompareOp::LessEqual:
      return order(actual, expected) <= 0;
    case CompareOp::Greater:
      return order(actual, expected) > 0;
    case CompareOp::GreaterEqual:
      return order(actual, expected) >= 0;
    case CompareOp::Like:
      if (!expected.isString()) throw CompareError("like takes a text pattern");
      try {
        return automation::Like(likeText(actual), expected.asString());
      } catch (const automation::ComError& e) {
        throw CompareError(quoteText(expected.asString()) + " is no pattern: " + e.description());
      }
  }
  return false;
}

std::string_view compareOpText(CompareOp op) {
  switch (op) {
    case CompareOp::Equal:
      return "=";
    case CompareOp::NotEqual:
      return "<>";
    case CompareOp::Less:
      return "<";
    case CompareOp::LessEqual:
      return "<=";
    case CompareOp::Greater:
      return ">";
    case CompareOp::GreaterEqual:
      return ">=";
    case CompareOp::Like:
      return "like";
  }
  return "=";
}

std::string valueText(const Variant& v) {
  if (v.isString()) return quoteText(v.asString());
  if (v.isEmpty()) return "Empty";
  if (v.isNull()) return "Null";
  if (v.isMissing()) return "(omitted)";
  if (v.isObject()) return v.isNothing() ? "Nothing" : "<" + v.asObject()->className() + ">";
  return v.displayText();
}

}  // namespace quillon::script
