#include "sql/sqlite/declared_type.h"

#include <array>
#include <charconv>
#include <string>

#include "automation/text_compare.h"
#include "sql/result.h"

namespace quillon::sql {

using automation::asciiLower;
using automation::asciiUpper;

namespace {

struct TypeMapping {
  std::string_view tsql;      // lower-case T-SQL base type
  std::string_view affinity;  // the word that gives the engine column its affinity
};

constexpr std::array kTypes{
    TypeMapping{"decimal", "REAL"},
    TypeMapping{"numeric", "REAL"},
    TypeMapping{"money", "REAL"},
    TypeMapping{"smallmoney", "REAL"},
    TypeMapping{"float", "REAL"},
    TypeMapping{"real", "REAL"},
    TypeMapping{"bit", "INTEGER"},
    TypeMapping{"int", "INTEGER"},
    TypeMapping{"smallint", "INTEGER"},
    TypeMapping{"tinyint", "INTEGER"},
    TypeMapping{"bigint", "INTEGER"},
    TypeMapping{"varchar", "TEXT"},
    TypeMapping{"nvarchar", "TEXT"},
    TypeMapping{"char", "TEXT"},
    TypeMapping{"nchar", "TEXT"},
    TypeMapping{"text", "TEXT"},
    TypeMapping{"ntext", "TEXT"},
    TypeMapping{"sysname", "TEXT"},
    TypeMapping{"uniqueidentifier", "TEXT"},
    TypeMapping{"datetime", "TEXT"},
    TypeMapping{"smalldatetime", "TEXT"},
    TypeMapping{"date", "TEXT"},
    TypeMapping{"datetime2", "TEXT"},
    TypeMapping{"datetimeoffset", "TEXT"},
    TypeMapping{"time", "TEXT"},
    TypeMapping{"image", "BLOB"},
    TypeMapping{"varbinary", "BLOB"},
    TypeMapping{"binary", "BLOB"},
    TypeMapping{"timestamp", "BLOB"},
};

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

const TypeMapping* findType(std::string_view lowerBase) {
  for (const auto& t : kTypes) {
    if (t.tsql == lowerBase) return &t;
  }
  return nullptr;
}

// Splits "name(args)" into its trimmed name and the text inside the parentheses.
void splitArgs(std::string_view text, std::string_view& name, std::string_view& args) {
  const auto open = text.find('(');
  if (open == std::string_view::npos) {
    name = trim(text);
    args = {};
    return;
  }
  name = trim(text.substr(0, open));
  auto close = text.rfind(')');
  if (close == std::string_view::npos || close < open) close = text.size();
  args = trim(text.substr(open + 1, close - open - 1));
}

std::string stripSpaces(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c != ' ' && c != '\t') out += c;
  }
  return out;
}

}  // namespace

std::string engineDeclaredType(std::string_view tsqlType) {
  std::string_view name;
  std::string_view args;
  splitArgs(tsqlType, name, args);
  const std::string base = asciiLower(name);
  const TypeMapping* t = findType(base);
  if (t == nullptr) return {};
  std::string out = asciiUpper(base);
  out += ' ';
  out += t->affinity;
  if (!args.empty()) {
    std::string a = asciiLower(stripSpaces(args));
    if (a == "max") a = "-1";
    out += '(' + a + ')';
  }
  return out;
}

std::string tsqlTypeFromDeclared(std::string_view engineDeclared) {
  std::string_view name;
  std::string_view args;
  splitArgs(engineDeclared, name, args);
  const std::string lowered = asciiLower(name);
  std::string base = lowered;
  const auto space = lowered.find(' ');
  if (space != std::string::npos) {
    const std::string first = lowered.substr(0, space);
    const std::string rest(trim(std::string_view(lowered).substr(space + 1)));
    const TypeMapping* t = findType(first);
    if (t != nullptr && rest == asciiLower(t->affinity)) base = first;
  }
  // The key column of a table with an identity column is declared plainly as INTEGER.
  if (base == "integer") base = "int";
  if (engineDeclared.find('(') == std::string_view::npos) return base;
  std::string a = stripSpaces(args);
  if (a == "-1") a = "max";
  return base + '(' + a + ')';
}

bool isTextType(std::string_view baseType) {
  const TypeMapping* t = findType(asciiLower(baseType));
  return t != nullptr && t->affinity == "TEXT" && t->tsql.find("date") == std::string_view::npos &&
         t->tsql != "time";
}

bool isDateType(std::string_view baseType) {
  const std::string b = asciiLower(baseType);
  return b == "datetime" || b == "smalldatetime" || b == "date" || b == "datetime2" ||
         b == "datetimeoffset";
}

std::string collationClause(std::string_view baseType) {
  if (isTextType(baseType)) return "COLLATE NOCASE";
  if (isDateType(baseType)) return std::string("COLLATE ") + kDateCollation;
  if (asciiLower(baseType) == "time") return std::string("COLLATE ") + kTimeCollation;
  return {};
}

ColumnInfo describeDeclaredType(std::string_view declared) {
  ColumnInfo info;
  info.declaredType = asciiLower(trim(declared));
  if (info.declaredType.empty()) return info;
  std::string_view name;
  std::string_view args;
  splitArgs(info.declaredType, name, args);
  info.baseType = std::string(name);
  if (args.empty()) return info;
  const std::string a = stripSpaces(args);
  const auto comma = a.find(',');
  const std::string firstArg = a.substr(0, comma);
  int first = 0;
  std::from_chars(firstArg.data(), firstArg.data() + firstArg.size(), first);
  if (comma != std::string::npos) {
    std::from_chars(a.data() + comma + 1, a.data() + a.size(), info.scale);
  }
  const TypeMapping* t = findType(info.baseType);
  const bool exactNumeric = info.baseType == "decimal" || info.baseType == "numeric";
  if (exactNumeric || info.baseType == "float") {
    info.precision = first;
  } else if (info.baseType == "time" || info.baseType == "datetime2" ||
             info.baseType == "datetimeoffset") {
    info.scale = first;  // digits of the fraction of a second
  } else if (firstArg == "max") {
    info.size = 2147483647;
  } else if (t == nullptr || t->affinity == "TEXT" || t->affinity == "BLOB") {
    info.size = first;
  }
  return info;
}

}  // namespace quillon::sql
