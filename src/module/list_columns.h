// SetListColumns: turns a list freshly filled with one column per field (headed by the field
// name) into what the user sees — captions for the fields the caption table of `kind` knows
// (list_captions.h), account captions for user-defined fields and free items (hidden when the
// account does not use them), every other column hidden.
//
// Report lists (the production-order heads, product lines and materials) are laid out on every
// call and are hidden and disabled while that happens. Grids (the order, arrival-note and delivery
// lists) are laid out only while the module's head- or body-layout flag is clear, and the flag is
// set afterwards; laying out a body grid also records its "cwhname", "cwhcode" and row-key columns
// in the module state. The four quantity columns FillGridFromRecordset appends to a body grid keep
// their captions.
#pragma once

#include "module/list_captions.h"

namespace quillon::forms {
class ListView;
class MsSuperGrid;
}  // namespace quillon::forms

namespace quillon::module {

void SetListColumns(forms::ListView& list, ListKind kind);
void SetListColumns(forms::MsSuperGrid& grid, ListKind kind);

}  // namespace quillon::module
