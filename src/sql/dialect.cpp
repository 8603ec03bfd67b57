#include "sql/dialect.h"

#include "sql/expression.h"
#include "sql/pg/pg_dialect.h"
#include "sql/sql_text.h"
#include "sql/sqlite/sqlite_dialect.h"

namespace quillon::sql {

std::string Dialect::tokenText(const Token& t) const {
  switch (t.kind) {
    case TokenKind::String:
      return quoteLiteral(t.text);
    case TokenKind::Name:
      if (t.temp) {
        if (asciiLower(t.text) == "sysobjects") return temporaryCatalogue();
        return temporaryName(t.text);
      }
      return name(t.text);
    case TokenKind::Variable: {
      const std::string v = asciiLower(t.text);
      if (v == "@@identity") return identity();
      if (v == "@@rowcount") return rowCount();
      unsupported("variable " + t.text);
    }
    case TokenKind::Word:
      if (!t.keyword && reserves(asciiLower(t.text))) return name(t.text);
      return t.text;
    default:
      return t.text;
  }
}

const Dialect& dialectOf(Engine engine) {
  switch (engine) {
    case Engine::PostgreSQL:
      return serverDialect();
    case Engine::SQLite:
      break;
  }
  return embeddedDialect();
}

std::string convertedLength(const TypeName& type) {
  if (!type.args.empty()) return type.args[0] == "max" ? "0" : type.args[0];
  if (type.base == "sysname") return "128";
  if (type.base.ends_with("text")) return "0";
  return "30";
}

}  // namespace quillon::sql
