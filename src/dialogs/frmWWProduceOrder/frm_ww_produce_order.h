// frmWWProduceOrder: the outsourced production-order reference dialog. The owner (a
// WWProduceOrder) gives it the connection, the order filter, the mode flag bOI and itself, and
// shows it modally. The user filters order headers (VouchListH), marks headers to list their
// product lines (VouchListB) and, issuing materials, marks product lines to list their materials
// (VouchListS, on the second tab), edits this time's quantities (or applies a kit quantity) and
// confirms: the marked rows are read again with the host's fixed columns and handed to the
// owner's oCollection under "Parent", "Sub" and, when confirmed on the materials tab, "Child".
//
// Three query modes, fixed by bOI and chkYbjs: receipt, receipt of concession-accepted goods, and
// issue (type 39 with its own statements).
//
// The product lines and materials of several orders show, each, the number of its order beside
// the mark (a column of the view alone, captioned as the header list captions the number); the
// lists' pop-up menus hide or show it. The owner is reached late-bound ("eVouchType" read,
// "oCollection" set on OK and cleared on cancel). An error in an event handler is shown under the
// prompt title and the dialog stays open. The dialog writes nothing to the account; OK creates a
// connection-local "#" table of this time's material quantities.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/frmWWProduceOrder/ww_produce_order_queries.h"
#include "dialogs/frmWWProduceOrder/ww_produce_order_rules.h"
#include "dialogs/kit/reference_dialog.h"
#include "forms/controls.h"

namespace quillon::ado {
class Connection;
class Recordset;
}  // namespace quillon::ado
namespace quillon::components {
class MarlinColSet;
}

namespace quillon::dialogs {

class frmWWProduceOrder : public kit::ReferenceDialog {
 public:
  using RecordsetPtr = std::shared_ptr<ado::Recordset>;
  using ConnectionPtr = std::shared_ptr<ado::Connection>;

  frmWWProduceOrder();
  ~frmWWProduceOrder() override;

  // Set by the owner before the dialog is shown, besides the filter, the connection and the owner.
  bool bOI = false;

  // ---- public methods, in the dialog's order
  // A list reset to the column set's layout, filled from `rs` when it is given and formatted.
  void FillVouchListByColSet(forms::MarlinVouchList& list, components::MarlinColSet& colSet,
                             RecordsetPtr& rs);
  // The list queries: each opens a new recordset in `rs` on `conn`, clears `errText`, and returns
  // True when its statement ran; an error is trapped into `errText` (False).
  bool GetYbjsPoMain(const std::string& ids, RecordsetPtr& rs, const ConnectionPtr& conn,
                     std::string& errText, std::uint8_t& state, bool& openOnly, std::string& extra);
  bool GetPoMainZ(const std::string& ids, RecordsetPtr& rs, const ConnectionPtr& conn,
                  std::string& errText, std::uint8_t& state, bool& openOnly, std::string& extra);
  bool GetProduct1(const std::string& where, RecordsetPtr& rs, const ConnectionPtr& conn,
                   std::string& errText, std::uint8_t& state, bool& openOnly);
  bool GetYbjsProduct(const std::string& where, RecordsetPtr& rs, const ConnectionPtr& conn,
                      std::string& errText, std::uint8_t& state, bool& openOnly);
  bool GetProductX(const std::string& where, RecordsetPtr& rs, const ConnectionPtr& conn,
                   std::string& errText, std::uint8_t& state, bool& openOnly);
  bool GetProductZ(const std::string& where, RecordsetPtr& rs, const ConnectionPtr& conn,
                   std::string& errText, std::uint8_t& state, bool& openOnly);
  bool GetPoMain(const std::string& ids, RecordsetPtr& rs, const ConnectionPtr& conn,
                 std::string& errText, std::uint8_t& state, bool& openOnly, std::string& extra);
  bool GetPoMainX(const std::string& ids, RecordsetPtr& rs, const ConnectionPtr& conn,
                  std::string& errText, std::uint8_t& state, bool& openOnly, std::string& extra);

  // The state the dialog works with, for its owner's tests, benchmarks and diagnostics.
  ww_produce_order::Mode mode() const;
  bool openOnlyFlag() const { return openOnly_; }
  const std::string& inventoryFilter() const { return invFilter_; }
  const RecordsetPtr& headerRecordset() const { return headers_; }
  const RecordsetPtr& lineRecordset() const { return lines_; }
  const RecordsetPtr& materialRecordset() const { return materials_; }
  // The statement that filled each list last (what OK reads again).
  const std::string& headerStatement() const { return headerSql_; }
  const std::string& lineStatement() const { return lineSql_; }
  const std::string& materialStatement() const { return materialSql_; }
  components::MarlinColSet* columnSet(char list) const;
  // Loads the headers of the current filter as cmdFilter does with every box empty; then the
  // product lines of `ids`, then the materials of `mainIds`: the routines the lists use, without
  // the lists (for the benchmark). Each gives the recordset, or null with the error text.
  RecordsetPtr loadHeaders(const std::string& filterWhere, std::string& errText);
  RecordsetPtr loadLines(const std::string& ids, std::string& errText);
  RecordsetPtr loadMaterials(const std::string& mainIds, std::string& errText);

