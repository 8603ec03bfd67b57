// frmStockOrder: the purchase-order and arrival-note reference dialog of the receipt vouchers. The
// owner (a ProduceOrder, later a WWProduceOrder) gives it the connection, a filter text (which a
// tab switch replaces before any query) and itself, and shows it modally. The user picks orders
// (tab 0) or arrival notes (tab 1), filters their heads through PurchaseRefService, marks heads to
// list their lines, edits this time's quantities, assigns a receiving warehouse, batches or the
// receipt a return goes back to, and confirms: the marked heads and lines go to the owner's
// oCollection under "Head", "Body" and "Date", and bStockOrder says which tab they came from.
//
// OK hides the dialog (the owner may show it again); cancel and the owner's UnLoadForm unload it,
// which leaves the owner's oCollection Nothing. An error of the filter, a tab switch or the
// listing of lines (also when OK lists them) ends the dialog and reaches the owner's error trap;
// an error in any other event handler is shown under the prompt title and the dialog stays open as
// it was. The dialog writes nothing to the account database; OK writes the two
// edit-after-generating boxes to the workstation's registry.
//
// What it does as every line-grid dialog does is the kit's (dialogs/kit/line_grid_dialog.h): this
// file adds the two tabs, the filter, the edit rules of order and arrival-note lines, the
// receiving warehouse and the registry choices. Ctrl+B and Ctrl+Q allocate the current line's
// batch or receipt automatically.
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

class frmStockOrder : public kit::LineGridDialog {
 public:
  frmStockOrder();
  ~frmStockOrder() override;

  // Set on OK: True when the returned lines are order lines, False for arrival-note lines.
  bool bStockOrder = true;

  // The receiving warehouse's code, for the owner's tests and diagnostics.
  const std::string& receivingWarehouseCode() const { return whCode_; }

  // Controls, as the form file declares them.
  forms::Label& lblDate = add<forms::Label>("lblDate", {120, 180, 780, 255}, "日期：");
  forms::TextBox& txtLDate = filterField("txtLDate", {900, 150, 1260, 300}, "rfdate");
  forms::Label& lblDateTo = add<forms::Label>("lblDateTo", {2220, 180, 240, 255}, "-");
  forms::TextBox& txtUDate = filterField("txtUDate", {2460, 150, 1260, 300}, "rfdate");
  forms::Label& lblPlanArriveDate =
      add<forms::Label>("lblPlanArriveDate", {3900, 180, 1380, 255}, "计划到货日期：");
  forms::TextBox& txtLPlanArriveDate =
      filterField("txtLPlanArriveDate", {5280, 150, 1260, 300}, "rfdate");
  forms::Label& lblPlanArriveDateTo =
      add<forms::Label>("lblPlanArriveDateTo", {6600, 180, 240, 255}, "-");
  forms::TextBox& txtUPlanArriveDate =
      filterField("txtUPlanArriveDate", {6840, 150, 1260, 300}, "rfdate");
  forms::Label& lblBusType = add<forms::Label>("lblBusType", {8340, 180, 1020, 255}, "业务类型：");
  forms::ComboBox& cmbBusType = add<forms::ComboBox>("cmbBusType", {9360, 150, 1500, 300});

  forms::Label& lblVen = add<forms::Label>("lblVen", {120, 570, 780, 255}, "供应商：");
  forms::TextBox& cmbVen = filterField("cmbVen", {900, 540, 2820, 300}, "rfvendor");
  forms::Label& lblDept = add<forms::Label>("lblDept", {3900, 570, 780, 255}, "部门：");
  forms::TextBox& cmbDept = filterField("cmbDept", {4680, 540, 1860, 300}, "rfdepartment");
  forms::Label& lblPerson = add<forms::Label>("lblPerson", {6720, 570, 780, 255}, "业务员：");
  forms::TextBox& cmbPerson = filterField("cmbPerson", {7500, 540, 1500, 300}, "rfperson");

  forms::Label& lblPOID = add<forms::Label>("lblPOID", {120, 960, 780, 255}, "订单号：");
  forms::TextBox& cmbPOID = filterField("cmbPOID", {900, 930, 1620, 300}, "rfnull");
  forms::Label& lblArrID = add<forms::Label>("lblArrID", {2640, 960, 1020, 255}, "到货单号：");
  forms::TextBox& cmbArrID = filterField("cmbArrID", {3660, 930, 1620, 300}, "rfnull");
  forms::Label& lblWhName = add<forms::Label>("lblWhName", {5400, 960, 600, 255}, "仓库：");
  forms::TextBox& cmbWhName = filterField("cmbWhName", {6000, 930, 1500, 300}, "rfwarehouse");
  forms::CheckBox& chkAll =
      add<forms::CheckBox>("chkAll", {7680, 930, 2100, 300}, "执行完未关闭的显示");
  forms::CheckBox& Check1 = add<forms::CheckBox>("Check1", {9900, 930, 1200, 300}, "显示表体：");

