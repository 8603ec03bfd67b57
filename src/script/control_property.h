// The properties a host script's expectations read off a control (`expect okButton.Enabled =
// true`), as a person at the screen would find them:
//  - Enabled: the control and every container it sits in are enabled;
//  - Visible: the control and its containers are visible, each on the tab page its tab strip
//    shows, on a form that is shown;
//  - Value: a check box's 0/1/2, an option's True/False; Caption: a label's, button's, frame's,
//    check box's, option's, header item's or menu item's caption (accelerator marker kept), a
//    form's title; Text: what a text box, combo box, numeric field, header item shows, or the
//    current item of a list or tree; ListIndex: a combo box's current item (-1 for none); Tag:
//    any control's;
//  - Checked (with a node key): a tree node's check box; ColumnVisible / ColumnWidth (with a
//    column caption): a grid, voucher-list or list-view column, shown when its width is not 0,
//    its width in twips.
// PropertyError says what the control lacks: a property, a node, a column.
#pragma once

#include <stdexcept>
#include <string_view>

#include "automation/variant.h"

namespace quillon::forms {
class Control;
class Form;
class RowLabels;
}  // namespace quillon::forms

namespace quillon::script {

class PropertyError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

automation::Variant controlProperty(const forms::Control& control, std::string_view property,
                                    std::string_view key = {});
// The form's own properties (Caption, Visible, Enabled), for an expectation that names the form.
automation::Variant formProperty(const forms::Form& form, std::string_view property);

// Whether a person can see the control: see Visible above.
bool shownToPerson(const forms::Control& control);
// The column of a grid, voucher list or list view captioned `caption` (a list view's columns are
// its headers, from 1); PropertyError when there is none.
int columnByCaption(const forms::Control& list, std::string_view caption);
// The list's row labels (forms/row_labels.h) when `caption` names their column and no column of
// the list's own; null otherwise.
const forms::RowLabels* rowLabelColumn(const forms::Control& list, std::string_view caption);

}  // namespace quillon::script
