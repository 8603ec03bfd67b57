// The backslash escapes every text format the library writes shares: the host-script language's
// literals, JSON strings and the server's COPY text all write a backslash, a line feed, a carriage
// return and a tab as "\\", "\n", "\r" and "\t"; the two quoted ones also a double quote as "\"".
#pragma once

#include <string>

namespace quillon::automation {

// Appends the escape of `c` and says so; appends nothing for a character without one.
inline bool appendBackslashEscape(std::string& out, char c, bool quoted) {
  switch (c) {
    case '\\':
      out += "\\\\";
      return true;
    case '\n':
      out += "\\n";
      return true;
    case '\r':
      out += "\\r";
      return true;
    case '\t':
      out += "\\t";
      return true;
    case '"':
      if (!quoted) return false;
      out += "\\\"";
      return true;
    default:
      return false;
  }
}

}  // namespace quillon::automation
