// The value tests and conversions of the platform's runtime, as free functions over Variant.
#pragma once

#include <cstdint>
#include <string>

#include "automation/variant.h"
#include "automation/vb_dates.h"
#include "automation/vb_format.h"
#include "automation/vb_like.h"
#include "automation/vb_strings.h"

namespace quillon::automation {

bool IsNull(const Variant& v);
bool IsEmpty(const Variant& v);
bool IsMissing(const Variant& v);
bool IsObject(const Variant& v);  // an Object variant, Nothing included
bool IsArray(const Variant& v);

// Numbers, Booleans and Empty are numeric; a text is when it reads as a number ("1,234.5",
// " -2 ", "1E3", "&H1F"); Null, dates, objects and arrays are not.
bool IsNumeric(const Variant& v);

// Dates are; a text is when it is "YYYY-MM-DD" (optionally with a time) naming a real day.
bool IsDate(const Variant& v);

// The named conversions; they raise what the Variant conversions raise.
inline std::string CStr(const Variant& v) {
  return v.toString();
}
inline double CDbl(const Variant& v) {
  return v.toDouble();
}
inline std::int32_t CLng(const Variant& v) {
  return v.toLong();
}
inline std::int16_t CInt(const Variant& v) {
  return v.toInteger();
}
inline bool CBool(const Variant& v) {
  return v.toBool();
}
inline DateValue CDate(const Variant& v) {
  return v.toDate();
}

// Bounds of an array; 13 when not an array. UBound of an empty array is LBound - 1.
std::int32_t LBound(const Variant& array);
std::int32_t UBound(const Variant& array);

}  // namespace quillon::automation