  forms::Label& lblWh = add<forms::Label>("lblWh", {120, 1350, 1020, 255}, "入库仓库：");
  forms::TextBox& txtWh = add<forms::TextBox>("txtWh", {1140, 1320, 1800, 300});
  forms::CommandButton& cmdWh = add<forms::CommandButton>("cmdWh", {2700, 1350, 240, 240});
  forms::Label& lblOutDate = add<forms::Label>("lblOutDate", {3120, 1350, 1020, 255}, "入库日期：");
  forms::TextBox& txtOutDate = add<forms::TextBox>("txtOutDate", {4140, 1320, 1260, 300});
  forms::CommandButton& cmdOk =
      add<forms::CommandButton>("cmdOk", {8580, 1290, 1100, 360}, "确定(&O)");
  forms::CommandButton& cmdExit =
      add<forms::CommandButton>("cmdExit", {9780, 1290, 1100, 360}, "取消(&X)");
  forms::CommandButton& cmdRefers = add<forms::CommandButton>("cmdRefers", {0, 0, 240, 240});

  forms::CorvidXTabStrip& SSTab1 = add<forms::CorvidXTabStrip>(
      "SSTab1", {120, 1770, 11040, 6180}, std::vector<std::string>{"采购订单", "采购到货单"});
  forms::CheckBox& chkBusType =
      add<forms::CheckBox>("chkBusType", {120, 420, 1200, 300, &SSTab1, 0}, "受托代销");
  forms::CheckBox& chkEdit =
      add<forms::CheckBox>("chkEdit", {1440, 420, 1800, 300, &SSTab1, 0}, "生单后是否编辑");
  forms::CommandButton& cmdClearFilter =
      add<forms::CommandButton>("cmdClearFilter", {8580, 390, 1100, 360, &SSTab1, 0}, "清除");
  forms::CommandButton& cmdFilter =
      add<forms::CommandButton>("cmdFilter", {9780, 390, 1100, 360, &SSTab1, 0}, "过滤(&F)");
  forms::MsSuperGrid& lstDdHead =
      add<forms::MsSuperGrid>("lstDdHead", {60, 840, 10920, 2160, &SSTab1, 0});
  forms::MsSuperGrid& lstDdBody =
      add<forms::MsSuperGrid>("lstDdBody", {60, 3060, 10920, 3060, &SSTab1, 0});
  forms::CheckBox& chkEdit1 =
      add<forms::CheckBox>("chkEdit1", {1440, 420, 1800, 300, &SSTab1, 1}, "生单后是否编辑");
  forms::CommandButton& cmdClearFilter1 =
      add<forms::CommandButton>("cmdClearFilter1", {8580, 390, 1100, 360, &SSTab1, 1}, "清除");
  forms::CommandButton& Command1 =
      add<forms::CommandButton>("Command1", {9780, 390, 1100, 360, &SSTab1, 1}, "过滤(&F)");
  forms::MsSuperGrid& lstDhdHead =
      add<forms::MsSuperGrid>("lstDhdHead", {60, 840, 10920, 2160, &SSTab1, 1});
  forms::MsSuperGrid& lstDhdBody =
      add<forms::MsSuperGrid>("lstDhdBody", {60, 3060, 10920, 3060, &SSTab1, 1});

  forms::Menu& mnuYJCD = addMenu("mnuYJCD", "右键菜单");
  forms::Menu& mnuCopyLine = addMenu("mnuCopyLine", "复制当前行", &mnuYJCD);
  forms::Menu& mnuClearAll = addMenu("mnuClearAll", "清除所有选择行", &mnuYJCD);
  forms::Menu& mnuDeleteLine = addMenu("mnuDeleteLine", "删除当前行", &mnuYJCD);

 protected:
  int pageShown() const override;
  void loadLineDialog() override;
  std::shared_ptr<ado::Recordset> queryHeads() override;
  std::shared_ptr<ado::Recordset> queryLines(std::int32_t headKey, bool singleHead) override;
  void lineCellChange(const LineEdit& edit, std::string& text, bool& cancel) override;
  void lineCellButton(forms::MsSuperGrid& grid, int row, int col) override;
  std::string_view noHeadMessage() const override;
  std::optional<std::string> completeLine(ado::Recordset& record,
                                          const module::GridRowRecord& read) override;
  void completeHead(ado::Recordset& record) override;
  void saveChoices() override;
  void Form_KeyDown(int& KeyCode, int Shift) override;

 private:
  bool onOrderTab() const;

  // Tabs and filter (frm_stock_order.cpp).
  void tabSwitched(int previousTab, bool firstDisplay);
  void busTypeDropDown();
  void busTypeChosen();

  // The receiving warehouse (frm_stock_order_lines.cpp).
  bool pickWarehouse(std::string& code, std::string& name);
  void cmdWh_Click();
  void txtWh_LostFocus();
  void applyWarehouseToLines();

  bool commercial_ = false;
  bool tabSuppressed_ = false;
  std::string whCode_;
};

}  // namespace quillon::dialogs
