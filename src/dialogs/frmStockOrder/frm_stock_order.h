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
#pragma once

#include <memory>
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

class frmStockOrder : public kit::ReferenceDialog {
 public:
  frmStockOrder();
  ~frmStockOrder() override;

  // Set on OK: True when the returned lines are order lines, False for arrival-note lines.
  bool bStockOrder = true;

  // The stock reference the batch and receipt-voucher pickers work through; set by the owner.
  void setStockReference(std::shared_ptr<kit::StockReference> reference) {
    stockReference_ = std::move(reference);
  }

  // The state the dialog works with, for its owner's tests and diagnostics.
  const std::shared_ptr<ado::Recordset>& headRecordset() const { return heads_; }
  const std::shared_ptr<ado::Recordset>& lineRecordset() const { return lines_; }
  const std::string& receivingWarehouseCode() const { return whCode_; }
  // The grids of the tab in front.
  forms::MsSuperGrid& activeHeadGrid();
  forms::MsSuperGrid& activeLineGrid();

  // Controls, as the form file declares them.
  forms::Label& lblDate = add<forms::Label>("lblDate", {120, 180, 780, 255}, "日期：");
  forms::TextBox& txtLDate = add<forms::TextBox>("txtLDate", {900, 150, 1260, 300});
  forms::Label& lblDateTo = add<forms::Label>("lblDateTo", {2220, 180, 240, 255}, "-");
  forms::TextBox& txtUDate = add<forms::TextBox>("txtUDate", {2460, 150, 1260, 300});
  forms::Label& lblPlanArriveDate =
      add<forms::Label>("lblPlanArriveDate", {3900, 180, 1380, 255}, "计划到货日期：");
  forms::TextBox& txtLPlanArriveDate =
      add<forms::TextBox>("txtLPlanArriveDate", {5280, 150, 1260, 300});
  forms::Label& lblPlanArriveDateTo =
      add<forms::Label>("lblPlanArriveDateTo", {6600, 180, 240, 255}, "-");
  forms::TextBox& txtUPlanArriveDate =
      add<forms::TextBox>("txtUPlanArriveDate", {6840, 150, 1260, 300});
  forms::Label& lblBusType = add<forms::Label>("lblBusType", {8340, 180, 1020, 255}, "业务类型：");
  forms::ComboBox& cmbBusType = add<forms::ComboBox>("cmbBusType", {9360, 150, 1500, 300});

  forms::Label& lblVen = add<forms::Label>("lblVen", {120, 570, 780, 255}, "供应商：");
  forms::TextBox& cmbVen = add<forms::TextBox>("cmbVen", {900, 540, 2820, 300});
  forms::Label& lblDept = add<forms::Label>("lblDept", {3900, 570, 780, 255}, "部门：");
  forms::TextBox& cmbDept = add<forms::TextBox>("cmbDept", {4680, 540, 1860, 300});
  forms::Label& lblPerson = add<forms::Label>("lblPerson", {6720, 570, 780, 255}, "业务员：");
  forms::TextBox& cmbPerson = add<forms::TextBox>("cmbPerson", {7500, 540, 1500, 300});

