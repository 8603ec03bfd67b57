#include "ado/data_type.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "ado/ado_errors.h"
#include "automation/text_compare.h"

namespace quillon::ado {

namespace {

constexpr std::int32_t kLongTextSize = 2147483647;
constexpr std::int32_t kLongWideTextSize = 1073741823;

std::int32_t clampSize(std::int64_t size, std::int32_t whenUnbounded) {
  if (size <= 0 || size > std::numeric_limits<std::int32_t>::max()) return whenUnbounded;
  return static_cast<std::int32_t>(size);
}

FieldDef make(std::string name, std::int32_t type, std::int32_t size, int precision, int scale,
              StorageKind kind, std::int32_t extraAttributes = 0) {
  FieldDef f;
  f.name = std::move(name);
  f.type = type;
  f.definedSize = size;
  f.precision = static_cast<std::uint8_t>(std::clamp(precision, 0, 255));
  f.numericScale = static_cast<std::uint8_t>(std::clamp(scale, 0, 255));
  f.kind = kind;
  f.attributes |= extraAttributes;
  return f;
}

}  // namespace

FieldDef fieldFromDeclared(std::string name, std::string_view baseType, std::int64_t size,
                           int precision, int scale) {
  const std::string base = automation::asciiLower(baseType);
  if (base.empty()) {
    // Expressions: the loader settles the kind from the values; text until then.
    FieldDef f = make(std::move(name), adVarWChar, 0, 255, 255, StorageKind::Text);
    f.inferred = true;
    return f;
  }
  if (base == "int" || base == "integer")
    return make(std::move(name), adInteger, 4, 10, 255, StorageKind::Int32, adFldFixed);
  if (base == "smallint")
    return make(std::move(name), adSmallInt, 2, 5, 255, StorageKind::Int32, adFldFixed);
  if (base == "tinyint")
    return make(std::move(name), adUnsignedTinyInt, 1, 3, 255, StorageKind::Int32, adFldFixed);
  if (base == "bigint")
    return make(std::move(name), adBigInt, 8, 19, 255, StorageKind::Int64, adFldFixed);
  if (base == "bit")
    return make(std::move(name), adBoolean, 2, 255, 255, StorageKind::Bool, adFldFixed);
  if (base == "float" || base == "double")
    return make(std::move(name), adDouble, 8, 15, 255, StorageKind::Double, adFldFixed);
  if (base == "real")
    return make(std::move(name), adSingle, 4, 7, 255, StorageKind::Double, adFldFixed);
  if (base == "money")
    return make(std::move(name), adCurrency, 8, 19, 255, StorageKind::Double, adFldFixed);
  if (base == "smallmoney")
    return make(std::move(name), adCurrency, 4, 10, 255, StorageKind::Double, adFldFixed);
  if (base == "decimal" || base == "numeric") {
    const int p = precision > 0 ? precision : 18;
    const int s = precision > 0 ? scale : 0;
    return make(std::move(name), adNumeric, 19, p, s, StorageKind::Double, adFldFixed);
  }
  if (base == "datetime" || base == "datetime2")
    return make(std::move(name), adDBTimeStamp, 16, 23, 3, StorageKind::Date, adFldFixed);
  if (base == "smalldatetime")
    return make(std::move(name), adDBTimeStamp, 16, 16, 0, StorageKind::Date, adFldFixed);
  if (base == "date")
    return make(std::move(name), adDBDate, 6, 10, 0, StorageKind::Date, adFldFixed);
  if (base == "varchar")
    return make(std::move(name), size > 0 ? adVarChar : adLongVarChar,
                clampSize(size, kLongTextSize), 255, 255, StorageKind::Text,
                size > 0 ? 0 : adFldLong);
  if (base == "nvarchar")
    return make(std::move(name), size > 0 ? adVarWChar : adLongVarWChar,
                clampSize(size, kLongWideTextSize), 255, 255, StorageKind::Text,
                size > 0 ? 0 : adFldLong);
  if (base == "char")
    return make(std::move(name), adChar, clampSize(size, 1), 255, 255, StorageKind::Text,
                adFldFixed);
  if (base == "nchar")
    return make(std::move(name), adWChar, clampSize(size, 1), 255, 255, StorageKind::Text,
                adFldFixed);
  if (base == "text")
    return make(std::move(name), adLongVarChar, kLongTextSize, 255, 255, StorageKind::Text,
                adFldLong);
  if (base == "ntext")
    return make(std::move(name), adLongVarWChar, kLongWideTextSize, 255, 255, StorageKind::Text,
                adFldLong);
  if (base == "uniqueidentifier")
    return make(std::move(name), adGUID, 16, 255, 255, StorageKind::Text, adFldFixed);
  // A type this mapping does not know still loads, as text of unknown length.
  FieldDef f = make(std::move(name), adVarWChar, 0, 255, 255, StorageKind::Text);
  f.inferred = true;
  return f;
}

bool storageKindOf(std::int32_t adoType, StorageKind& kind) {
  switch (adoType) {
    case adSmallInt:
    case adInteger:
    case adTinyInt:
    case adUnsignedTinyInt:
      kind = StorageKind::Int32;
      return true;
    case adBigInt:
      kind = StorageKind::Int64;
      return true;
    case adSingle:
    case adDouble:
    case adCurrency:
    case adDecimal:
    case adNumeric:
    case adVarNumeric:
      kind = StorageKind::Double;
      return true;
    case adDate:
    case adDBDate:
    case adDBTime:
    case adDBTimeStamp:
      kind = StorageKind::Date;
      return true;
    case adBoolean:
      kind = StorageKind::Bool;
      return true;
    case adBSTR:
    case adChar:
    case adWChar:
    case adVarChar:
    case adVarWChar:
    case adLongVarChar:
    case adLongVarWChar:
    case adGUID:
      kind = StorageKind::Text;
      return true;
    default:
      return false;
  }
}

FieldDef fieldFromAdoType(std::string name, std::int32_t type, std::int32_t definedSize) {
  StorageKind kind{};
  if (!storageKindOf(type, kind)) throwArguments("unsupported field type");
  if (definedSize < 0) throwArguments("negative field size");
  FieldDef f;
  f.name = std::move(name);
  f.type = type;
  f.kind = kind;
  switch (type) {
    case adSmallInt:
      f.definedSize = 2, f.precision = 5;
      break;
    case adInteger:
      f.definedSize = 4, f.precision = 10;
      break;
    case adTinyInt:
    case adUnsignedTinyInt:
      f.definedSize = 1, f.precision = 3;
      break;
    case adBigInt:
      f.definedSize = 8, f.precision = 19;
      break;
    case adSingle:
      f.definedSize = 4, f.precision = 7;
      break;
    case adDouble:
      f.definedSize = 8, f.precision = 15;
      break;
    case adCurrency:
      f.definedSize = 8, f.precision = 19;
      break;
    case adBoolean:
      f.definedSize = 2;
      break;
    case adDecimal:
    case adNumeric:
    case adVarNumeric:
      f.definedSize = 19, f.precision = 18, f.numericScale = 0;
      break;
    case adDate:
    case adDBTimeStamp:
      f.definedSize = 16;
      break;
    case adDBDate:
      f.definedSize = 6;
      break;
    default:
      f.definedSize = definedSize;
      break;
  }
  if (kind != StorageKind::Text) f.attributes |= adFldFixed;
  return f;
}

bool isTextType(std::int32_t adoType) {
  StorageKind kind{};
  return storageKindOf(adoType, kind) && kind == StorageKind::Text;
}

bool isWideTextType(std::int32_t adoType) {
  return adoType == adWChar || adoType == adVarWChar || adoType == adLongVarWChar ||
         adoType == adBSTR;
}

}  // namespace quillon::ado
