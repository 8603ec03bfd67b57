#include "sql/ddl.h"

#include <string>
#include <utility>

#include "sql/expression.h"
#include "sql/sql_text.h"
#include "sql/type_name.h"

namespace quillon::sql {

namespace {

Op exec(std::string sql) {
  Op op;
  op.kind = Op::Kind::Exec;
  op.sql = std::move(sql);
  return op;
}

bool isNameToken(const Token& t) {
  return t.kind == TokenKind::Name || (t.kind == TokenKind::Word && !isKeyword(t));
}

// Text of tokens [b, e) lower-cased and joined, for messages.
std::string words(const Tokens& t, std::size_t b, std::size_t e) {
  std::string out;
  for (std::size_t i = b; i < e && i < t.size(); ++i) {
    if (!out.empty()) out += ' ';
    out += t[i].text;
  }
  return out;
}

// Skips storage options after a table or index definition: ON [PRIMARY], TEXTIMAGE_ON x,
// WITH (...). Anything else is reported.
void skipStorage(const ExprTranslator& x, std::size_t i, std::size_t end) {
  const Tokens& t = x.tokens();
  while (i < end) {
    if ((t[i].isWord("on") || t[i].isWord("textimage_on") || t[i].isWord("filestream_on")) &&
        i + 1 < end) {
      i += 2;
      if (i < end && t[i].isOp("(")) i = x.closing(i) + 1;
    } else if (t[i].isWord("with") && i + 1 < end && t[i + 1].isOp("(")) {
      i = x.closing(i + 1) + 1;
    } else {
      unsupported("'" + words(t, i, end) + "' after a definition");
    }
  }
}

struct ColumnDef {
  std::string name;     // as written for the engine
  std::string written;  // as the definition wrote it
  std::string sql;
  std::string domain;  // the T-SQL type text the engine keeps as a domain, if any
  bool identity = false;
};

// One column definition [b, e): name, type, then column constraints.
ColumnDef columnDef(const ExprTranslator& x, std::size_t b, std::size_t e) {
  const Tokens& t = x.tokens();
  ColumnDef col;
  if (!isNameToken(t[b])) unsupported("column definition '" + words(t, b, e) + "'");
  const Dialect& d = x.dialect();
  col.name = x.tokenText(t[b]);
  col.written = t[b].text;
  std::size_t i = b + 1;
  if (i >= e) unsupported("column " + t[b].text + " without a type");
  if (t[i].isWord("as")) unsupported("computed column " + t[b].text);
  std::size_t next = i;
  const TypeName type = readTypeName(t, i, e, next);
  if (!type.known) unsupported("column type " + type.text() + " of column " + t[b].text);
  const std::string& base = type.base;
  i = next;
  SqlText s;
  s.add(col.name);
  // Detect IDENTITY first: it changes the type the engine needs.
  for (std::size_t k = i; k < e; ++k) {
    if (t[k].isOp("(")) {
      k = x.closing(k);
    } else if (t[k].isWord("identity")) {
      col.identity = true;
    }
  }
  if (col.identity) {
    if (base != "int" && base != "bigint" && base != "smallint" && base != "tinyint" &&
        base != "decimal" && base != "numeric") {
      unsupported("IDENTITY on a column of type " + base);
    }
    s.add(d.identityColumn(base));
  } else {
    ColumnType written = d.columnType(type);
    col.domain = std::move(written.domain);
    s.add(written.sql);
  }
  bool collated = false;
  while (i < e) {
    const Token& w = t[i];
    if (w.isWord("identity")) {
      ++i;
      if (i < e && t[i].isOp("(")) i = x.closing(i) + 1;
    } else if (w.isWord("not") && i + 1 < e && t[i + 1].isWord("null")) {
      s.add("NOT NULL");
      i += 2;
    } else if (w.isWord("null")) {
      if (!col.identity) s.add("NULL");
      ++i;
    } else if (w.isWord("constraint") && i + 1 < e) {
      i += 2;  // constraint names are not kept
    } else if (w.isWord("default")) {
      ++i;
      if (i >= e) unsupported("DEFAULT without a value");
      std::size_t end = i + 1;
      if (t[i].isOp("(")) {
        end = x.closing(i) + 1;
      } else if ((t[i].isOp("-") || t[i].isOp("+")) && i + 1 < e) {
        end = i + 2;
      } else if (i + 1 < e && t[i + 1].isOp("(")) {
        end = x.closing(i + 1) + 1;
      }
      const std::string value = x.range(i, end);
      s.add(t[i].isOp("(") ? "DEFAULT " + value : "DEFAULT (" + value + ")");
      i = end;
    } else if (w.isWord("primary") && i + 1 < e && t[i + 1].isWord("key")) {
      if (!col.identity) s.add("PRIMARY KEY");
      i += 2;
      while (i < e && (t[i].isWord("clustered") || t[i].isWord("nonclustered") ||
                       t[i].isWord("asc") || t[i].isWord("desc"))) {
        ++i;
      }
    } else if (w.isWord("unique")) {
      s.add("UNIQUE");
      ++i;
      while (i < e && (t[i].isWord("clustered") || t[i].isWord("nonclustered"))) ++i;
    } else if (w.isWord("references") || w.isWord("check")) {
      // Passed on as written, up to the next column constraint keyword.
      std::size_t end = i + 1;
      while (end < e && !(t[end].isWord("not") || t[end].isWord("null") ||
                          t[end].isWord("default") || t[end].isWord("constraint") ||
                          t[end].isWord("primary") || t[end].isWord("unique"))) {
        if (t[end].isOp("(")) end = x.closing(end);
        ++end;
      }
      s.add(x.range(i, end));
      i = end;
    } else if (w.isWord("collate") && i + 1 < e) {
      s.add(d.columnCollation(x.range(i, i + 2), t[i + 1].text, base));
      collated = true;
      i += 2;
    } else if (w.isWord("rowguidcol") || w.isWord("sparse") || w.isWord("filestream")) {
      ++i;
    } else {
      unsupported("'" + words(t, i, e) + "' in the definition of column " + t[b].text);
    }
  }
  s.add(d.columnRules(col.name, base, collated));
  col.sql = s.take();
  return col;
}

std::vector<Op> createTable(const ExprTranslator& x, std::size_t nameAt) {
  const Tokens& t = x.tokens();
  if (nameAt >= t.size() || !isNameToken(t[nameAt]))
    unsupported("CREATE TABLE without a table name");
  const std::string table = x.tokenText(t[nameAt]);
  if (nameAt + 1 >= t.size() || !t[nameAt + 1].isOp("("))
    unsupported("CREATE TABLE without columns");
  const std::size_t open = nameAt + 1;
  const std::size_t close = x.closing(open);
  std::vector<std::pair<std::size_t, std::size_t>> defs;
  std::size_t start = open + 1;
  for (std::size_t c : x.commas(open + 1, close)) {
    defs.emplace_back(start, c);
    start = c + 1;
  }
  defs.emplace_back(start, close);

  std::vector<ColumnDef> columns;
  std::vector<std::string> constraints;
  struct Key {
    std::string cols;  // engine text of the column list
    std::size_t listBegin;
    std::size_t listEnd;
  };
  std::vector<Key> primaryKeys;
  for (auto [b, e] : defs) {
    if (b >= e) unsupported("empty column definition in CREATE TABLE");
    std::size_t i = b;
    if (t[i].isWord("constraint")) i += 2;
    if (i >= e) unsupported("CONSTRAINT without a definition");
    const bool pk = t[i].isWord("primary");
    if (pk || t[i].isWord("unique")) {
      std::size_t k = i + (pk ? 2 : 1);
      while (k < e && (t[k].isWord("clustered") || t[k].isWord("nonclustered"))) ++k;
      if (k >= e || !t[k].isOp("(")) unsupported("key constraint without a column list");
      const std::size_t listClose = x.closing(k);
      skipStorage(x, listClose + 1, e);
      std::string cols;
      for (std::size_t c = k + 1; c < listClose; ++c) {
        if (t[c].isWord("asc") || t[c].isWord("desc")) continue;
        cols += t[c].isOp(",") ? ", " : x.tokenText(t[c]);
      }
      if (pk) {
        primaryKeys.push_back({cols, k + 1, listClose});
      } else {
        constraints.push_back("UNIQUE (" + cols + ")");
      }
    } else if (t[i].isWord("foreign") || t[i].isWord("check")) {
      constraints.push_back(x.range(i, e));
    } else if (t[i].isWord("index")) {
      unsupported("inline INDEX in CREATE TABLE");
    } else {
      columns.push_back(columnDef(x, b, e));
    }
  }
  skipStorage(x, close + 1, t.size());

  std::string identity;
  for (const auto& c : columns) {
    if (c.identity) identity = c.name;
  }
  SqlText s;
  s.add("CREATE TABLE");
  s.add(table);
  s.add("(");
  bool first = true;
  const auto add = [&](const std::string& def) {
    if (!first) s.add(",");
    s.add(def);
    first = false;
  };
  for (const auto& c : columns) add(c.sql);
  for (const auto& k : primaryKeys) {
    if (!identity.empty()) {
      // The identity column already is the engine's key; another key stays unique.
      if (asciiLower(k.cols) != asciiLower(identity)) add("UNIQUE (" + k.cols + ")");
    } else {
      add("PRIMARY KEY (" + k.cols + ")");
    }
  }
  for (const auto& c : constraints) add(c);
  s.add(")");
  Op op = exec(s.take());
  for (const auto& c : columns) {
    if (!c.domain.empty()) op.domains.push_back(c.domain);
  }
  if (x.dialect().keepsWrittenNames()) {
    std::vector<std::string> names;
    for (const auto& c : columns) names.push_back(c.written);
    const std::string noted = writtenNames(t[nameAt].text, names);
    if (!noted.empty()) op.sql += x.dialect().noteNames("TABLE", table, noted);
  }
  return {op};
}

std::vector<Op> createIndex(const ExprTranslator& x, std::size_t indexAt, bool unique) {
  const Tokens& t = x.tokens();
  const std::size_t nameAt = indexAt + 1;
  if (nameAt + 3 >= t.size() || !isNameToken(t[nameAt]) || !t[nameAt + 1].isWord("on") ||
      !isNameToken(t[nameAt + 2]) || !t[nameAt + 3].isOp("(")) {
    unsupported("CREATE INDEX '" + words(t, 0, t.size()) + "'");
  }
  const Token& table = t[nameAt + 2];
  const std::size_t open = nameAt + 3;
  const std::size_t close = x.closing(open);
  const std::string name = x.dialect().indexName(t[nameAt].text, table.temp);
  const std::string tableText = x.dialect().indexedTable(table);
  std::string sql = std::string(unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ") + name + " ON " +
                    tableText + " (" + x.range(open + 1, close) + ")";
  std::size_t i = close + 1;
  if (i < t.size() && t[i].isWord("include") && i + 1 < t.size() && t[i + 1].isOp("(")) {
    i = x.closing(i + 1) + 1;  // covering columns only speed the server up
  }
  if (i < t.size() && t[i].isWord("where")) {
    std::size_t end = i + 1;
    while (end < t.size() && !t[end].isWord("with") && !t[end].isWord("on")) {
      if (t[end].isOp("(")) end = x.closing(end);
      ++end;
    }
    sql += " WHERE " + x.range(i + 1, end);
    i = end;
  }
  skipStorage(x, i, t.size());
  return {exec(sql)};
}

std::vector<Op> createView(const ExprTranslator& x, std::size_t nameAt) {
  const Tokens& t = x.tokens();
  if (nameAt >= t.size() || !isNameToken(t[nameAt])) unsupported("CREATE VIEW without a name");
  std::size_t i = nameAt + 1;
  std::string columns;
  if (i < t.size() && t[i].isOp("(")) {
    columns = " (" + x.range(i + 1, x.closing(i)) + ")";
    i = x.closing(i) + 1;
  }
  if (i + 1 < t.size() && t[i].isWord("with")) i += 2;  // WITH SCHEMABINDING and the like
  if (i >= t.size() || !t[i].isWord("as")) unsupported("CREATE VIEW without AS");
  const std::string view = x.tokenText(t[nameAt]);
  Op op = exec("CREATE VIEW " + view + columns + " AS " + x.range(i + 1, t.size()));
  if (x.dialect().keepsWrittenNames()) {
    std::vector<std::string> names;
    if (!columns.empty()) {
      for (std::size_t k = nameAt + 2; k < x.closing(nameAt + 1); ++k)
        if (!t[k].isOp(",")) names.push_back(t[k].text);
    } else if (i + 1 < t.size() && t[i + 1].isWord("select")) {
      names = outputNames(x, i + 1, t.size());
    }
    const std::string noted = writtenNames(t[nameAt].text, names);
    if (!noted.empty()) op.sql += x.dialect().noteNames("VIEW", view, noted);
  }
  return {op};
}

}  // namespace

std::vector<Op> translateCreate(const Tokens& tokens, const Dialect& dialect) {
  const ExprTranslator x(tokens, dialect);
  std::size_t i = 1;
  bool unique = false;
  while (i < tokens.size() && (tokens[i].isWord("unique") || tokens[i].isWord("clustered") ||
                               tokens[i].isWord("nonclustered"))) {
    unique = unique || tokens[i].isWord("unique");
    ++i;
  }
  if (i >= tokens.size()) unsupported("CREATE without an object");
  if (tokens[i].isWord("table") && !unique) return createTable(x, i + 1);
  if (tokens[i].isWord("index")) return createIndex(x, i, unique);
  if (tokens[i].isWord("view") && !unique) return createView(x, i + 1);
  unsupported("CREATE " + tokens[i].text);
}

std::vector<Op> translateDrop(const Tokens& tokens, const Dialect& dialect) {
  if (tokens.size() < 3) unsupported("DROP '" + words(tokens, 0, tokens.size()) + "'");
  const Token& what = tokens[1];
  std::vector<Op> out;
  if (what.isWord("table") || what.isWord("view")) {
    const std::string kind = what.isWord("table") ? "DROP TABLE " : "DROP VIEW ";
    for (std::size_t i = 2; i < tokens.size(); ++i) {
      if (tokens[i].isOp(",")) continue;
      if (!isNameToken(tokens[i])) unsupported("DROP '" + words(tokens, 0, tokens.size()) + "'");
      Op op = exec(kind + dialect.tokenText(tokens[i]));
      if (what.isWord("table")) {
        op.kind = Op::Kind::DropTable;
        if (!tokens[i].temp) op.target = tokens[i].text;
      }
      out.push_back(std::move(op));
    }
    return out;
  }
  if (what.isWord("index")) {
    // "drop index t.ix" or "drop index ix on t"; index names are per database in the engine.
    std::size_t nameAt = 2;
    if (tokens.size() >= 5 && tokens[3].isOp(".")) nameAt = 4;
    if (!isNameToken(tokens[nameAt]))
      unsupported("DROP INDEX '" + words(tokens, 0, tokens.size()) + "'");
    out.push_back(exec("DROP INDEX " + dialect.indexName(tokens[nameAt].text, false)));
    return out;
  }
  unsupported("DROP " + what.text);
}

std::vector<Op> translateAlter(const Tokens& tokens, const Dialect& dialect) {
  const ExprTranslator x(tokens, dialect);
  if (tokens.size() < 5 || !tokens[1].isWord("table") || !isNameToken(tokens[2])) {
    unsupported("ALTER '" + words(tokens, 0, tokens.size()) + "'");
  }
  const std::string table = x.tokenText(tokens[2]);
  std::vector<Op> out;
  if (tokens[3].isWord("add") && !tokens[4].isWord("constraint") && !tokens[4].isWord("primary") &&
      !tokens[4].isWord("foreign") && !tokens[4].isWord("unique") && !tokens[4].isWord("check")) {
    std::size_t start = 4;
    if (tokens[4].isWord("column")) start = 5;
    auto cs = x.commas(start, tokens.size());
    cs.push_back(tokens.size());
    for (std::size_t c : cs) {
      const ColumnDef def = columnDef(x, start, c);
      if (def.identity) unsupported("ALTER TABLE ADD of an IDENTITY column");
      Op op = exec("ALTER TABLE " + table + " ADD COLUMN " + def.sql);
      if (!def.domain.empty()) op.domains.push_back(def.domain);
      op.sql += dialect.noteAddedColumn(table, def.written);
      out.push_back(std::move(op));
      start = c + 1;
    }
    return out;
  }
  if (tokens[3].isWord("drop") && tokens[4].isWord("column") && tokens.size() >= 6) {
    for (std::size_t i = 5; i < tokens.size(); ++i) {
      if (tokens[i].isOp(",")) continue;
      out.push_back(exec("ALTER TABLE " + table + " DROP COLUMN " + x.tokenText(tokens[i])));
    }
    return out;
  }
  unsupported("ALTER TABLE … " + tokens[3].text + " " + tokens[4].text);
}

}  // namespace quillon::sql
