#include "dialogs/frmBatchPosition/frm_batch_position.h"

#include "forms/app_title.h"
#include "module/settings.h"

namespace quillon::dialogs {

namespace {

// What a batch-position list shows of a bin's balance, captioned for the storeman; the widths
// fill the list's width, so the window opens as large as it was laid out.
constexpr std::string_view kColumns =
    "cwhname,仓库,900;cposcode,货位编码,1000;cposname,货位名称,1100;cinvcode,存货编码,1300;"
    "cinvname,存货名称,1700;cbatch,批号,1200;iquantity,结存数量,1000;inum,结存件数,860";

}  // namespace

frmBatchPosition::frmBatchPosition()
    : DialogShell("frmBatchPosition", "批次货位", 9000, 5700, forms::HandlerErrors::Propagate) {
  exportMenuOn(VouchList1);
  VouchList1.setColumnDefinitions(kColumns);
  // The form fills nothing after it shows: its window is sized to the columns.
  VouchList1.setRowsSettled(true);
}

void frmBatchPosition::Form_Load() {
  forms::setAppTitle("");
  VouchList1.Clear();
  module::ApplyDialogStyle(*this);
}

}  // namespace quillon::dialogs
