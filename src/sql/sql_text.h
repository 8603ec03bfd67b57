// The one place where text from outside becomes SQL text.
//
// Statements the library builds are T-SQL; every value they carry goes through `literal`, every
// name made from outside text (a computer name, a terminal session) through `identifier`. Both
// give text that cannot end the literal or the name it stands in, so no value can change what a
// statement means. The translator's own engine literals and names use quoteLiteral / quoteName.
// SqlText builds engine SQL text from pieces with sensible spacing.
#pragma once

#include <string>
#include <string_view>

namespace quillon::sql {

class SqlText {
 public:
  // Appends a piece, separated from the previous one by a blank unless punctuation makes the
  // blank pointless.
  void add(std::string_view piece) {
    if (piece.empty()) return;
    if (!out_.empty()) {
      const char last = out_.back();
      const char first = piece.front();
      const bool tight = last == '(' || last == '.' || last == ' ' || first == ')' ||
                         first == ',' || first == '.' || (first == '(' && glueParen_);
      if (!tight) out_ += ' ';
    }
    out_ += piece;
    glueParen_ = false;
  }
  // Appends a function name; its "(" follows without a blank.
  void addCallee(std::string_view name) {
    add(name);
    glueParen_ = true;
  }
  const std::string& str() const { return out_; }
  std::string take() { return std::move(out_); }
  bool empty() const { return out_.empty(); }

 private:
  std::string out_;
  bool glueParen_ = false;
};

// A string literal for the engine: '…' with embedded quotes doubled.
inline std::string quoteLiteral(std::string_view text) {
  std::string out = "'";
  for (char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  out += '\'';
  return out;
}

// A quoted identifier for the engine: "…" with embedded quotes doubled.
inline std::string quoteName(std::string_view name) {
  std::string out = "\"";
  for (char c : name) {
    out += c;
    if (c == '"') out += '"';
  }
  out += '"';
  return out;
}

// A text value as a T-SQL literal: N'…' with its quotes doubled ("O'Neil" gives N'O''Neil').
inline std::string literal(std::string_view text) {
  return "N" + quoteLiteral(text);
}

// A number as a T-SQL literal, exact (the shortest text that reads back as the same double);
// a negative number is parenthesised so that it stays one operand after a "-" (no "--" comment).
// ComError 6 (Overflow) for infinities and NaN, which have no literal.
std::string literal(double value);

// A name part made from outside text: ASCII letters, digits and "_" stay, "-" becomes "_" (as the
// work tables of a desk have always been named: PC-01 in session 3 gives PC_01_3), and every other
// byte becomes "x" and its two hex digits ("." gives x2E, "#" x23). A part that would begin with
// a digit gets a leading "_", so the result is always a valid unquoted name, or empty.
std::string identifier(std::string_view outsideText);

}  // namespace quillon::sql
