#include "sql/translator.h"

#include <string>

#include "sql/ddl.h"
#include "sql/expression.h"
#include "sql/splitter.h"
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

// The depth-0 position of a word in [from, tokens.size()), or npos.
std::size_t findTop(const ExprTranslator& x, std::size_t from, std::string_view word) {
  const Tokens& t = x.tokens();
  for (std::size_t i = from; i < t.size(); ++i) {
    if (t[i].isOp("(")) {
      i = x.closing(i);
    } else if (t[i].isWord(word)) {
      return i;
    }
  }
  return std::string::npos;
}

std::vector<Op> translateStatement(const Tokens& tokens) {
  const Token& first = tokens.front();
  const std::string kind = asciiLower(first.text);
  if (first.kind != TokenKind::Word) unsupported("statement starting with '" + first.text + "'");

  if (kind == "select") {
    const ExprTranslator x(tokens);
    const std::size_t into = findTop(x, 1, "into");
    if (into == std::string::npos) return {simpleOp(Op::Kind::Exec, x.all())};
    const std::size_t from = findTop(x, 1, "from");
    if (into + 1 >= tokens.size() || (from != std::string::npos && from < into)) {
      unsupported("SELECT … INTO without a target table");
    }
    Tokens rest(tokens.begin(), tokens.begin() + static_cast<std::ptrdiff_t>(into));
    rest.insert(rest.end(), tokens.begin() + static_cast<std::ptrdiff_t>(into) + 2, tokens.end());
    Op op = simpleOp(Op::Kind::SelectInto, ExprTranslator(rest).all());
    op.target = ExprTranslator::tokenText(tokens[into + 1]);
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
    return {simpleOp(Op::Kind::Exec, ExprTranslator(t).all())};
  }
  if (kind == "update") return {simpleOp(Op::Kind::Exec, ExprTranslator(tokens).all())};
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
    const ExprTranslator x(t);
    if (findTop(x, 2, "from") != std::string::npos)
      unsupported("DELETE with a second FROM (a join)");
    return {simpleOp(Op::Kind::Exec, x.all())};
  }
  if (kind == "create") return translateCreate(tokens);
  if (kind == "drop") return translateDrop(tokens);
  if (kind == "alter") return translateAlter(tokens);
  if (kind == "truncate") {
    if (tokens.size() != 3 || !tokens[1].isWord("table"))
      unsupported("TRUNCATE without TABLE name");
    return {simpleOp(Op::Kind::Exec, "DELETE FROM " + ExprTranslator::tokenText(tokens[2]))};
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
  std::string upper = kind;
  for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  unsupported(upper + " statement");
}

void translateNodes(std::string_view batch, const std::vector<StatementNode>& nodes, Program& out) {
  for (const auto& node : nodes) {
    switch (node.kind) {
      case StatementNode::Kind::Simple: {
        auto ops = translateStatement(node.tokens);
        const std::string source = sourceOf(batch, node.tokens);
        for (auto& op : ops) {
          op.source = source;
          out.push_back(std::move(op));
        }
        break;
      }
      case StatementNode::Kind::Block:
        translateNodes(batch, node.body, out);
        break;
      case StatementNode::Kind::If: {
        Op op;
        op.kind = Op::Kind::If;
        op.source = "if " + sourceOf(batch, node.tokens);
        op.sql = "SELECT CASE WHEN " + ExprTranslator(node.tokens).all() + " THEN 1 ELSE 0 END";
        translateNodes(batch, node.body, op.body);
        translateNodes(batch, node.elseBody, op.elseBody);
        out.push_back(std::move(op));
        break;
      }
    }
  }
}

}  // namespace

Translator::Translator(std::size_t capacity) : capacity_(capacity == 0 ? 1 : capacity) {}

Program Translator::translateUncached(std::string_view batch) {
  Program program;
  translateNodes(batch, splitBatch(tokenize(batch)), program);
  return program;
}

std::shared_ptr<const Program> Translator::translate(std::string_view batch) {
  if (auto it = map_.find(batch); it != map_.end()) {
    lru_.splice(lru_.begin(), lru_, it->second);
    return it->second->second;
  }
  auto program = std::make_shared<const Program>(translateUncached(batch));
  lru_.emplace_front(std::string(batch), program);
  map_.emplace(lru_.front().first, lru_.begin());
  while (map_.size() > capacity_) {
    map_.erase(lru_.back().first);
    lru_.pop_back();
  }
  return program;
}

void Translator::clearCache() {
  map_.clear();
  lru_.clear();
}

}  // namespace quillon::sql
