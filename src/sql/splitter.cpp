#include "sql/splitter.h"

#include <array>
#include <string>

#include "sql/sql_error.h"

namespace quillon::sql {

namespace {

constexpr std::string_view kStatementStarts[] = {
    "select",    "insert",  "update", "delete",  "create", "drop",     "alter",   "truncate",
    "if",        "else",    "begin",  "end",     "commit", "rollback", "declare", "set",
    "exec",      "execute", "print",  "use",     "while",  "return",   "grant",   "revoke",
    "raiserror", "save",    "goto",   "waitfor", "merge",  "deny",     "break",   "continue",
};

[[noreturn]] void fail(const std::string& text) {
  throw SqlError::syntax(text);
}

class Splitter {
 public:
  explicit Splitter(const Tokens& t) : t_(t) {}

  std::vector<StatementNode> run() {
    std::vector<StatementNode> out;
    while (skipSeparators()) {
      if (t_[pos_].isWord("end"))
        fail("END without BEGIN near offset " + std::to_string(t_[pos_].offset));
      if (t_[pos_].isWord("else"))
        fail("ELSE without IF near offset " + std::to_string(t_[pos_].offset));
      out.push_back(statement());
    }
    return out;
  }

 private:
  bool atEnd() const { return pos_ >= t_.size(); }

  bool skipSeparators() {
    while (!atEnd() && t_[pos_].isOp(";")) ++pos_;
    return !atEnd();
  }

  bool wordAt(std::size_t i, std::string_view w) const { return i < t_.size() && t_[i].isWord(w); }

  StatementNode statement() {
    const Token& first = t_[pos_];
    const bool isIf = first.isWord("if");
    const bool isBlock = !isIf && first.isWord("begin") && !wordAt(pos_ + 1, "tran") &&
                         !wordAt(pos_ + 1, "transaction") && !wordAt(pos_ + 1, "distributed");
    if (!isIf && !isBlock) return simple();
    // IF and BEGIN nest by recursion here, in the translator and when the batch runs.
    if (++depth_ > kMaxNesting) throw SqlError::nestedTooDeeply("IF and BEGIN … END");
    StatementNode node = isIf ? ifStatement() : block();
    --depth_;
    return node;
  }

  StatementNode ifStatement() {
    const std::size_t ifAt = pos_;
    ++pos_;
    StatementNode node;
    node.kind = StatementNode::Kind::If;
    int depth = 0;
    node.begin = pos_;
    while (!atEnd()) {
      const Token& t = t_[pos_];
      if (t.isOp("(")) ++depth;
      if (t.isOp(")")) --depth;
      if (depth == 0 && (isStatementStart(t) || t.isOp(";")) && pos_ > node.begin) break;
      ++pos_;
    }
    node.end = pos_;
    if (node.end == node.begin)
      fail("IF without a condition near offset " + std::to_string(t_[ifAt].offset));
    skipSeparators();
    if (atEnd() || t_[pos_].isWord("end") || t_[pos_].isWord("else")) {
      fail("IF without a statement near offset " + std::to_string(t_[ifAt].offset));
    }
    node.body.push_back(statement());
    const std::size_t save = pos_;
    skipSeparators();
    if (!atEnd() && t_[pos_].isWord("else")) {
      ++pos_;
      skipSeparators();
      if (atEnd()) fail("ELSE without a statement near offset " + std::to_string(t_[ifAt].offset));
      node.elseBody.push_back(statement());
    } else {
      pos_ = save;
    }
    return node;
  }

  StatementNode block() {
    const std::size_t beginAt = pos_;
    ++pos_;
    StatementNode node;
    node.kind = StatementNode::Kind::Block;
    while (true) {
      if (!skipSeparators())
        fail("BEGIN without END near offset " + std::to_string(t_[beginAt].offset));
      if (t_[pos_].isWord("end")) {
        ++pos_;
        return node;
      }
      if (t_[pos_].isWord("else"))
        fail("ELSE without IF near offset " + std::to_string(t_[pos_].offset));
      node.body.push_back(statement());
    }
  }

