#include "sql/condition.h"

#include <algorithm>

#include "automation/com_error.h"
#include "automation/text_compare.h"
#include "automation/utf8.h"
#include "sql/sql_error.h"
#include "sql/splitter.h"
#include "sql/token.h"

namespace quillon::sql {

namespace {

// The tokenizer drops comments and blanks; whatever else lies between two tokens is an owner
// prefix it dropped ("dbo."). So a gap that holds "--" or "/*" holds a comment.
bool holdsComment(std::string_view gap) {
  return gap.find("--") != std::string_view::npos || gap.find("/*") != std::string_view::npos;
}

}  // namespace

std::optional<std::string> conditionFault(std::string_view condition) {
  if (condition.find('\0') != std::string_view::npos) return "it holds a NUL byte";
  Tokens tokens;
  try {
    tokens = tokenize(condition);
  } catch (const automation::ComError& e) {
    return e.description();
  }
  std::size_t from = 0;
  int depth = 0;
  int cases = 0;
  for (const Token& t : tokens) {
    if (holdsComment(condition.substr(from, t.offset - from))) return "it holds a comment";
    from = t.end;
    if (t.kind == TokenKind::Operator) {
      if (t.text == ";") return "it holds a statement separator (; or GO)";
      if (t.text == "(") ++depth;
      if (t.text == ")" && --depth < 0) return "\")\" closes a parenthesis it did not open";
      continue;
    }
    if (t.kind != TokenKind::Word || !t.keyword) continue;
    if (t.isWord("case")) {
      ++cases;
    } else if (t.isWord("end")) {
      if (--cases < 0) return "END without CASE";
    } else if (t.isWord("else")) {
      if (cases == 0) return "ELSE without CASE";
    } else if (t.isWord("select") || t.isWord("union") || t.isWord("except") ||
               t.isWord("intersect") || t.isWord("with")) {
      // A subquery's own words, inside its parentheses; outside them they begin a statement.
      if (depth == 0)
        return automation::asciiUpper(t.text) + " outside the parentheses of a subquery";
    } else if (isStatementStart(t) || t.isWord("into") || t.isWord("go")) {
      return "it holds the statement keyword " + automation::asciiUpper(t.text);
    }
  }
  if (holdsComment(condition.substr(from))) return "it holds a comment";
  // "tempdb." or "dbo." at the end would take the word after the condition for its name.
  if (!tokens.empty() && tokens.back().isOp("."))
    return "it ends with \".\", which would join it to what follows";
  if (depth > 0) return "\"(\" is not closed";
  if (cases > 0) return "CASE without END";
  return std::nullopt;
}

void checkCondition(std::string_view condition) {
  const auto fault = conditionFault(condition);
  if (!fault) return;
  std::size_t cut = std::min<std::size_t>(condition.size(), 200);
  // Not in the middle of a UTF-8 character.
  while (cut > 0 && !automation::utf8::isBoundary(condition, cut)) --cut;
  std::string shown(condition.substr(0, cut));
  for (char& c : shown) {
    if (c == '\0') c = ' ';
  }
  throw SqlError::conditionRefused(*fault, shown);
}

}  // namespace quillon::sql
