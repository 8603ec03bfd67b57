// T-SQL type names as column definitions and conversions write them.
//
// The server accepts synonyms (integer, dec, double precision, character varying, national char,
// rowversion, ...) and gives each its canonical type; float(n) is real up to 24 bits of mantissa
// and float beyond. readTypeName gives the canonical name with its arguments, so the rest of the
// layer knows one spelling per type; it refuses arguments the server refuses (int(5),
// varchar(9000), decimal(40,2)).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "sql/token.h"

namespace quillon::sql {

struct TypeName {
  std::string base;               // canonical, lower case: "int", "nvarchar", "float"
  std::vector<std::string> args;  // lower case as written: {"20"}, {"max"}, {"18", "2"}
  bool known = false;             // a type the layer gives a meaning; else base is as written

  // "varchar(20)", "decimal(18,2)", "int".
  std::string text() const;
};

// Reads the type name that starts at tokens[at] and ends before `end`; `next` is set to the first
// token after it. Throws ComError for arguments the server refuses.
TypeName readTypeName(const Tokens& tokens, std::size_t at, std::size_t end, std::size_t& next);

// Whether a canonical base type holds characters (char, varchar, nchar, nvarchar, text, ntext,
// sysname), and whether it holds bytes (binary, varbinary, image, timestamp).
bool isCharacterType(std::string_view base);
bool isBinaryType(std::string_view base);

}  // namespace quillon::sql
