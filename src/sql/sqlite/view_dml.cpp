#include "sql/sqlite/view_dml.h"

#include <sqlite3.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "sql/expression.h"
#include "sql/sql_error.h"
#include "sql/sql_text.h"
#include "sql/sqlite/sqlite_database.h"
#include "sql/sqlite/sqlite_dialect.h"
#include "sql/token.h"

namespace quillon::sql {

namespace {

[[noreturn]] void refuse(const std::string& text) {
  throw SqlError::statementFailed(text);
}

[[noreturn]] void multipleBaseTables(const std::string& view) {
  refuse("View or function '" + view +
         "' is not updatable because the modification affects multiple base tables.");
}

[[noreturn]] void derivedField(const std::string& view) {
  refuse("Update or insert of view or function '" + view +
         "' failed because it contains a derived or constant field.");
}

[[noreturn]] void aggregates(const std::string& view) {
  refuse("Cannot update the view or function '" + view +
         "' because it contains aggregates, or a DISTINCT or GROUP BY clause, or PIVOT or "
         "UNPIVOT operator.");
}

// Index of the ")" closing the "(" at `open`, or t.size().
std::size_t closing(const Tokens& t, std::size_t open) {
  int depth = 0;
  for (std::size_t i = open; i < t.size(); ++i) {
    if (t[i].isOp("(")) ++depth;
    if (t[i].isOp(")") && --depth == 0) return i;
  }
  return t.size();
}

bool isName(const Token& t) {
  return t.kind == TokenKind::Word || t.kind == TokenKind::Name;
}

class Prepared {
 public:
  Prepared(sqlite3* db, const std::string& sql) {
    if (prepareStatement(db, sql, &stmt_) != SQLITE_OK) {
      const std::string message = sqlite3_errmsg(db);
      sqlite3_finalize(stmt_);
      throw SqlError::statementFailed(message, sql);
    }
  }
  ~Prepared() { sqlite3_finalize(stmt_); }
  Prepared(const Prepared&) = delete;
  Prepared& operator=(const Prepared&) = delete;
  sqlite3_stmt* get() const { return stmt_; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

std::string columnText(sqlite3_stmt* stmt, int i) {
  const auto* p = sqlite3_column_text(stmt, i);
  return p != nullptr ? reinterpret_cast<const char*>(p) : "";
}

// The catalogue's name and definition of a view, if `name` is one.
std::optional<std::pair<std::string, std::string>> viewDefinition(sqlite3* db,
                                                                  const std::string& name) {
  Prepared q(db,
             "SELECT name, sql, type FROM main.sqlite_master WHERE name = ?1 COLLATE NOCASE AND "
             "type IN ('view', 'table')");
  sqlite3_bind_text(q.get(), 1, name.c_str(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
  if (sqlite3_step(q.get()) != SQLITE_ROW || columnText(q.get(), 2) != "view") return {};
  return std::make_pair(columnText(q.get(), 0), columnText(q.get(), 1));
}

struct View {
  struct Column {
    std::string name;
    std::string base;  // the base table's column; empty for a computed one
  };
  std::string name;
  std::string table;      // the base table, as the engine writes it
  std::string qualifier;  // how the view's select refers to the base table
  std::string select;     // the view's select from its column list on
  std::vector<Column> columns;
  bool aggregated = false;  // DISTINCT, GROUP BY, HAVING or an aggregate function
};

// Reads the view's definition, as the dialect layer wrote it: CREATE VIEW name [(columns)] AS
// select. Refuses a view over more than one table.
View readView(sqlite3* db, const std::string& name, const std::string& definition) {
  View v;
  v.name = name;
  const Tokens t = tokenize(definition);
  std::size_t i = 3;
  while (i < t.size() && !t[i].isWord("as")) i = t[i].isOp("(") ? closing(t, i) + 1 : i + 1;
  ++i;
  if (i >= t.size() || !t[i].isWord("select")) derivedField(name);
  std::size_t listAt = i + 1;
  if (listAt < t.size() && t[listAt].isWord("all")) ++listAt;
  if (listAt < t.size() && t[listAt].isWord("distinct")) v.aggregated = true;
  std::size_t from = t.size();
  std::size_t fromEnd = t.size();
  static constexpr std::array<std::string_view, 13> kAggregates{
      "count",  "count_big", "sum",  "avg",   "min",          "max",         "stdev",
      "stdevp", "var",       "varp", "total", "group_concat", "checksum_agg"};
  for (std::size_t k = listAt; k < t.size(); ++k) {
    const Token& w = t[k];
    if (w.isOp("(")) {
      k = closing(t, k);
      continue;
    }
    if (w.isWord("union") || w.isWord("except") || w.isWord("intersect")) multipleBaseTables(name);
    if (w.isWord("group") || w.isWord("having")) v.aggregated = true;
    if (from == t.size() && w.isWord("from")) {
      from = k;
    } else if (from != t.size() && fromEnd == t.size() &&
               (w.isWord("where") || w.isWord("group") || w.isWord("having") || w.isWord("order") ||
                w.isWord("limit") || w.isWord("window"))) {
      fromEnd = k;
    }
  }
  // Aggregate calls in the select list, outside sub-selects.
  for (std::size_t k = listAt; k + 1 < from && k + 1 < t.size(); ++k) {
    if (t[k].isOp("(") && t[k + 1].isWord("select")) {
      k = closing(t, k);
    } else if (t[k].kind == TokenKind::Word && t[k + 1].isOp("(")) {
      for (auto a : kAggregates) v.aggregated = v.aggregated || t[k].isWord(a);
    }
  }
  if (from == t.size() || from + 1 >= fromEnd) derivedField(name);
  // One table, perhaps with an alias: anything else joins.
  std::size_t k = from + 1;
  if (t[k].isOp("(")) unsupported("a change through view " + name + ", which is over a sub-select");
  if (!isName(t[k])) multipleBaseTables(name);
  std::string tableName = t[k].text;
  v.table = embeddedDialect().tokenText(t[k]);
  ++k;
  if (k + 1 < fromEnd && t[k].isOp(".") && isName(t[k + 1])) {
    tableName = t[k + 1].text;
    v.table += "." + embeddedDialect().tokenText(t[k + 1]);
    k += 2;
  }
  v.qualifier = v.table;
  if (k < fromEnd && t[k].isWord("as")) ++k;
  if (k < fromEnd && isName(t[k]) && !t[k].keyword) {
    v.qualifier = embeddedDialect().tokenText(t[k]);
    ++k;
  }
  if (k != fromEnd) multipleBaseTables(name);
  if (viewDefinition(db, tableName)) {
    unsupported("a change through view " + name + ", which is over view " + tableName);
  }
  v.select = definition.substr(t[listAt].offset);

  readCurrentSchema(db);
  Prepared probe(db, "SELECT * FROM " + quoteName(name));
  const int n = sqlite3_column_count(probe.get());
  for (int c = 0; c < n; ++c) {
    const char* origin = sqlite3_column_origin_name(probe.get(), c);
    v.columns.push_back({sqlite3_column_name(probe.get(), c), origin != nullptr ? origin : ""});
  }
  return v;
}

// The base column behind a view column named in a statement; refuses a computed one.
const View::Column& columnOf(const View& v, const Token& name) {
  for (const auto& c : v.columns) {
    if (asciiLower(c.name) == asciiLower(name.text)) {
      if (c.base.empty()) derivedField(v.name);
      return c;
    }
  }
  refuse("Invalid column name '" + name.text + "'.");
}

// WITH view("$rid", columns…) AS (SELECT base.rowid, view's columns FROM …): the view's rows
// with the base table's row ids, under the view's own name.
std::string viewRows(const View& v) {
  std::string out = "WITH " + quoteName(v.name) + "(\"$rid\"";
  for (const auto& c : v.columns) out += ", " + quoteName(c.name);
  return out + ") AS (SELECT " + v.qualifier + ".rowid, " + v.select + ") ";
}

}  // namespace

bool isViewChangeRefusal(std::string_view message) {
  return message.starts_with("cannot modify ") && message.ends_with(" because it is a view");
}

std::string rewriteViewChange(sqlite3* db, std::string_view statement) {
  const Tokens t = tokenize(statement);
  if (t.size() < 3) return {};
  const auto textFrom = [&](std::size_t k) {
    return k < t.size() ? std::string(statement.substr(t[k].offset)) : std::string();
  };
  const auto textBetween = [&](std::size_t b, std::size_t e) {
    const std::size_t end = e < t.size() ? t[e].offset : statement.size();
    return std::string(statement.substr(t[b].offset, end - t[b].offset));
  };
  std::size_t targetAt = 0;
  if (t[0].isWord("update")) {
    targetAt = 1;
  } else if ((t[0].isWord("insert") && t[1].isWord("into")) ||
             (t[0].isWord("delete") && t[1].isWord("from"))) {
    targetAt = 2;
  } else {
    if (t[0].isWord("with")) unsupported("a change through a view in a statement with WITH");
    return {};
  }
  if (targetAt >= t.size() || !isName(t[targetAt])) return {};
  const auto definition = viewDefinition(db, t[targetAt].text);
  if (!definition) return {};
  const View v = readView(db, definition->first, definition->second);
  std::size_t k = targetAt + 1;

  if (t[0].isWord("insert")) {
    std::vector<std::string> bases;
    if (k < t.size() && t[k].isOp("(") && k + 1 < t.size() && !t[k + 1].isWord("select")) {
      const std::size_t close = closing(t, k);
      for (std::size_t c = k + 1; c < close; ++c) {
        if (isName(t[c])) bases.push_back(columnOf(v, t[c]).base);
      }
      k = close + 1;
    } else if (k < t.size() && !t[k].isWord("default")) {
      for (const auto& c : v.columns) {
        if (c.base.empty()) derivedField(v.name);
        bases.push_back(c.base);
      }
    }
    if (v.aggregated) aggregates(v.name);
    std::string out = "INSERT INTO " + v.table;
    if (!bases.empty()) {
      out += " (";
      for (std::size_t b = 0; b < bases.size(); ++b)
        out += (b > 0 ? ", " : "") + quoteName(bases[b]);
      out += ")";
    }
    return out + " " + textFrom(k);
  }

  // The statement's own WHERE, over the view's columns.
  std::size_t where = t.size();
  for (std::size_t m = k; m < t.size(); ++m) {
    if (t[m].isOp("(")) {
      m = closing(t, m);
    } else if (t[m].isWord("where")) {
      where = m;
      break;
    } else if (t[m].isWord("from")) {
      unsupported("UPDATE … FROM on view " + v.name);
    }
  }
  const std::string condition = where < t.size() ? " " + textFrom(where) : "";

  if (t[0].isWord("delete")) {
    if (v.aggregated) aggregates(v.name);
    return viewRows(v) + "DELETE FROM " + v.table + " WHERE rowid IN (SELECT \"$rid\" FROM " +
           quoteName(v.name) + condition + ")";
  }

  if (k >= t.size() || !t[k].isWord("set")) return {};
  std::string set;
  std::string values;
  std::size_t start = k + 1;
  int n = 0;
  for (std::size_t m = start; m <= where; ++m) {
    if (m < where && t[m].isOp("(")) {
      m = closing(t, m);
      continue;
    }
    if (m < where && !t[m].isOp(",")) continue;
    // One assignment [start, m): column = expression.
    std::size_t eq = start;
    while (eq < m && !t[eq].isOp("=")) ++eq;
    if (eq == start || eq + 1 >= m) unsupported("assignment '" + textBetween(start, m) + "'");
    const View::Column& c = columnOf(v, t[eq - 1]);
    const std::string slot = "\"$" + std::to_string(++n) + "\"";
    set += (set.empty() ? "" : ", ") + quoteName(c.base) + " = \"$u\"." + slot;
    values += ", " + textBetween(eq + 1, m) + " AS " + slot;
    start = m + 1;
  }
  if (v.aggregated) aggregates(v.name);
  return viewRows(v) + "UPDATE " + v.table + " SET " + set + " FROM (SELECT \"$rid\"" + values +
         " FROM " + quoteName(v.name) + condition + ") AS \"$u\" WHERE " + v.table +
         ".rowid = \"$u\".\"$rid\"";
}

}  // namespace quillon::sql
