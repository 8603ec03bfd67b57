// Tokens of the T-SQL text the library writes, as the tokenizer delivers them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "automation/text_compare.h"

namespace quillon::sql {

enum class TokenKind : std::uint8_t {
  Word,      // identifier or keyword as written: select, cInvCode, 结存数量
  Name,      // quoted identifier ([x] or "x") or temporary table; never a keyword
  String,    // string literal; text holds the content with '' undone
  Number,    // numeric literal as written
  Variable,  // @name or @@name
  Operator,  // punctuation and operators: ( ) , . ; = <> <= >= != + - * / % < > ||
};

// The members are laid out widest first: a batch is held as its tokens while it is translated.
struct Token {
  std::string text;
  std::size_t offset = 0;  // where the token starts in the source text
  std::size_t end = 0;     // where it ends (one past its last byte)
  TokenKind kind = TokenKind::Operator;
  // A temporary table: "#name", "tempdb..name" or "tempdb..#name". text holds the name without
  // the tempdb prefix.
  bool temp = false;
  // A Word that is a reserved word of the dialect (select, from, left, ...), decided once here.
  bool keyword = false;

  bool isWord(std::string_view lowerWord) const;  // a Word equal to lowerWord, ignoring case
  bool isOp(std::string_view op) const { return kind == TokenKind::Operator && text == op; }
};

using Tokens = std::vector<Token>;

// Splits T-SQL text into tokens. Comments and blanks are dropped; "dbo." and "[dbo]." prefixes are
// dropped; "tempdb..x" and "#x" become temporary Names; "INFORMATION_SCHEMA.x" becomes the Name
// "INFORMATION_SCHEMA.X" of the catalogue view; a line holding only GO becomes ";".
// Throws ComError for an unterminated literal, quoted name or comment.
Tokens tokenize(std::string_view text);

// Whether a word is reserved (never a column, table or plain function name in the library's SQL).
bool isReservedWord(std::string_view word);

// Words fold as every name of the library does: ASCII letters only.
using automation::asciiLower;

}  // namespace quillon::sql
