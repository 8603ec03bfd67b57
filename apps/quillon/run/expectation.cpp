#include "run/expectation.h"

#include <algorithm>
#include <cmath>

#include "automation/error_info.h"

namespace quillon::cli::run {

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

}  // namespace quillon::cli::run
