// How the commands that call the library (`quillon call`, `quillon run`) show Automation values:
// scalars as their text (texts quoted, line breaks as escapes), recordsets as aligned tables of
// every row of their present view (filter and sort kept, the caller's position untouched),
// collections item by item with their keys, other objects by their readable properties.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "automation/variant.h"

namespace quillon::ado {
class Recordset;
}

namespace quillon::cli {

// The full form: a value and, for recordsets, collections and objects, the lines below it, each
// starting with `indent`. Always ends with a line break.
void printValue(std::ostream& out, const automation::Variant& value, const std::string& indent = {},
                int depth = 0);
void printRecordset(std::ostream& out, ado::Recordset& rs, const std::string& indent);

// The one-line form for transcripts: "\"text\"", "12", "True", "Null" (NULL only in table cells),
// "Empty", "Nothing",
// "(omitted)", "<Recordset> (3 rows)", "<Collection> (2 items)", "<ClassName>".
std::string describeValue(const automation::Variant& value);

// Line breaks and tabs written as \n, \r, \t, so that a value stays on its line.
std::string oneLine(std::string_view text);

}  // namespace quillon::cli