  // Controls, as the form file declares them.
  forms::Label& lblLDate = add<forms::Label>("lblLDate", {120, 180, 1020, 255}, "订单日期：");
  forms::TextBox& txtLDate = filterField("txtLDate", {1140, 150, 1260, 300}, "rfdate");
  forms::Label& lblUDate = add<forms::Label>("lblUDate", {2460, 180, 240, 255}, "-");
  forms::TextBox& txtUDate = filterField("txtUDate", {2700, 150, 1260, 300}, "rfdate");
  forms::Label& lblPOID = add<forms::Label>("lblPOID", {4140, 180, 1200, 255}, "委外订单号：");
  forms::TextBox& cmbPOID = filterField("cmbPOID", {5340, 150, 1620, 300}, "rfnull");
  forms::Label& lblVen = add<forms::Label>("lblVen", {7140, 180, 1200, 255}, "委外供应商：");
  forms::TextBox& cmbVen = filterField("cmbVen", {8340, 150, 2400, 300}, "rfvendor");
  forms::Label& lblDept = add<forms::Label>("lblDept", {120, 570, 1020, 255}, "生产部门：");
  forms::TextBox& cmbDept = filterField("cmbDept", {1140, 540, 2820, 300}, "rfdepartment");
  forms::Label& lblPerson = add<forms::Label>("lblPerson", {4140, 570, 1200, 255}, "业务员：");
  forms::TextBox& cmbPerson = filterField("cmbPerson", {5340, 540, 1620, 300}, "rfperson");
  forms::Label& lblInv = add<forms::Label>("lblInv", {7140, 570, 1200, 255}, "产品：");
  forms::TextBox& cmbInv = filterField("cmbInv", {8340, 540, 2400, 300}, "rfinventory");
  forms::CommandButton& cmdRefers = add<forms::CommandButton>("cmdRefers", {0, 0, 240, 240});
  forms::CheckBox& chkAll =
      add<forms::CheckBox>("chkAll", {120, 930, 2700, 300}, "执行完未关闭的显示");
  forms::CheckBox& chkYbjs =
      add<forms::CheckBox>("chkYbjs", {3000, 930, 2700, 300}, "不合格品让步接收入库");
  forms::CommandButton& cmdClearFilter =
      add<forms::CommandButton>("cmdClearFilter", {9240, 900, 1100, 360}, "清除");
  forms::CommandButton& cmdFilter =
      add<forms::CommandButton>("cmdFilter", {10440, 900, 1100, 360}, "过滤(&F)");

  forms::CorvidXTabStrip& SSTab1 = add<forms::CorvidXTabStrip>(
      "SSTab1", {120, 1380, 11520, 6000}, std::vector<std::string>{"委外订单", "委外材料"});
  forms::MarlinVouchList& VouchListH =
      add<forms::MarlinVouchList>("VouchListH", {60, 360, 11400, 2460, &SSTab1, 0});
  forms::MarlinVouchList& VouchListB =
      add<forms::MarlinVouchList>("VouchListB", {60, 2880, 11400, 3060, &SSTab1, 0});
  forms::MarlinVouchList& VouchListS =
      add<forms::MarlinVouchList>("VouchListS", {60, 360, 11400, 5580, &SSTab1, 1});

  forms::CommandButton& Command1 =
      add<forms::CommandButton>("Command1", {120, 7500, 1100, 360}, "表头栏目");
  forms::CommandButton& Command2 =
      add<forms::CommandButton>("Command2", {1320, 7500, 1100, 360}, "表体栏目");
  forms::CommandButton& Command3 =
      add<forms::CommandButton>("Command3", {2520, 7500, 1100, 360}, "子项栏目");
  forms::CheckBox& chkSelectAllHead =
      add<forms::CheckBox>("chkSelectAllHead", {3840, 7530, 1620, 300}, "表头全选(&H)");
  forms::CheckBox& chkSelectAll =
      add<forms::CheckBox>("chkSelectAll", {5580, 7530, 1620, 300}, "表体全选(&B)");
  forms::Label& lblInvCode = add<forms::Label>("lblInvCode", {120, 8010, 1020, 255}, "存货编码：");
  forms::TextBox& txtInvCode = add<forms::TextBox>("txtInvCode", {1140, 7980, 1620, 300});
  forms::Label& lblInvQuantity =
      add<forms::Label>("lblInvQuantity", {2940, 8010, 1800, 255}, "本次配套出库数量：");
  forms::NumericEdit& edtInvQuantity =
      add<forms::NumericEdit>("edtInvQuantity", {4740, 7980, 1500, 300});
  forms::CommandButton& cmdOk =
      add<forms::CommandButton>("cmdOk", {9240, 7950, 1100, 360}, "确定(&O)");
  forms::CommandButton& cmdExit =
      add<forms::CommandButton>("cmdExit", {10440, 7950, 1100, 360}, "取消(&X)");

