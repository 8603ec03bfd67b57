#include "dialogs/frmBatchPosition/frm_batch_position.h"

#include "forms/app_title.h"
#include "module/settings.h"

namespace quillon::dialogs {

frmBatchPosition::frmBatchPosition()
    : DialogShell("frmBatchPosition", "批次货位", 9000, 5700, forms::HandlerErrors::Propagate) {
  exportMenuOn(VouchList1);
}

void frmBatchPosition::Form_Load() {
  forms::setAppTitle("");
  VouchList1.Clear();
  module::ApplyDialogStyle(*this);
}

}  // namespace quillon::dialogs
