// How T-SQL column types are stored in the engine's schema.
//
// The engine keeps a column's declared type text verbatim, and derives the column's storage
// affinity from it. We write "<t-sql type> <affinity word>(size)" -- e.g. "DECIMAL REAL(20,6)",
// "VARCHAR TEXT(20)", "DATETIME TEXT", "BIT INTEGER" -- so that the affinity is the one the server
// semantics need (decimals divide as reals, dates stay ISO text) and the T-SQL type can be read
// back from any result column that comes straight from a table.
#pragma once

#include <string>
#include <string_view>

namespace quillon::sql {

// The engine declaration for a T-SQL type such as "varchar(20)" or "decimal(20,6)"; empty when
// the type is not one the library knows.
std::string engineDeclaredType(std::string_view tsqlType);

// The T-SQL type, lower case, behind an engine declaration ("DECIMAL REAL(20,6)" ->
// "decimal(20,6)"). Declarations not written by engineDeclaredType are returned lower-cased.
std::string tsqlTypeFromDeclared(std::string_view engineDeclared);

// Whether the T-SQL base type compares as text (and therefore without regard to case).
bool isTextType(std::string_view baseType);

// Whether the T-SQL base type holds a date and/or time (kept as ISO text, compared as a date).
bool isDateType(std::string_view baseType);

// The column clauses that give a column of the T-SQL base type the server's comparison rules:
// "COLLATE NOCASE" for text, "COLLATE TSQLDATE" for dates, "COLLATE TSQLTIME" for times, empty
// otherwise.
std::string collationClause(std::string_view baseType);

// The collation under which date columns compare: "2024-03-01" equals "2024-03-01 00:00:00".
inline constexpr const char* kDateCollation = "TSQLDATE";
// The collation under which time columns compare: "9:05" equals "09:05:00".
inline constexpr const char* kTimeCollation = "TSQLTIME";

}  // namespace quillon::sql
