// frmBatchPosition: the batch-position form PositionSet.BatchInvPos shows after its filter. It is
// laid out (toolbar, a combo box and a text box above the voucher list) and cleared on load. The
// list is captioned with what a bin's balance shows (warehouse, bin, item, batch, quantities) and
// opens without rows, its status line saying no record matches; it offers nothing but closing
// and exporting.
#pragma once

#include "forms/controls.h"
#include "forms/dialog_shell.h"

namespace quillon::dialogs {

class frmBatchPosition : public forms::DialogShell {
 public:
  frmBatchPosition();

  forms::Toolbar& Toolbar1 = add<forms::Toolbar>("Toolbar1", {0, 0, 9000, 420});
  forms::ComboBox& Combo1 = add<forms::ComboBox>("Combo1", {120, 540, 2400, 300});
  forms::TextBox& Text1 = add<forms::TextBox>("Text1", {2640, 540, 3000, 300});
  forms::MarlinVouchList& VouchList1 =
      add<forms::MarlinVouchList>("VouchList1", {120, 960, 8760, 4560});

 protected:
  void Form_Load() override;
};

}  // namespace quillon::dialogs
