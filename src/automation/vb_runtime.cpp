#include "automation/vb_runtime.h"

#include "automation/numeric_text.h"

namespace quillon::automation {

bool IsNull(const Variant& v) {
  return v.isNull();
}
bool IsEmpty(const Variant& v) {
  return v.isEmpty();
}
bool IsMissing(const Variant& v) {
  return v.isMissing();
}
bool IsObject(const Variant& v) {
  return v.isObject();
}
bool IsArray(const Variant& v) {
  return v.isArray();
}

bool IsNumeric(const Variant& v) {
  if (v.isEmpty() || v.isNumber()) return true;
  if (v.isString()) return parseNumericText(v.asString()).has_value();
  return false;
}

bool IsDate(const Variant& v) {
  if (v.type() == VarType::Date) return true;
  if (v.isString()) return parseDateText(v.asString()).has_value();
  return false;
}

std::int32_t LBound(const Variant& array) {
  return array.asArray()->lowerBound;
}

std::int32_t UBound(const Variant& array) {
  const ArrayPtr& a = array.asArray();
  return a->lowerBound + static_cast<std::int32_t>(a->items.size()) - 1;
}

}  // namespace quillon::automation
