#include "sql/translator.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "automation/text_compare.h"
#include "sql/database.h"
#include "sql/ddl.h"
#include "sql/expression.h"
#include "sql/grouped_distinct.h"
#include "sql/logical_chains.h"
#include "sql/outer_in.h"
#include "sql/splitter.h"
#include "sql/sql_error.h"
#include "sql/sql_text.h"
#include "sql/token.h"

namespace quillon::sql {

namespace {

// The T-SQL text of a statement, for error messages.
std::string sourceOf(std::string_view batch, const Tokens& tokens) {
  if (tokens.empty()) return {};
  const std::size_t begin = tokens.front().offset;
  std::size_t end = tokens.back().offset + tokens.back().text.size() + 2;
  if (end > batch.size()) end = batch.size();
  std::string s(batch.substr(begin, end - begin));
  if (s.size() > 200) s = s.substr(0, 200) + "…";
  return s;
}

Op simpleOp(Op::Kind kind, std::string sql) {
  Op op;
  op.kind = kind;
  op.sql = std::move(sql);
  return op;
}

// The depth-0 position of a word in [from, end) (end: the last token), or npos.
std::size_t findTop(const ExprTranslator& x, std::size_t from, std::string_view word,
                    std::size_t end = std::string::npos) {
  const Tokens& t = x.tokens();
  end = std::min(end, t.size());
  for (std::size_t i = from; i < end; ++i) {
    if (t[i].isOp("(")) {
      i = x.closing(i);
    } else if (t[i].isWord(word)) {
      return i;
    }
  }
  return std::string::npos;
}

std::vector<Op> translateStatement(const Tokens& tokens, const Dialect& d);

Token makeToken(TokenKind kind, std::string text, std::size_t offset) {
  Token t;
  t.kind = kind;
  t.text = std::move(text);
  t.offset = offset;
  return t;
}

bool isNameToken(const Token& t) {
  return t.kind == TokenKind::Name || (t.kind == TokenKind::Word && !t.keyword);
}

bool sameName(const Token& t, const Token& name) {
  return (t.kind == TokenKind::Word || t.kind == TokenKind::Name) && !t.temp &&
         asciiLower(t.text) == asciiLower(name.text);
}

// The names of a select's columns as the server gives them: "alias = expr", "expr [as] alias",
// "[table.]column". Empty when one has no name the text shows (an expression, "*").
std::vector<std::string> selectListNames(const ExprTranslator& x, std::size_t begin,
                                         std::size_t end) {
  const Tokens& t = x.tokens();
  std::size_t i = begin + 1;
  while (i < end && (t[i].isWord("distinct") || t[i].isWord("all"))) ++i;
  if (i < end && t[i].isWord("top")) return {};
  // Within the select only: a search on to the end of the statement would make a WITH of many
  // expressions take time by the square of their number.
  const std::size_t from = findTop(x, i, "from", end);
  const std::size_t listEnd = std::min(from, end);
  std::vector<std::string> names;
  auto cs = x.commas(i, listEnd);
  cs.push_back(listEnd);
  for (std::size_t c : cs) {
    const std::size_t n = c - i;
    std::string name;
    if (n >= 3 && isNameToken(t[i]) && t[i + 1].isOp("=")) {
      name = t[i].text;
    } else if (n >= 2 && (isNameToken(t[c - 1]) || t[c - 1].kind == TokenKind::String) &&
               (t[c - 2].isWord("as") || !t[c - 2].isOp("."))) {
      name = t[c - 1].text;
    } else if (n >= 1 && isNameToken(t[c - 1]) && (n == 1 || t[c - 2].isOp("."))) {
      name = t[c - 1].text;
    }
    if (name.empty()) return {};
    names.push_back(name);
    i = c + 1;
  }
  return names;
}

// WITH name [(columns)] AS (select …)[, …] statement. A recursive expression is kept to the
// server's limit of recursion levels (100, or OPTION (MAXRECURSION n); 0 is none): the engine has
// no limit, so its rows carry their level in a column of a helper expression and a level past the
// limit is the server's error; the expression under its own name leaves that column out.
std::vector<Op> translateWith(const Tokens& tokens, const Dialect& d) {
  const ExprTranslator x(tokens, d);
  Tokens main;
  std::size_t end = tokens.size();
  // OPTION (…) closes the statement.
  long limit = 100;
  if (end >= 4 && tokens[end - 1].isOp(")")) {
    std::size_t open = end - 1;
    while (open > 0 && !(tokens[open].isOp("(") && x.closing(open) == end - 1)) --open;
    if (open > 0 && tokens[open - 1].isWord("option")) {
      if (open + 3 != end - 1 || !tokens[open + 1].isWord("maxrecursion") ||
          tokens[open + 2].kind != TokenKind::Number) {
        unsupported("OPTION (" + tokens[open + 1].text + " …)");
      }
      limit = std::strtol(tokens[open + 2].text.c_str(), nullptr, 10);
      end = open - 1;
    }
  }
  std::string with = "WITH ";
  bool anyRecursive = false;
  std::size_t i = 1;
  while (true) {
    if (i >= end || !isNameToken(tokens[i])) unsupported("WITH without a common table expression");
    const Token& name = tokens[i];
    const std::string nameText = x.tokenText(name);
    ++i;
    std::string columns;
    std::vector<std::string> columnNames;
    if (i < end && tokens[i].isOp("(")) {
      const std::size_t close = x.closing(i);
      for (std::size_t k = i + 1; k < close; ++k) {
        if (!tokens[k].isOp(",")) columnNames.push_back(tokens[k].text);
      }
      columns = "(" + x.range(i + 1, close) + ")";
      i = close + 1;
    }
    if (i + 1 >= end || !tokens[i].isWord("as") || !tokens[i + 1].isOp("("))
      unsupported("common table expression " + name.text + " without AS (…)");
    const std::size_t open = i + 1;
    const std::size_t close = x.closing(open);
    // Its members: the selects joined by UNION [ALL] at its top level.
    std::vector<std::pair<std::size_t, std::size_t>> members;
    bool recursive = false;
    std::size_t start = open + 1;
    for (std::size_t k = open + 1; k <= close; ++k) {
      if (k < close && tokens[k].isOp("(")) {
        for (std::size_t m = k; m < x.closing(k); ++m)
          recursive = recursive || sameName(tokens[m], name);
        k = x.closing(k);
        continue;
      }
      if (k < close && sameName(tokens[k], name) && !tokens[k - 1].isOp(".")) recursive = true;
      if (k == close || tokens[k].isWord("union")) {
        members.emplace_back(start, k);
        start = k + 1;
        if (k < close && tokens[k + 1].isWord("all")) start = k + 2;
      }
    }
    if (columnNames.empty() && !members.empty()) {
      columnNames = selectListNames(x, members.front().first, members.front().second);
    }
    bool selects = true;
    for (const auto& [b, e] : members) selects = selects && b < e && tokens[b].isWord("select");
    anyRecursive = anyRecursive || recursive;
    if (!recursive || limit == 0 || columnNames.empty() || !selects) {
      with += nameText + columns + " AS (" + x.range(open + 1, close) + ")";
    } else {
      Token levels = makeToken(TokenKind::Name, name.text + "$levels", name.offset);
      std::string body;
      for (std::size_t m = 0; m < members.size(); ++m) {
        const auto [b, e] = members[m];
        Tokens member;
        bool selfReferring = false;
        for (std::size_t k = b; k < e; ++k) {
          const bool self = sameName(tokens[k], name) && !tokens[k - 1].isOp(".");
          selfReferring = selfReferring || self;
          member.push_back(self ? levels : tokens[k]);
        }
        const ExprTranslator mx(member, d);
        const std::size_t at = std::min(findTop(mx, 1, "from"), member.size());
        Tokens level{makeToken(TokenKind::Operator, ",", 0)};
        if (selfReferring) {
          level.push_back(makeToken(TokenKind::Word, d.helper("recursion_level"), 0));
          level.push_back(makeToken(TokenKind::Operator, "(", 0));
          level.push_back(makeToken(TokenKind::Name, "$level", 0));
          level.push_back(makeToken(TokenKind::Operator, "+", 0));
          level.push_back(makeToken(TokenKind::Number, "1", 0));
          level.push_back(makeToken(TokenKind::Operator, ",", 0));
          level.push_back(makeToken(TokenKind::Number, std::to_string(limit), 0));
          level.push_back(makeToken(TokenKind::Operator, ")", 0));
        } else {
          level.push_back(makeToken(TokenKind::Number, "0", 0));
        }
        member.insert(member.begin() + static_cast<std::ptrdiff_t>(at), level.begin(), level.end());
        if (m > 0)
          body += tokens[members[m - 1].second + 1].isWord("all") ? " UNION ALL " : " UNION ";
        body += ExprTranslator(member, d).all();
      }
      std::string list;
      for (const auto& c : columnNames) list += (list.empty() ? "" : ", ") + x.aliasText(c);
      const std::string helper = x.tokenText(levels);
      with += helper + "(" + list + ", \"$level\") AS (" + body + "), " + nameText + "(" + list +
              ") AS (SELECT " + list + " FROM " + helper + ")";
    }
    i = close + 1;
    if (i < end && tokens[i].isOp(",")) {
      with += ", ";
      ++i;
      continue;
    }
    break;
  }
  if (i >= end) unsupported("WITH without a statement");
  main.assign(tokens.begin() + static_cast<std::ptrdiff_t>(i),
              tokens.begin() + static_cast<std::ptrdiff_t>(end));
  const Token& verb = main.front();
  if (!verb.isWord("select") && !verb.isWord("insert") && !verb.isWord("update") &&
      !verb.isWord("delete")) {
    unsupported("WITH … " + verb.text);
  }
  auto ops = translateStatement(main, d);
  with.replace(0, 4, d.with(anyRecursive));
  for (auto& op : ops) op.sql = with + " " + op.sql;
  return ops;
}

std::vector<Op> translateStatement(const Tokens& tokens, const Dialect& d) {
  const Token& first = tokens.front();
  const std::string kind = asciiLower(first.text);
  if (first.kind != TokenKind::Word) unsupported("statement starting with '" + first.text + "'");

  if (kind == "select") {
    const ExprTranslator x(tokens, d);
    const std::size_t into = findTop(x, 1, "into");
    if (into == std::string::npos) {
      Op op = simpleOp(Op::Kind::Exec, x.all());
      if (d.keepsWrittenNames()) op.columnNames = outputNames(x, 0, tokens.size());
      return {op};
    }
    const std::size_t from = findTop(x, 1, "from");
    if (into + 1 >= tokens.size() || (from != std::string::npos && from < into)) {
      unsupported("SELECT … INTO without a target table");
    }
    Tokens rest(tokens.begin(), tokens.begin() + static_cast<std::ptrdiff_t>(into));
    rest.insert(rest.end(), tokens.begin() + static_cast<std::ptrdiff_t>(into) + 2, tokens.end());
    Op op = simpleOp(Op::Kind::SelectInto, ExprTranslator(rest, d).all());
    op.target = x.tokenText(tokens[into + 1]);
    if (d.keepsWrittenNames()) {
      const ExprTranslator rx(rest, d);
      op.comment = writtenNames(tokens[into + 1].text, outputNames(rx, 0, rest.size()));
    }
    return {op};
  }
  if (kind == "insert") {
    Tokens t = tokens;
    if (t.size() > 1 && !t[1].isWord("into")) {
      Token into;
      into.kind = TokenKind::Word;
      into.text = "into";
      into.keyword = true;
      into.offset = t[1].offset;
      t.insert(t.begin() + 1, into);
    }
    for (const Token& tok : t) {
      if (tok.isWord("exec") || tok.isWord("execute")) unsupported("INSERT … EXEC");
    }
    return {simpleOp(Op::Kind::Exec, ExprTranslator(t, d).all())};
  }
  if (kind == "update") return {simpleOp(Op::Kind::Exec, ExprTranslator(tokens, d).all())};
  if (kind == "delete") {
    Tokens t = tokens;
    if (t.size() > 1 && !t[1].isWord("from")) {
      Token from;
      from.kind = TokenKind::Word;
      from.text = "from";
      from.keyword = true;
      from.offset = t[1].offset;
      t.insert(t.begin() + 1, from);
    }
    const ExprTranslator x(t, d);
    if (findTop(x, 2, "from") != std::string::npos)
      unsupported("DELETE with a second FROM (a join)");
    return {simpleOp(Op::Kind::Exec, x.all())};
  }
  if (kind == "with") return translateWith(tokens, d);
  if (kind == "create") return translateCreate(tokens, d);
  if (kind == "drop") return translateDrop(tokens, d);
  if (kind == "alter") return translateAlter(tokens, d);
  if (kind == "truncate") {
    if (tokens.size() != 3 || !tokens[1].isWord("table"))
      unsupported("TRUNCATE without TABLE name");
    return {simpleOp(Op::Kind::Exec, "DELETE FROM " + d.tokenText(tokens[2]))};
  }
  if (kind == "begin") return {simpleOp(Op::Kind::Exec, "BEGIN")};
  if (kind == "commit") return {simpleOp(Op::Kind::Exec, "COMMIT")};
  if (kind == "rollback") return {simpleOp(Op::Kind::Exec, "ROLLBACK")};
  if (kind == "set" && tokens.size() >= 2) {
    static constexpr std::string_view kSessionOptions[] = {"nocount",
                                                           "ansi_nulls",
                                                           "quoted_identifier",
                                                           "ansi_warnings",
                                                           "ansi_padding",
                                                           "arithabort",
                                                           "concat_null_yields_null",
                                                           "xact_abort",
                                                           "dateformat",
                                                           "datefirst",
                                                           "lock_timeout",
                                                           "transaction",
                                                           "implicit_transactions",
                                                           "numeric_roundabort",
                                                           "language",
                                                           "deadlock_priority"};
    const std::string option = asciiLower(tokens[1].text);
    for (auto o : kSessionOptions) {
      if (option == o) return {simpleOp(Op::Kind::Noop, {})};
    }
  }
  if (kind == "print") return {simpleOp(Op::Kind::Noop, {})};
  unsupported(automation::asciiUpper(kind) + " statement");
}

void translateNodes(std::string_view batch, const Tokens& tokens,
                    const std::vector<StatementNode>& nodes, Program& out, const Dialect& d) {
  for (const auto& node : nodes) {
    switch (node.kind) {
      case StatementNode::Kind::Simple: {
        Tokens statement = node.tokensOf(tokens);
        const std::string source = sourceOf(batch, statement);
        if (d.groupsDistinct()) statement = distinctAsGrouping(std::move(statement));
        auto ops = translateStatement(statement, d);
        for (auto& op : ops) {
          op.source = source;
          out.push_back(std::move(op));
        }
        break;
      }
      case StatementNode::Kind::Block:
        translateNodes(batch, tokens, node.body, out, d);
        break;
      case StatementNode::Kind::If: {
        const Tokens condition = node.tokensOf(tokens);
        Op op;
        op.kind = Op::Kind::If;
        op.source = "if " + sourceOf(batch, condition);
        op.sql = "SELECT CASE WHEN " + ExprTranslator(condition, d).all() + " THEN 1 ELSE 0 END";
        translateNodes(batch, tokens, node.body, op.body, d);
        translateNodes(batch, tokens, node.elseBody, op.elseBody, d);
        out.push_back(std::move(op));
        break;
      }
    }
  }
}

}  // namespace

Translator::Translator(std::size_t capacity, Engine engine)
    : capacity_(capacity == 0 ? 1 : capacity), engine_(engine) {}

Program Translator::translateUncached(std::string_view batch, Engine engine) {
  if (batch.size() > kMaxBatchBytes) throw SqlError::batchTooLong();
  Program program;
  const Dialect& d = dialectOf(engine);
  Tokens tokens = tokenize(batch);
  if (d.nestsFlatChains()) tokens = groupLongChains(std::move(tokens));
  if (d.prefersExistsForOuterIn()) tokens = correlatedIn(existsForOuterIn(std::move(tokens)));
  const std::vector<StatementNode> nodes = splitBatch(tokens);
  // Most statements give one engine statement: the program is made at its size at once rather
  // than moved to ever larger places as it grows.
  program.reserve(nodes.size());
  translateNodes(batch, tokens, nodes, program, d);
  return program;
}

std::shared_ptr<const Program> Translator::translate(std::string_view batch) {
  const SchemaTypes* schema = schema_ ? schema_() : nullptr;
  if (auto it = map_.find(batch); it != map_.end()) {
    const auto& read = it->second->read;
    const bool current = std::all_of(read.begin(), read.end(), [&](const auto& r) {
      return (schema != nullptr ? schema->table(r.first) : nullptr) == r.second;
    });
    if (current) {
      lru_.splice(lru_.begin(), lru_, it->second);
      return it->second->program;
    }
    const auto stale = it->second;
    map_.erase(it);
    lru_.erase(stale);
  }
  SchemaScope scope(schema);
  auto program = std::make_shared<const Program>(translateUncached(batch, engine_));
  // A long batch is a load or a script, run once: keeping it would hold its text and its program
  // for as long as the connection lives.
  // So is one translated while the engine could not say what its columns are: it is translated
  // again when it can.
  if (batch.size() > kLongestCachedBatch || (schema_ && schema == nullptr)) return program;
  lru_.push_front(Entry{std::string(batch), program, scope.takeRead()});
  map_.emplace(lru_.front().batch, lru_.begin());
  while (map_.size() > capacity_) {
    map_.erase(lru_.back().batch);
    lru_.pop_back();
  }
  return program;
}

void Translator::clearCache() {
  map_.clear();
  lru_.clear();
}

}  // namespace quillon::sql
