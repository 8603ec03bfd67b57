// Parses a host script into its syntax tree. The first line that cannot be parsed throws a
// ScriptError naming its line and column (1-based, counted in characters).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "script/script_ast.h"

namespace quillon::script {

// The longest script parsed: a script is held as its syntax tree, a dialog line (a short one
// above all) takes some hundred times the bytes of its text there, and scripts are written by
// hand. A longer one fails at the line where it passes the limit, before any line is parsed.
inline constexpr std::size_t kMaxScriptBytes = std::size_t{1} << 20;
inline constexpr const char* kScriptTooLongText =
    "the script goes on past 1 MiB (1048576 bytes), the most a host script may hold";

Script parseScript(std::string_view text);

// `text` as a script's string literal: in double quotes, with the escapes the parser reads back
// (\" \\ \n \r \t). Transcripts show texts this way too, one event to a line.
std::string quoteText(std::string_view text);

// A key as the `key` action names it ("F2", "Enter", "Ctrl+B", "a"): key code, shift state and
// the character it types (0 for none). Throws ScriptError at `pos` for an unknown key.
struct KeyStroke {
  int keyCode = 0;
  int shift = 0;
  int keyAscii = 0;
};
KeyStroke parseKey(std::string_view spec, SourcePos pos);

}  // namespace quillon::script