  // One statement: from the current token up to the start of the next statement.
  StatementNode simple() {
    StatementNode node;
    const std::size_t begin = pos_;
    const std::string kind = asciiLower(t_[pos_].text);
    ++pos_;
    if (kind == "begin" || kind == "commit" || kind == "rollback" || kind == "save") {
      // Transaction statements: an optional TRAN/TRANSACTION/WORK and nothing else.
      while (!atEnd() && (t_[pos_].isWord("tran") || t_[pos_].isWord("transaction") ||
                          t_[pos_].isWord("work") || t_[pos_].isWord("distributed"))) {
        ++pos_;
      }
    } else {
      int depth = 0;
      int caseDepth = 0;
      bool insertHasSource = false;  // INSERT: VALUES / SELECT / EXEC seen
      bool updateHasSet = false;     // UPDATE: its SET seen
      std::string statementKind = kind;
      while (!atEnd()) {
        const Token& t = t_[pos_];
        if (t.isOp("(")) ++depth;
        if (t.isOp(")")) --depth;
        if (t.isWord("case")) ++caseDepth;
        if (depth <= 0 && t.isOp(";")) break;
        // WITH's common table expressions end where the statement that uses them starts; from
        // there on the statement splits as that one does.
        if (statementKind == "with" && depth == 0 &&
            (t.isWord("select") || t.isWord("insert") || t.isWord("update") || t.isWord("delete") ||
             t.isWord("merge"))) {
          statementKind = asciiLower(t.text);
          ++pos_;
          continue;
        }
        if (depth <= 0 && caseDepth == 0 && isStatementStart(t) &&
            !continues(statementKind, t, insertHasSource, updateHasSet)) {
          break;
        }
        if (depth == 0 && statementKind == "update" && t.isWord("set")) updateHasSet = true;
        if (t.isWord("end") && caseDepth > 0) --caseDepth;
        if (depth == 0 && statementKind == "insert" &&
            (t.isWord("values") || t.isWord("select") || t.isWord("exec") || t.isWord("execute"))) {
          insertHasSource = true;
        }
        ++pos_;
      }
    }
    node.begin = begin;
    node.end = pos_;
    return node;
  }

  // Whether a statement keyword at depth 0 belongs to the current statement.
  bool continues(const std::string& kind, const Token& t, bool insertHasSource,
                 bool updateHasSet) const {
    const Token& prev = node_prev();
    if (t.isWord("select")) {
      if (prev.isWord("union") || prev.isWord("all") || prev.isWord("except") ||
          prev.isWord("intersect") || prev.isWord("as")) {
        return true;
      }
      if (kind == "insert" && !insertHasSource) return true;
      return false;
    }
    if ((t.isWord("exec") || t.isWord("execute")) && kind == "insert" && !insertHasSource)
      return true;
    if (t.isWord("set") && kind == "update" && !updateHasSet) return true;
    // "on delete cascade" / "on update ..." of a foreign key written outside parentheses.
    if ((t.isWord("delete") || t.isWord("update")) && prev.isWord("on") &&
        (kind == "create" || kind == "alter")) {
      return true;
    }
    return false;
  }

  const Token& node_prev() const { return t_[pos_ - 1]; }

  const Tokens& t_;
  std::size_t pos_ = 0;
  int depth_ = 0;
};

}  // namespace

bool isStatementStart(const Token& t) {
  if (t.kind != TokenKind::Word || !t.keyword) return false;
  for (std::string_view s : kStatementStarts) {
    if (t.isWord(s)) return true;
  }
  return false;
}

std::vector<StatementNode> splitBatch(const Tokens& tokens) {
  return Splitter(tokens).run();
}

}  // namespace quillon::sql
