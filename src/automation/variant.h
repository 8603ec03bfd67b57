// Variant: the Automation value that crosses every public member of the library.
//
// Kinds: Empty, Null, Boolean (True is -1 when read as a number), Integer (16-bit), Long (32-bit),
// Double, Date (OLE serial: days since 1899-12-30, fraction = time of day), String (UTF-8),
// Object (a shared reference to a dispatchable object; an Object variant holding no object is
// Nothing), Missing (an omitted optional argument) and Array (a shared, one-dimensional array of
// Variants with a lower bound).
//
// Conversions follow the platform's rules; a conversion that cannot be made throws ComError 13
// "Type mismatch", an overflow throws 6 "Overflow".
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quillon::automation {

class Object;  // dispatch.h
using ObjectPtr = std::shared_ptr<Object>;

enum class VarType : std::uint8_t {
  Empty,
  Null,
  Boolean,
  Integer,  // 16-bit
  Long,     // 32-bit
  Double,
  Date,
  String,
  Object,
  Missing,
  Array,
};

// Automation booleans: True is -1.
inline constexpr std::int16_t kVariantTrue = -1;
inline constexpr std::int16_t kVariantFalse = 0;

struct DateValue {
  double serial = 0.0;  // days since 1899-12-30
  friend bool operator==(const DateValue&, const DateValue&) = default;
};

class Variant;

struct VariantArray {
  std::int32_t lowerBound = 0;
  std::vector<Variant> items;
};
using ArrayPtr = std::shared_ptr<VariantArray>;

class Variant {
 public:
  Variant() = default;  // Empty
  Variant(bool b);      // Boolean
  Variant(std::int16_t i);
  Variant(std::int32_t l);  // also takes a plain int: std::int32_t is int on every target
  Variant(double d);
  Variant(DateValue d);
  Variant(std::string s);
  Variant(std::string_view s) : Variant(std::string(s)) {}
  Variant(const char* s) : Variant(std::string(s)) {}
  Variant(ObjectPtr o);  // Object (Nothing when o is null)
  Variant(ArrayPtr a);   // Array

  static Variant null();
  static Variant missing();
  static Variant nothing() { return Variant(ObjectPtr{}); }
  static Variant array(std::vector<Variant> items, std::int32_t lowerBound = 0);

  VarType type() const { return type_; }
  bool isEmpty() const { return type_ == VarType::Empty; }
  bool isNull() const { return type_ == VarType::Null; }
  bool isMissing() const { return type_ == VarType::Missing; }
  bool isObject() const { return type_ == VarType::Object; }
  bool isNothing() const;  // an Object variant without an object
  bool isArray() const { return type_ == VarType::Array; }
  bool isString() const { return type_ == VarType::String; }
  bool isNumber() const;  // Boolean, Integer, Long, Double

  // Raw access; throw ComError 13 when the kind differs.
  bool asBool() const;
  std::int16_t asInteger() const;
  std::int32_t asLong() const;
  double asDouble() const;
  DateValue asDate() const;
  const std::string& asString() const;
  const ObjectPtr& asObject() const;
  const ArrayPtr& asArray() const;

  // Conversions (CStr, CDbl, CLng, CBool, CInt, CDate rules).
  std::string toString() const;    // Null -> ComError 94 "Invalid use of Null"; Empty -> ""
  double toDouble() const;         // Empty -> 0; numeric text -> number; else 13
  std::int32_t toLong() const;     // rounds half to even like CLng; overflow -> 6
  std::int16_t toInteger() const;  // as toLong, 16-bit range
  bool toBool() const;             // numbers: != 0; "True"/"False" texts; else 13
  DateValue toDate() const;        // dates, date texts "YYYY-MM-DD[ hh:mm:ss]", numbers

  // Text used when a value is shown in a list or transcript: Null and Empty give "",
  // booleans "True"/"False", dates "YYYY-MM-DD" (with " hh:mm:ss" when there is a time).
  std::string displayText() const;

  friend bool operator==(const Variant& a, const Variant& b);  // same kind and value

 private:
  VarType type_ = VarType::Empty;
  std::variant<std::monostate, bool, std::int16_t, std::int32_t, double, DateValue, std::string,
               ObjectPtr, ArrayPtr>
      value_;
};

}  // namespace quillon::automation
