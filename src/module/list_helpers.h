// Filling a report list from a recordset, finding the list column of a field, and closing
// recordsets.
#pragma once

#include <memory>
#include <string_view>

#include "automation/variant.h"

namespace quillon::ado {
class Recordset;
}
namespace quillon::forms {
class ListView;
}

namespace quillon::module {

// Refills `list` (report view, check boxes, no label editing) from `rs`: one column per field
// headed by the field name, one row per record keyed "1k", "2k", ... with the given check
// state. "iproperty" shows "自制" for 1 and "外协" otherwise; the quantity fields are shown in
// the account's quantity format; other values trimmed, Null as "". A closed recordset (or none)
// leaves the list empty; an empty one leaves only the headers. `hide` names columns to hide: a
// column number, a column caption, or an array of either. The recordset's cursor ends past its
// last record once every item is added. Of a recordset still loading (opened under
// ado::ProgressiveOpens), the items come as its rows are read (ListView::fillItems); the cursor is
// moved then if the recordset is still open.
void FillList(forms::ListView& list, ado::Recordset* rs, bool checked,
              const automation::Variant& hide = automation::Variant::missing());

// The 1-based list column showing `fieldName`: "iquantity" is the column count - 2 and "inum"
// the column count - 1 (the this-time columns the order and delivery lists append); otherwise the
// field's position + 1, or 0 when the recordset has no such field.
int ColumnIndexOf(std::string_view fieldName, const ado::Recordset& rs, int columnCount);

// Closes the recordset when it is open and releases it in every case.
void CloseRecordset(std::shared_ptr<ado::Recordset>& rs);

}  // namespace quillon::module
