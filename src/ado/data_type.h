// Field types of a recordset: the DataTypeEnum numbers callers test, how a column's declared
// T-SQL type becomes a field definition, and the storage kind that holds its values.
//
// Mapping (declared type -> Type, values):
//   int 3 Long; smallint 2 Integer; tinyint 17 Integer; bigint 20 Double; bit 11 Boolean;
//   float 5 / real 4 Double; money, smallmoney 6 Double; decimal, numeric 131 Double;
//   datetime, smalldatetime, datetime2 135 Date; date 133 Date;
//   varchar 200, char 129, text 201, nvarchar 202, nchar 130, ntext 203 String;
//   uniqueidentifier 72 String.
// A column without a declared type (an expression) takes its kind from the values it holds.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillon::ado {

// DataTypeEnum.
inline constexpr std::int32_t adEmpty = 0;
inline constexpr std::int32_t adSmallInt = 2;
inline constexpr std::int32_t adInteger = 3;
inline constexpr std::int32_t adSingle = 4;
inline constexpr std::int32_t adDouble = 5;
inline constexpr std::int32_t adCurrency = 6;
inline constexpr std::int32_t adDate = 7;
inline constexpr std::int32_t adBSTR = 8;
inline constexpr std::int32_t adBoolean = 11;
inline constexpr std::int32_t adVariant = 12;
inline constexpr std::int32_t adDecimal = 14;
inline constexpr std::int32_t adTinyInt = 16;
inline constexpr std::int32_t adUnsignedTinyInt = 17;
inline constexpr std::int32_t adBigInt = 20;
inline constexpr std::int32_t adGUID = 72;
inline constexpr std::int32_t adChar = 129;
inline constexpr std::int32_t adWChar = 130;
inline constexpr std::int32_t adNumeric = 131;
inline constexpr std::int32_t adDBDate = 133;
inline constexpr std::int32_t adDBTime = 134;
inline constexpr std::int32_t adDBTimeStamp = 135;
inline constexpr std::int32_t adVarChar = 200;
inline constexpr std::int32_t adLongVarChar = 201;
inline constexpr std::int32_t adVarWChar = 202;
inline constexpr std::int32_t adLongVarWChar = 203;
inline constexpr std::int32_t adVarNumeric = 139;

// FieldAttributeEnum bits reported by Field.Attributes.
inline constexpr std::int32_t adFldUpdatable = 0x4;
inline constexpr std::int32_t adFldFixed = 0x10;
inline constexpr std::int32_t adFldIsNullable = 0x20;
inline constexpr std::int32_t adFldMayBeNull = 0x40;
inline constexpr std::int32_t adFldLong = 0x80;

// How a column's values are held. Integers that fit 32 bits are kept as such; wider integers,
// reals and decimals as doubles; dates as OLE serial doubles; text as bytes in an arena.
enum class StorageKind : std::uint8_t { Int32, Int64, Double, Date, Bool, Text };

struct FieldDef {
  std::string name;
  std::int32_t type = adVarWChar;
  std::int32_t definedSize = 0;
  std::uint8_t precision = 255;
  std::uint8_t numericScale = 255;
  std::int32_t attributes = adFldUpdatable | adFldIsNullable | adFldMayBeNull;
  StorageKind kind = StorageKind::Text;
  // True while the kind still follows the values (no declared type); settled by the loader.
  bool inferred = false;
};

// The definition for a result column of the given T-SQL base type ("varchar", "decimal",
// "datetime"; empty for an expression) with its declared size, precision and scale (0 when the
// declaration has none).
FieldDef fieldFromDeclared(std::string name, std::string_view baseType, std::int64_t size,
                           int precision, int scale);

// The definition for a field appended by a caller with a DataTypeEnum type; 3001 for a type
// this library cannot hold.
FieldDef fieldFromAdoType(std::string name, std::int32_t type, std::int32_t definedSize);

// The storage kind that holds values of a DataTypeEnum type, or false when there is none.
bool storageKindOf(std::int32_t adoType, StorageKind& kind);

bool isTextType(std::int32_t adoType);
bool isWideTextType(std::int32_t adoType);

}  // namespace quillon::ado
