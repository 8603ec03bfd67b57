#include "automation/variant.h"

#include <cmath>
#include <limits>
#include <type_traits>

#include "automation/com_error.h"
#include "automation/dispatch.h"
#include "automation/names.h"
#include "automation/numeric_text.h"
#include "automation/vb_dates.h"

namespace quillon::automation {

static_assert(std::is_same_v<int, std::int32_t>, "Variant(std::int32_t) is the int constructor");

namespace {

// CLng/CInt rounding: to the nearest integer, halves to the even neighbour.
double roundHalfEven(double d) {
  double r = std::nearbyint(d);  // default rounding mode is to-nearest-even
  return r;
}

template <class Int>
Int toIntegral(double d) {
  if (!std::isfinite(d)) throw ComError::overflow();
  double r = roundHalfEven(d);
  if (r < static_cast<double>(std::numeric_limits<Int>::min()) ||
      r > static_cast<double>(std::numeric_limits<Int>::max())) {
    throw ComError::overflow();
  }
  return static_cast<Int>(r);
}

// The value behind an object's default member; Nothing raises 91.
Variant defaultValueOf(const ObjectPtr& o) {
  if (!o) throw ComError::objectNotSet();
  Variant v = o->value();
  if (v.isObject()) throw ComError::typeMismatch();
  return v;
}

}  // namespace

Variant::Variant(bool b) : type_(VarType::Boolean), value_(b) {}
Variant::Variant(std::int16_t i) : type_(VarType::Integer), value_(i) {}
Variant::Variant(std::int32_t l) : type_(VarType::Long), value_(l) {}
Variant::Variant(double d) : type_(VarType::Double), value_(d) {}
Variant::Variant(DateValue d) : type_(VarType::Date), value_(d) {}
Variant::Variant(std::string s) : type_(VarType::String), value_(std::move(s)) {}
Variant::Variant(ObjectPtr o) : type_(VarType::Object), value_(std::move(o)) {}
Variant::Variant(ArrayPtr a) : type_(VarType::Array), value_(std::move(a)) {
  if (!std::get<ArrayPtr>(value_)) value_ = std::make_shared<VariantArray>();
}

Variant Variant::null() {
  Variant v;
  v.type_ = VarType::Null;
  return v;
}

Variant Variant::missing() {
  Variant v;
  v.type_ = VarType::Missing;
  return v;
}

Variant Variant::array(std::vector<Variant> items, std::int32_t lowerBound) {
  auto a = std::make_shared<VariantArray>();
  a->lowerBound = lowerBound;
  a->items = std::move(items);
  return Variant(std::move(a));
}

bool Variant::isNothing() const {
  return type_ == VarType::Object && !std::get<ObjectPtr>(value_);
}

bool Variant::isNumber() const {
  return type_ == VarType::Boolean || type_ == VarType::Integer || type_ == VarType::Long ||
         type_ == VarType::Double;
}

bool Variant::asBool() const {
  if (type_ != VarType::Boolean) throw ComError::typeMismatch();
  return std::get<bool>(value_);
}

std::int16_t Variant::asInteger() const {
  if (type_ != VarType::Integer) throw ComError::typeMismatch();
  return std::get<std::int16_t>(value_);
}

std::int32_t Variant::asLong() const {
  if (type_ != VarType::Long) throw ComError::typeMismatch();
  return std::get<std::int32_t>(value_);
}

double Variant::asDouble() const {
  if (type_ != VarType::Double) throw ComError::typeMismatch();
  return std::get<double>(value_);
}

DateValue Variant::asDate() const {
  if (type_ != VarType::Date) throw ComError::typeMismatch();
  return std::get<DateValue>(value_);
}

const std::string& Variant::asString() const {
  if (type_ != VarType::String) throw ComError::typeMismatch();
  return std::get<std::string>(value_);
}

const ObjectPtr& Variant::asObject() const {
  if (type_ != VarType::Object) throw ComError::typeMismatch();
  return std::get<ObjectPtr>(value_);
}

const ArrayPtr& Variant::asArray() const {
  if (type_ != VarType::Array) throw ComError::typeMismatch();
  return std::get<ArrayPtr>(value_);
}

std::string Variant::toString() const {
  switch (type_) {
    case VarType::Empty:
      return {};
    case VarType::Null:
      throw ComError::invalidUseOfNull();
    case VarType::Boolean:
      return std::get<bool>(value_) ? "True" : "False";
    case VarType::Integer:
      return std::to_string(std::get<std::int16_t>(value_));
    case VarType::Long:
      return std::to_string(std::get<std::int32_t>(value_));
    case VarType::Double:
      return formatGeneralNumber(std::get<double>(value_));
    case VarType::Date:
      return formatDateAuto(std::get<DateValue>(value_));
    case VarType::String:
      return std::get<std::string>(value_);
    case VarType::Object:
      return defaultValueOf(std::get<ObjectPtr>(value_)).toString();
    case VarType::Missing:
    case VarType::Array:
      break;
  }
  throw ComError::typeMismatch();
}

double Variant::toDouble() const {
  switch (type_) {
    case VarType::Empty:
      return 0.0;
    case VarType::Null:
      throw ComError::invalidUseOfNull();
    case VarType::Boolean:
      return std::get<bool>(value_) ? -1.0 : 0.0;
    case VarType::Integer:
      return std::get<std::int16_t>(value_);
    case VarType::Long:
      return std::get<std::int32_t>(value_);
    case VarType::Double:
      return std::get<double>(value_);
    case VarType::Date:
      return std::get<DateValue>(value_).serial;
    case VarType::String: {
      auto d = parseNumericText(std::get<std::string>(value_));
      if (!d) throw ComError::typeMismatch();
      return *d;
    }
    case VarType::Object:
      return defaultValueOf(std::get<ObjectPtr>(value_)).toDouble();
    case VarType::Missing:
    case VarType::Array:
      break;
  }
  throw ComError::typeMismatch();
}

std::int32_t Variant::toLong() const {
  switch (type_) {
    case VarType::Boolean:
      return std::get<bool>(value_) ? -1 : 0;
    case VarType::Integer:
      return std::get<std::int16_t>(value_);
    case VarType::Long:
      return std::get<std::int32_t>(value_);
    default:
      return toIntegral<std::int32_t>(toDouble());
  }
}

std::int16_t Variant::toInteger() const {
  switch (type_) {
    case VarType::Boolean:
      return std::get<bool>(value_) ? kVariantTrue : kVariantFalse;
    case VarType::Integer:
      return std::get<std::int16_t>(value_);
    default:
      return toIntegral<std::int16_t>(toDouble());
  }
}

bool Variant::toBool() const {
  switch (type_) {
    case VarType::Boolean:
      return std::get<bool>(value_);
    case VarType::String: {
      const std::string& s = std::get<std::string>(value_);
      std::string_view t = s;
      while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
      while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
      if (sameName(t, "true")) return true;
      if (sameName(t, "false")) return false;
      auto d = parseNumericText(s);
      if (!d) throw ComError::typeMismatch();
      return *d != 0.0;
    }
    case VarType::Object:
      return defaultValueOf(std::get<ObjectPtr>(value_)).toBool();
    default:
      return toDouble() != 0.0;
  }
}

DateValue Variant::toDate() const {
  switch (type_) {
    case VarType::Date:
      return std::get<DateValue>(value_);
    case VarType::String: {
      auto d = parseDateText(std::get<std::string>(value_));
      if (!d) throw ComError::typeMismatch();
      return *d;
    }
    case VarType::Object:
      return defaultValueOf(std::get<ObjectPtr>(value_)).toDate();
    case VarType::Boolean:
      throw ComError::typeMismatch();
    default: {
      double serial = toDouble();
      // Only serials the date functions can show are dates.
      DateValue v{serial};
      fromSerial(v);
      return v;
    }
  }
}

std::string Variant::displayText() const {
  switch (type_) {
    case VarType::Empty:
    case VarType::Null:
    case VarType::Missing:
      return {};
    case VarType::Date: {
      DateValue d = std::get<DateValue>(value_);
      try {
        return formatDateAuto(d);
      } catch (const ComError&) {
        return formatGeneralNumber(d.serial);
      }
    }
    case VarType::Object: {
      const ObjectPtr& o = std::get<ObjectPtr>(value_);
      if (!o) return "Nothing";
      try {
        return defaultValueOf(o).displayText();
      } catch (...) {
        // Showing a value must not fail: an object without a showable value shows its class.
        const std::string& name = o->className();
        return "[" + (name.empty() ? std::string("Object") : name) + "]";
      }
    }
    case VarType::Array: {
      std::string out = "(";
      const auto& items = std::get<ArrayPtr>(value_)->items;
      for (std::size_t i = 0; i < items.size(); ++i) {
        if (i) out += ", ";
        out += items[i].displayText();
      }
      return out + ")";
    }
    default:
      return toString();
  }
}

bool operator==(const Variant& a, const Variant& b) {
  if (a.type_ != b.type_) return false;
  if (a.type_ == VarType::Array) {
    const VariantArray& x = *std::get<ArrayPtr>(a.value_);
    const VariantArray& y = *std::get<ArrayPtr>(b.value_);
    return x.lowerBound == y.lowerBound && x.items == y.items;
  }
  return a.value_ == b.value_;
}

}  // namespace quillon::automation
