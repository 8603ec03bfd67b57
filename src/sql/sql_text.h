// Builds engine SQL text from pieces with sensible spacing.
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

}  // namespace quillon::sql