  forms::Label& lblPOID = add<forms::Label>("lblPOID", {120, 960, 780, 255}, "订单号：");
  forms::TextBox& cmbPOID = add<forms::TextBox>("cmbPOID", {900, 930, 1620, 300});
  forms::Label& lblArrID = add<forms::Label>("lblArrID", {2640, 960, 1020, 255}, "到货单号：");
  forms::TextBox& cmbArrID = add<forms::TextBox>("cmbArrID", {3660, 930, 1620, 300});
  forms::Label& lblWhName = add<forms::Label>("lblWhName", {5400, 960, 600, 255}, "仓库：");
  forms::TextBox& cmbWhName = add<forms::TextBox>("cmbWhName", {6000, 930, 1500, 300});
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
  forms::CommandButton& cmdFilter =
      add<forms::CommandButton>("cmdFilter", {9780, 390, 1100, 360, &SSTab1, 0}, "过滤(&F)");
  forms::MsSuperGrid& lstDdHead =
      add<forms::MsSuperGrid>("lstDdHead", {60, 840, 10920, 2160, &SSTab1, 0});
  forms::MsSuperGrid& lstDdBody =
      add<forms::MsSuperGrid>("lstDdBody", {60, 3060, 10920, 3060, &SSTab1, 0});
  forms::CheckBox& chkEdit1 =
      add<forms::CheckBox>("chkEdit1", {1440, 420, 1800, 300, &SSTab1, 1}, "生单后是否编辑");
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
  void Form_Load() override;
  void Form_Unload(int& Cancel) override;
  void Form_KeyDown(int& KeyCode, int Shift) override;
  void Form_KeyPress(int& KeyAscii) override;

 private:
  void wireEvents();
  void wireLineGrid(forms::MsSuperGrid& grid);
  bool onOrderTab() const;
  // What the line grid of the tab in front holds.
  module::LineGrid lineKind() const;
  module::LineGrid kindOf(const forms::MsSuperGrid& lineGrid) const;

  // Tabs, filter and lists (frm_stock_order.cpp).
  void tabSwitched(int previousTab, bool firstDisplay);
  void cmdFilter_Click();
  void busTypeDropDown();
  void busTypeChosen();
  void showLines();
  void appendLinesOf(int headRow, bool singleHead);
  void headMouseUp(forms::MsSuperGrid& grid, int button);
  void toggleMark(forms::MsSuperGrid& grid);
  void cmdOk_Click();
  void cmdExit_Click();
  std::shared_ptr<ado::Recordset> collectRows(forms::MsSuperGrid& grid,
                                              const std::shared_ptr<ado::Recordset>& source);
  void clearLayoutFlags();

  // Line tools (frm_stock_order_lines.cpp).
  void lineCellChange(forms::MsSuperGrid& grid, std::string& text, bool& cancel, int row, int col);
  void lineCellButton(forms::MsSuperGrid& grid, int row, int col);
  void editCell(forms::MsSuperGrid& grid, int row, int col, std::string text);
  void lineMouseUp(forms::MsSuperGrid& grid, int button);
  void copyLine();
  void clearMarkedLines();
  void deleteLine();
  void pickForLine(kit::StockPick pick, bool automatic);
  bool pickForCell(forms::MsSuperGrid& grid, int row, kit::StockPick pick);
  bool pickWarehouse(std::string& code, std::string& name);
  void cmdWh_Click();
  void txtWh_LostFocus();
  void applyWarehouseToLines();
  std::shared_ptr<ado::Recordset> lineRecordOf(forms::MsSuperGrid& grid, int row);
  // The grid column of a field of the line recordset (its position + 1), 0 without one.
  int lineColumn(std::string_view field) const;
  std::string lineCell(const forms::MsSuperGrid& grid, int row, std::string_view field) const;
  double lineNumber(const forms::MsSuperGrid& grid, int row, std::string_view field) const;

  // The handed-in stock reference; without one a picker raises error 91.
  kit::StockReference& stockReference() const;

  std::shared_ptr<kit::StockReference> stockReference_;
  module::LookupFields lookupFields_{*this, cmdRefers, module::LookupCodes::IntoLinkItem, true};
  std::shared_ptr<components::PurchaseRefService> service_;
  module::GridNumberFormats formats_;
  std::shared_ptr<ado::Recordset> heads_;
  std::shared_ptr<ado::Recordset> lines_;
  std::string departments_;
  std::string warehouses_;
  std::string inventories_;
  bool commercial_ = false;
  bool tabSuppressed_ = false;
  // Form_Load has run: the check boxes' Click handlers filter and list only from then on.
  bool ready_ = false;
  std::string whCode_;
};

}  // namespace quillon::dialogs
