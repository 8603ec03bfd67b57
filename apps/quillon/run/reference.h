// Following a host-script reference to the value it names: `$rs.count` (the rows of a recordset's
// present view), `$rs[2].cInvCode` (a field of row 2, rows from 1), `$coll["Parent"]`,
// `$coll[1]`, `$coll.count`, and any readable property of an object by name, late-bound.
//
// A step that leads nowhere (an unknown variable, a row or an item that does not exist, a field
// the row lacks, a member of a value that is no object) throws a ScriptError at the reference
// that says what was there instead; errors raised by an object's property are reported the same
// way with their number and text.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "automation/variant.h"
#include "forms/script_ast.h"

namespace quillon::ado {
class Recordset;
}

namespace quillon::cli::run {

using Variables = std::map<std::string, automation::Variant, std::less<>>;

struct Resolved {
  automation::Variant value;
  // When the reference names a row ($rs[2]): a clone of the recordset standing on it.
  std::shared_ptr<ado::Recordset> row;
  int rowNumber = 0;
};

Resolved resolve(const forms::script::ScriptRef& ref, const Variables& variables);

}  // namespace quillon::cli::run
