// The parser's view of one script line: a cursor over its text that reads the language's items
// (names, texts, numbers, values, references, comparisons) and throws a ScriptError naming the
// line and the column (in characters) where what it expected was not found. Internal to the
// script parser; the dialog actions and expectations are parsed in script_action_parser.cpp.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "script/script_ast.h"

namespace quillon::script {

class LineParser {
 public:
  LineParser(std::string_view line, int lineNo) : line_(line), lineNo_(lineNo) {}

  SourcePos here() const { return at(pos_); }
  SourcePos at(std::size_t offset) const;
  // The start of the next item (blanks skipped), for errors that point back at it.
  std::size_t offset();

  [[noreturn]] void fail(const std::string& message) const;
  [[noreturn]] void failAt(std::size_t offset, const std::string& message) const;

  void skipSpaces();
  // The end of the line, or a comment (a "#" at the start or after blanks).
  bool atEnd();
  char peek();
  bool accept(char c);
  void expect(char c, const char* what);
  void expectEnd();
  std::string_view rest() const { return line_.substr(pos_); }

  // A run of characters up to a blank or the end.
  std::string bare(const char* what);
  // A bare word that may stop early at one of `stops` (for NAME[...] and NAME.rows).
  std::string word(std::string_view stops);
  // The next bare word when it is `keyword` (without regard to case), which is then consumed.
  bool acceptWord(std::string_view keyword);
  bool atString() { return peek() == '"'; }
  std::string string(const char* what);
  // A control name, with an optional control-array index: hdiFree(3).
  std::string name(const char* what);
  // A plain identifier right at the cursor (no blanks skipped): a member after ".".
  std::string identifier(const char* what);
  int integer(const char* what);
  std::string variable();
  ScriptRef reference();
  // A literal, a variable or a reference.
  ScriptValue value();
  // =, <>, <, <=, >, >= or like.
  CompareOp comparison();
  // A comparison and the value compared with; a like pattern must be a text, checked here.
  void comparisonAndValue(CompareOp& op, ScriptValue& value);
  // Fails at `start` when `pattern` is no pattern the library's Like accepts.
  void checkLikePattern(std::size_t start, const std::string& pattern) const;

 private:
  void steps(ScriptRef& ref);
  int column(std::size_t offset) const;
  std::string_view line_;
  int lineNo_;
  std::size_t pos_ = 0;
  // The characters before `countedTo_`, a character boundary: positions are asked for in rising
  // order while a line is read, so counting goes on from the last one instead of from the start.
  mutable std::size_t countedTo_ = 0;
  mutable std::size_t counted_ = 0;
};

bool isNameStart(char c);
bool isNameChar(char c);

// "text" or cancel, for the input and filter answers: true when cancelled.
bool textOrCancel(LineParser& p, std::string& text, const char* what);

// The action a word names with its arguments parsed, or nullopt when the word is no action.
// `expect` lines are parsed by parseDialogExpect.
std::optional<DialogAction> parseAction(std::string_view word, LineParser& p, SourcePos pos);
// An `expect` line that is not about a variable: messages, controls, cells, rows, the lookup
// list, the registry.
DialogAction parseDialogExpect(LineParser& p, SourcePos pos);

}  // namespace quillon::script
