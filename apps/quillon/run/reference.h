// Following a host-script reference to the value it names: `$rs.count` (the rows of a recordset's
// present view), `$rs[2].cInvCode` (a field of row 2, rows from 1), `$coll["Parent"]`,
// `$coll[1]`, `$coll.count`, and any readable property of an object by name, late-bound.
//
// A step that leads nowhere (an unknown variable, a row or an item that does not exist, a field
// the row lacks, a member of a value that is no object) throws a ScriptError at the reference
// that says what was there instead. An error raised by the object itself (a property it does not
// have, one that refuses its value) throws RaisedInReference, a ScriptError that also carries the
// object's own error, so a following `expect $error` can take it over as it does for a call.
//
// assign() writes through a reference as a host's `obj.Member = value` (property let),
// `Set obj.Member = o` (property set, for an object or Nothing) or `rs!Field = value` (a field of
// the row the reference names, updated in the recordset) would.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "automation/com_error.h"
#include "automation/variant.h"
#include "script/script_ast.h"

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

class RaisedInReference : public script::ScriptError {
 public:
  RaisedInReference(script::SourcePos pos, std::string message, automation::ComError error)
      : ScriptError(pos, std::move(message)), error_(std::move(error)) {}
  const automation::ComError& error() const { return error_; }

 private:
  automation::ComError error_;
};

Resolved resolve(const script::ScriptRef& ref, const Variables& variables);
// `ref` must have at least one step; its last one names the property or field written.
void assign(const script::ScriptRef& ref, const automation::Variant& value,
            const Variables& variables);

}  // namespace quillon::cli::run