  forms::Menu& MnuFYJCD = addMenu("MnuFYJCD", "父项右键菜单");
  forms::Menu& MnuClearFAll = addMenu("MnuClearFAll", "清除所有选中行", &MnuFYJCD);
  forms::Menu& MnuZYJCD = addMenu("MnuZYJCD", "子项右键菜单");
  forms::Menu& MnuClearCAll = addMenu("MnuClearCAll", "清除所有选中行", &MnuZYJCD);

 protected:
  void loadDialog() override;
  void Form_Unload(int& Cancel) override;
  void okClicked() override;

 private:
  ww_produce_order::Digits digits() const;
  std::shared_ptr<components::MarlinColSet> newColumnSet(std::string_view table) const;
  // Opens a list's statement followed by `order`; `kept` (and gSQL) get the statement without
  // it, which a later re-read extends with conditions.
  bool runList(const std::string& sql, RecordsetPtr& rs, const ConnectionPtr& conn,
               std::string& errText, std::string& kept, std::string_view order = {});
  // A level's recordset closed and let go.
  static void closeLevel(RecordsetPtr& rs);
  // A list query's error trapped into its error text (False).
  static bool trapped(std::string& errText, const std::function<bool()>& query);
  bool probe(const std::string& sql, const ConnectionPtr& conn) const;
  std::string probeText(const std::string& sql, const ConnectionPtr& conn) const;
  bool zgInstal() const;
  // The field lists a statement is built with, kept for what OK reads again.
  ww_produce_order::LineQuery lineQuery(const std::string& ids, std::uint8_t state, bool openOnly,
                                        const std::string& extra);
  const std::string& headerFieldList();

  // Filter and lists (frm_ww_produce_order.cpp).
  void chkAll_Click();
  void chkYbjs_Click();
  void cmdFilter_Click();
  void LoadHeaders(const std::string& filterWhere);
  // The account's number formats and the three lists' layouts. Read before the heads are opened
  // when the heads fill: a setting read afterwards runs on the heads' connection, which reads
  // every head first, where a drawn list shows its first screen while the rest loads.
  struct ListFormats {
    std::string quantity, pieces, rate;
    std::string layoutH, layoutB, layoutS;  // column definitions
  };
  ListFormats listFormats() const;
  void fillList(forms::MarlinVouchList& list, std::string_view layout, RecordsetPtr& rs,
                const ListFormats& formats);
  void showHeaders() { showHeaders(listFormats()); }
  void showHeaders(const ListFormats& formats);
  void showLines();
  void showMaterials();
  void emptyList(forms::MarlinVouchList& list) { emptyList(list, listFormats()); }
  void emptyList(forms::MarlinVouchList& list, const ListFormats& formats);
  // This time's quantities of the product and material lists are the cells a person edits.
  void openQuantityColumns(forms::MarlinVouchList& list);
  void columnSettings(char list);
  // The order-number column of the product and material lists takes the header list's caption
  // of the number (none while the header list has no such column).
  void captionOrderNumbers();
  // The order number of each marked header's product lines (by MainID), read as the lines are.
  std::map<std::string, std::string> readLineNumbers();
  // Every row of `list` labelled with the number of its line's order (`mainIdKey`: its MainID).
  void labelOrderNumbers(forms::MarlinVouchList& list, std::string_view mainIdKey);

  // Selection, quantities and OK (frm_ww_produce_order_selection.cpp).
  void VouchListH_RowMarkChanged(int row);
  void headersChanged();
  void VouchListB_RowMarkChanged(int row);
  void linesChanged();
  void chkSelectAllHead_Click();
  void chkSelectAll_Click();
  void quantityCellChange(forms::MarlinVouchList& list, std::string& text, bool& cancel, int row,
                          int col);
  void applyKit(int productRow);
  void edtInvQuantity_KeyDown(int& keyCode);
  bool materialsInUse() const;
  RecordsetPtr readChild();

  std::shared_ptr<components::MarlinColSet> colSetH_;
  std::shared_ptr<components::MarlinColSet> colSetB_;
  std::shared_ptr<components::MarlinColSet> colSetS_;
  RecordsetPtr headers_;
  RecordsetPtr lines_;
  RecordsetPtr materials_;
  std::string headerSql_;
  std::string headerFields_;  // the field list headerSql_ was built with
  std::string lineSql_;
  std::string lineFields_;
  std::string materialSql_;
  std::string invFilter_;
  std::string errText_;
  // The order number of each listed product line, by its MainID.
  std::map<std::string, std::string> lineNumbers_;
  std::string quantityFormat_;
  bool openOnly_ = true;
  // Marks changed from code (select-all, a refused vendor) run no selection of their own.
  bool marking_ = false;
};

}  // namespace quillon::dialogs
