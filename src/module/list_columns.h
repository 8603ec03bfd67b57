// SetListColumns: turns a list freshly filled with one column per field (headed by the field
// name) into what the user sees — captions for the fields the list's table knows, account
// captions for user-defined fields and free items (hidden when the account does not use them),
// every other column hidden.
//
// Report lists (lstParent, lstSub, lstChild) are laid out on every call and are hidden and
// disabled while that happens. Grids (the order, arrival-note and delivery lists) are laid out
// only while the module's head- or body-layout flag is clear, and the flag is set afterwards;
// laying out a body grid also records its "cwhname", "cwhcode" and row-key columns in the
// module state. A list whose name no table knows is left as it is.
#pragma once

namespace quillon::forms {
class Control;
class ListView;
class MsSuperGrid;
}  // namespace quillon::forms

namespace quillon::module {

void SetListColumns(forms::ListView& list);
void SetListColumns(forms::MsSuperGrid& grid);
// Either kind of list; other controls are left alone.
void SetListColumns(forms::Control& list);

}  // namespace quillon::module
