// frmCons: the delivery-note reference dialog of the sales-issue vouchers. The owner (a
// ProduceOrder, later a WWProduceOrder) gives it the connection, a filter text, the login and
// itself, and shows it modally. The user filters delivery-note heads through PurchaseRefService,
// marks heads to list their lines, edits this time's quantities and pieces, assigns batches or
// receipt vouchers to one line (Ctrl+B, Ctrl+Q) or to all of them (Ctrl+E, Ctrl+O), and confirms:
// the marked heads and lines go to the owner's oCollection under "Head", "Body", "Date" and
// "Flag".
//
// OK hides the dialog (the owner may show it again); cancel and the owner's UnLoadForm unload it,
// which leaves the owner's oCollection Nothing. An error of the filter or of the listing of lines
// (also when OK lists them) ends the dialog and reaches the owner's error trap (loadConsignment
// returns False with its label in ErrMsg); an error in any other event handler is shown under the
// prompt title and the dialog stays open as it was. The dialog writes nothing to the account
// database but the work table of one bulk assignment, dropped when the run ends; OK writes the
// edit-after-generating box to the workstation's registry.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/kit/reference_dialog.h"
#include "dialogs/kit/stock_picker.h"
#include "forms/controls.h"
#include "module/fill_grid.h"
#include "module/lookup_fields.h"

namespace quillon::ado {
class Recordset;
}
namespace quillon::components {
class PurchaseRefService;
}

namespace quillon::dialogs {

class frmCons : public kit::ReferenceDialog {
 public:
  frmCons();
  ~frmCons() override;

  // The login the owner hands over with the connection.
  automation::ObjectPtr oLogin;

  // The stock reference the batch and receipt-voucher pickers work through; set by the owner.
  void setStockReference(std::shared_ptr<kit::StockReference> reference) {
    stockReference_ = std::move(reference);
  }

  // The state the dialog works with, for its owner's tests and diagnostics.
  const std::shared_ptr<ado::Recordset>& headRecordset() const { return heads_; }
  const std::shared_ptr<ado::Recordset>& lineRecordset() const { return lines_; }

  // Controls, as the form file declares them.
  forms::Frame& Frame1 = add<forms::Frame>("Frame1", {120, 60, 11160, 1620}, "");
  forms::Label& lblDate = add<forms::Label>("lblDate", {120, 270, 780, 255, &Frame1}, "日期：");
  forms::TextBox& txtLDate = add<forms::TextBox>("txtLDate", {900, 240, 1260, 300, &Frame1});
  forms::Label& lblDateTo = add<forms::Label>("lblDateTo", {2220, 270, 240, 255, &Frame1}, "-");
  forms::TextBox& txtUDate = add<forms::TextBox>("txtUDate", {2460, 240, 1260, 300, &Frame1});
  forms::Label& lblWhName =
      add<forms::Label>("lblWhName", {3900, 270, 780, 255, &Frame1}, "仓库：");
  forms::TextBox& cmbWhName = add<forms::TextBox>("cmbWhName", {4680, 240, 1860, 300, &Frame1});
  forms::Label& lblDept = add<forms::Label>("lblDept", {6720, 270, 780, 255, &Frame1}, "部门：");
  forms::TextBox& cmbDept = add<forms::TextBox>("cmbDept", {7500, 240, 1500, 300, &Frame1});
  forms::Label& lblPerson =
      add<forms::Label>("lblPerson", {9120, 270, 780, 255, &Frame1}, "业务员：");
  forms::TextBox& cmbPerson = add<forms::TextBox>("cmbPerson", {9900, 240, 1140, 300, &Frame1});

  forms::Label& lblDLID =
      add<forms::Label>("lblDLID", {120, 660, 1020, 255, &Frame1}, "发货单号：");
  forms::TextBox& cmbDLID = add<forms::TextBox>("cmbDLID", {1140, 630, 2580, 300, &Frame1});
  forms::Label& lblCustom =
      add<forms::Label>("lblCustom", {3900, 660, 780, 255, &Frame1}, "客户：");
  forms::TextBox& cmbCustom = add<forms::TextBox>("cmbCustom", {4680, 630, 1860, 300, &Frame1});
  forms::Label& lblVouchType =
      add<forms::Label>("lblVouchType", {120, 1050, 1020, 255, &Frame1}, "单据类型：");
  forms::ComboBox& cmbVouchType =
      add<forms::ComboBox>("cmbVouchType", {1140, 1020, 2580, 300, &Frame1});
  forms::Label& lblBusType =
      add<forms::Label>("lblBusType", {3900, 1050, 1020, 255, &Frame1}, "业务类型：");
  forms::ComboBox& cmbBusType =
      add<forms::ComboBox>("cmbBusType", {4920, 1020, 1620, 300, &Frame1});

