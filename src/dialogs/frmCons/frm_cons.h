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
//
// What it does as every line-grid dialog does is the kit's (dialogs/kit/line_grid_dialog.h): this
// file adds the filter, the edit rules of delivery lines, the bulk assignments and the registry
// choice. Ctrl+B and Ctrl+Q open the selection of the current line's batch or receipt.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/kit/line_grid_dialog.h"
#include "forms/controls.h"

namespace quillon::dialogs {

class frmCons : public kit::LineGridDialog {
 public:
  frmCons();
  ~frmCons() override;

  // The login the owner hands over with the connection.
  automation::ObjectPtr oLogin;

  // Controls, as the form file declares them.
  forms::Frame& Frame1 = add<forms::Frame>("Frame1", {120, 60, 11160, 1620}, "");
  forms::Label& lblDate = add<forms::Label>("lblDate", {120, 270, 780, 255, &Frame1}, "日期：");
  forms::TextBox& txtLDate = filterField("txtLDate", {900, 240, 1260, 300, &Frame1}, "rfdate");
  forms::Label& lblDateTo = add<forms::Label>("lblDateTo", {2220, 270, 240, 255, &Frame1}, "-");
  forms::TextBox& txtUDate = filterField("txtUDate", {2460, 240, 1260, 300, &Frame1}, "rfdate");
  forms::Label& lblWhName =
      add<forms::Label>("lblWhName", {3900, 270, 780, 255, &Frame1}, "仓库：");
  forms::TextBox& cmbWhName =
      filterField("cmbWhName", {4680, 240, 1860, 300, &Frame1}, "rfwarehouse");
  forms::Label& lblDept = add<forms::Label>("lblDept", {6720, 270, 780, 255, &Frame1}, "部门：");
  forms::TextBox& cmbDept = filterField("cmbDept", {7500, 240, 1500, 300, &Frame1}, "rfdepartment");
  forms::Label& lblPerson =
      add<forms::Label>("lblPerson", {9120, 270, 780, 255, &Frame1}, "业务员：");
  forms::TextBox& cmbPerson = filterField("cmbPerson", {9900, 240, 1140, 300, &Frame1}, "rfperson");

  forms::Label& lblDLID =
      add<forms::Label>("lblDLID", {120, 660, 1020, 255, &Frame1}, "发货单号：");
  forms::TextBox& cmbDLID = filterField("cmbDLID", {1140, 630, 2580, 300, &Frame1}, "rfnull");
  forms::Label& lblCustom =
      add<forms::Label>("lblCustom", {3900, 660, 780, 255, &Frame1}, "客户：");
  forms::TextBox& cmbCustom =
      filterField("cmbCustom", {4680, 630, 1860, 300, &Frame1}, "rfcustomer");
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
      filterField("cmbInvoiceCode", {7500, 630, 3540, 300, &Frame1}, "rfnull");
  forms::CheckBox& chkAll =
      add<forms::CheckBox>("chkAll", {6720, 1020, 2460, 300, &Frame1}, "执行完未关闭的显示");
  forms::CheckBox& Check1 = add<forms::CheckBox>("Check1", {7380, 1800, 1260, 300}, "显示表体：");
  forms::CommandButton& cmdClearFilter =
      add<forms::CommandButton>("cmdClearFilter", {9210, 990, 660, 360, &Frame1}, "清除");
  forms::CommandButton& cmdFilter =
      add<forms::CommandButton>("cmdFilter", {9900, 990, 1140, 360, &Frame1}, "过滤(&F)");

  forms::Label& lblOutDate = add<forms::Label>("lblOutDate", {120, 1830, 1020, 255}, "出库日期：");
  forms::TextBox& txtOutDate = filterField("txtOutDate", {1140, 1800, 1260, 300}, "rfdate");
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
  void loadLineDialog() override;
  std::shared_ptr<ado::Recordset> queryHeads() override;
  std::shared_ptr<ado::Recordset> queryLines(std::int32_t headKey, bool singleHead) override;
  void linesListed(Page& page) override;
  void lineCellChange(const LineEdit& edit, std::string& text, bool& cancel) override;
  void lineCellButton(forms::MsSuperGrid& grid, int row, int col) override;
  std::string_view noHeadMessage() const override;
  std::optional<std::string> completeLine(ado::Recordset& record,
                                          const module::GridRowRecord& read) override;
  void addResults(automation::Collection& results) override;
  void saveChoices() override;
  void Form_KeyDown(int& KeyCode, int Shift) override;

 private:
  void fillDropDown(forms::ComboBox& box, const std::vector<std::string>& items);
  // The filter's warehouse: the code its lookup or check found; "" for an empty box.
  std::string warehouseCode() const;

  // Line rules and tools (frm_cons_lines.cpp).
  bool thisTimeEdit(const LineEdit& edit, const std::string& text);
  void assignAllLines(kit::StockPick pick);
  // This time's quantity summed over the visible rows of the delivery line of `row`.
  double lineTotal(int row) const;

  std::string departmentCondition_;
};

}  // namespace quillon::dialogs