  forms::Label& lblInvoiceCode =
      add<forms::Label>("lblInvoiceCode", {6720, 660, 780, 255, &Frame1}, "发票号：");
  forms::TextBox& cmbInvoiceCode =
      add<forms::TextBox>("cmbInvoiceCode", {7500, 630, 3540, 300, &Frame1});
  forms::CheckBox& chkAll =
      add<forms::CheckBox>("chkAll", {6720, 1020, 2460, 300, &Frame1}, "执行完未关闭的显示");
  forms::CheckBox& Check1 = add<forms::CheckBox>("Check1", {7380, 1800, 1260, 300}, "显示表体：");
  forms::CommandButton& cmdFilter =
      add<forms::CommandButton>("cmdFilter", {9900, 990, 1140, 360, &Frame1}, "过滤(&F)");

  forms::Label& lblOutDate = add<forms::Label>("lblOutDate", {120, 1830, 1020, 255}, "出库日期：");
  forms::TextBox& txtOutDate = add<forms::TextBox>("txtOutDate", {1140, 1800, 1260, 300});
  forms::CheckBox& chkEdit =
      add<forms::CheckBox>("chkEdit", {2580, 1800, 1800, 300}, "生单后是否编辑");
  forms::CheckBox& Check2 =
      add<forms::CheckBox>("Check2", {4440, 1800, 2880, 300}, "根据累计出库数更新发货单");
  forms::CommandButton& cmdOk =
      add<forms::CommandButton>("cmdOk", {8700, 1770, 1140, 360}, "确定(&O)");
  forms::CommandButton& cmdExit =
      add<forms::CommandButton>("cmdExit", {9960, 1770, 1140, 360}, "取消(&X)");
  forms::Label& Label11 =
      add<forms::Label>("Label11", {4440, 2130, 4140, 255}, "注:更新发货单时不进行信用检查!");
  forms::CommandButton& cmdRefers = add<forms::CommandButton>("cmdRefers", {0, 0, 240, 240});

  forms::CorvidXTabStrip& SSTab1 = add<forms::CorvidXTabStrip>("SSTab1", {120, 2460, 11160, 5880},
                                                               std::vector<std::string>{"发货单"});
  forms::MsSuperGrid& lstFhdHead =
      add<forms::MsSuperGrid>("lstFhdHead", {60, 420, 11040, 2160, &SSTab1, 0});
  forms::MsSuperGrid& lstFhdBody =
      add<forms::MsSuperGrid>("lstFhdBody", {60, 2640, 11040, 3120, &SSTab1, 0});

  forms::Menu& mnuYJCD = addMenu("mnuYJCD", "右键菜单");
  forms::Menu& mnuCopyLine = addMenu("mnuCopyLine", "复制当前行", &mnuYJCD);
  forms::Menu& mnuDeleteLine = addMenu("mnuDeleteLine", "删除当前行", &mnuYJCD);
  forms::Menu& mnuClearAll = addMenu("mnuClearAll", "清除所有选择行", &mnuYJCD);

 protected:
  void Form_Load() override;
  void Form_Unload(int& Cancel) override;
  void Form_KeyDown(int& KeyCode, int Shift) override;
  void Form_KeyPress(int& KeyAscii) override;

 private:
  void wireEvents();

  // Filter, heads and lines (frm_cons.cpp).
  void cmdFilter_Click();
  void fillDropDown(forms::ComboBox& box, const std::vector<std::string>& items);
  void Check1_Click();
  void appendLinesOf(int headRow);
  void headMouseUp(int button);
  void cmdOk_Click();
  void cmdExit_Click();
  std::shared_ptr<ado::Recordset> collectRows(forms::MsSuperGrid& grid,
                                              const std::shared_ptr<ado::Recordset>& source,
                                              std::optional<std::string>* refusal);
  void clearLayoutFlags();

  // Line rules and tools (frm_cons_lines.cpp).
  void lineCellChange(std::string& text, bool& cancel, int row, int col);
  bool thisTimeEdit(const std::string& text, bool pieces, int row, int col);
  void lineCellButton(int row, int col);
  void lineMouseUp(int button);
  void pickForCurrentLine(kit::StockPick pick);
  void assignAllLines(kit::StockPick pick);
  // This time's quantity summed over the visible rows of the delivery line of `row`.
  double lineTotal(int row) const;
  std::string lineCell(int row, std::string_view field) const;
  double lineNumber(int row, std::string_view field) const;

  // The handed-in stock reference; without one a picker raises error 91.
  kit::StockReference& stockReference() const;

  std::shared_ptr<kit::StockReference> stockReference_;
  module::LookupFields lookupFields_{*this, cmdRefers, module::LookupCodes::IntoLinkItem, true};
  std::shared_ptr<components::PurchaseRefService> service_;
  module::GridNumberFormats formats_;
  std::shared_ptr<ado::Recordset> heads_;
  std::shared_ptr<ado::Recordset> lines_;
  std::string departmentCondition_;
  std::string warehouses_;
  std::string inventories_;
  // Form_Load has run: the check boxes' Click handlers list only from then on.
  bool ready_ = false;
};

}  // namespace quillon::dialogs
