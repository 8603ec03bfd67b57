// A small dialog used by the forms tests: one control of every kind, with handlers that log what
// ran and behave the way the library's dialogs do (a key filter, a date check that keeps the
// focus, a grid whose click toggles the mark, a pop-up menu on the right button).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "forms/controls.h"
#include "forms/ui_host.h"

namespace quillon::forms::testing {

class TableSource : public RowSource {
 public:
  TableSource(std::vector<std::string> fields, std::vector<std::vector<std::string>> rows)
      : fields_(std::move(fields)), rows_(std::move(rows)) {}
  int fieldCount() const override { return static_cast<int>(fields_.size()); }
  std::string fieldName(int f) const override { return fields_[static_cast<std::size_t>(f)]; }
  int rowCount() const override { return static_cast<int>(rows_.size()); }
  std::string text(int r, int f) const override {
    return rows_[static_cast<std::size_t>(r)][static_cast<std::size_t>(f)];
  }

 private:
  std::vector<std::string> fields_;
  std::vector<std::vector<std::string>> rows_;
};

// A second dialog that the sample opens modally from inside its own modal run.
class frmChild : public Form {
 public:
  frmChild() : Form("frmChild", "明细", 3000, 2000) {
    cmdClose.Click = [this] { Unload(); };
  }
  TextBox& txtNote = add<TextBox>("txtNote", {120, 120, 2000, 300});
  CommandButton& cmdClose = add<CommandButton>("cmdClose", {1800, 1400, 1000, 350}, "关闭");
};

class frmSample : public Form {
 public:
  frmSample() : Form("frmSample", "样例", 9000, 6000) {
    setKeyPreview(true);
    cmdOk.setDefault(true);
    cmdExit.setCancel(true);
    lstHead.setCheckboxes(true);
    lstHead.addColumn("单据号", 1200);
    lstHead.addColumn("部门", 1000);
    for (int i = 1; i <= 3; ++i) {
      auto& item = lstHead.addItem("A00" + std::to_string(i), std::to_string(i) + "k");
      item.setSubItem(1, "D" + std::to_string(i));
    }
    grdBody.setCols(3);
    grdBody.setRows(3);
    grdBody.setTextMatrix(1, 0, "存货编码");
    grdBody.setTextMatrix(2, 0, "数量");
    grdBody.setTextMatrix(1, 1, "I01");
    grdBody.setTextMatrix(1, 2, "I02");
    grdBody.setColLock(1, true);
    vlLines.setColumnDefinitions("cInvCode,存货编码,1200;iQuantity,数量,900");
    vlLines.bind(std::make_shared<TableSource>(
        std::vector<std::string>{"iQuantity", "cInvCode"},
        std::vector<std::vector<std::string>>{{"5", "I01"}, {"6", "I02"}}));
    vlLines.setColEditable(vlLines.colIndex("iQuantity"), true);
    tbrTool.addButton("ok", "确定");
    tbrTool.addButton("all", "全选", {}, ToolbarButton::tbrCheck);
    CTBCtrl1.setToolbar(&tbrTool);
    tbrTool.setVisible(false);
    auto& root = treeInv.addNode(nullptr, "mRoot", "存货", "folder");
    treeInv.addNode(&root, "K01", "原料");
    treeInv.setCheckboxes(true);
    MnuPop.setVisible(false);
    edtQty.setDecimalPlaces(2);
    hdiQty.setDecimalPlaces(2);
    sbr.addPanel();

    txtDate.Validate = [this](bool& cancel) {
      log.push_back("txtDate_Validate");
      if (!txtDate.Text().empty() && !parseIsoDate(txtDate.Text())) {
        MsgBox("日期格式不正确，必须按格式YYYY-MM-DD输入", vbCritical, "提示");
        cancel = true;
      }
    };
    txtDate.LostFocus = [this] { log.push_back("txtDate_LostFocus"); };
    txtCode.GotFocus = [this] { log.push_back("txtCode_GotFocus"); };
    txtCode.Change = [this] { log.push_back("txtCode_Change:" + txtCode.Text()); };
    cmdOk.Click = [this] {
      log.push_back("cmdOk_Click");
      if (MsgBox("确定吗?", vbOKCancel + vbQuestion, "系统提示") == vbOK) Unload();
    };
    cmdExit.Click = [this] {
      log.push_back("cmdExit_Click");
      Unload();
    };
    chkAll.Click = [this] { log.push_back("chkAll_Click:" + std::to_string(chkAll.Value())); };
    cmbType.DropDown = [this] {
      if (cmbType.ListCount() == 0) {
        cmbType.AddItem("");
        cmbType.AddItem("普通采购");
        cmbType.AddItem("受托代销");
      }
    };
    cmbType.Click = [this] { log.push_back("cmbType_Click:" + cmbType.Text()); };
    lstHead.ItemCheck = [this](ListItem& item) {
      log.push_back("lstHead_ItemCheck:" + item.Key() + (item.Checked() ? "+" : "-"));
    };
    lstHead.MouseUp = [this](int button, int, int, int) {
      if (button == vbRightButton) PopupMenu(MnuPop);
    };
    grdBody.Click = [this] {
      const int row = grdBody.Row();
      if (row < 1) return;
      grdBody.setTextMatrix(0, row, grdBody.TextMatrix(0, row) == "Y" ? "" : "Y");
    };
    grdBody.CellChange = [this](std::string& text, bool& cancel, int row, int col) {
      log.push_back("grdBody_CellChange:" + std::to_string(row) + "," + std::to_string(col));
      if (text == "-1") cancel = true;
      if (text == "1") text = "1.00";
    };
    vlLines.RowMarkChanged = [this](int row) {
      log.push_back("vlLines_RowMarkChanged:" + std::to_string(row));
    };
    vlLines.CellChange = [](std::string& text, bool& cancel, int, int) {
      cancel = text.empty();
      text += ".00";
    };
    SSTab1.Click = [this](int previous) {
      log.push_back("SSTab1_Click:" + std::to_string(previous));
    };
    CTBCtrl1.ButtonClick = [this](const std::string& key) { log.push_back("toolbar:" + key); };
    treeInv.NodeCheck = [this](Node& node) { log.push_back("treeInv_NodeCheck:" + node.Key()); };
    treeInv.NodeClick = [this](Node& node) { log.push_back("treeInv_NodeClick:" + node.Key()); };
    MnuClear.Click = [this] {
      log.push_back("MnuClear_Click");
      for (int i = 1; i <= lstHead.itemCount(); ++i) lstHead.item(i).setChecked(false);
    };
    mnuLocal.Click = [this] {
      if (auto row = currentUiHost().inputBox({"行数：", "定位行数", ""}))
        sbr.setPanelText(1, "第" + *row + "条");
    };
    cmdRefers.Click = [this] {
      LookupRequest request;
      request.query = "SELECT * FROM Vendor";
      request.title = "供应商";
      request.multiSelect = true;
      if (auto rows = currentUiHost().lookupList(request)) {
        std::string text;
        for (int r : *rows) text += (text.empty() ? "" : ",") + std::to_string(r);
        txtCode.setText(text);
      }
    };
    cmdDate.Click = [this] {
      if (auto date = currentUiHost().calendar({})) txtDate.setText(formatIsoDate(*date));
    };
    cmdMore.Click = [this] {
      frmChild child;
      child.Show(vbModal);
      childNote = child.txtNote.Text();
    };
    edtQty.Change = [this] { log.push_back("edtQty_Change:" + edtQty.Text()); };
    hdiQty.Change = [this](bool& cancel) { cancel = hdiQty.Text().size() > 5; };
  }

  std::vector<std::string> log;
  int unloadCancel = 0;
  std::string childNote;

  Frame& Frame1 = add<Frame>("Frame1", {60, 60, 8800, 1200}, "过滤条件");
  Label& lblCode = add<Label>("lblCode", {120, 300, 800, 240, &Frame1}, "单据号(&C)");
  TextBox& txtCode = add<TextBox>("txtCode", {1000, 300, 1600, 300, &Frame1});
  TextBox& txtDate = add<TextBox>("txtDate", {3000, 300, 1200, 300, &Frame1});
  CommandButton& cmdRefers = add<CommandButton>("cmdRefers", {2400, 330, 240, 240, &Frame1});
  CommandButton& cmdDate = add<CommandButton>("cmdDate", {4200, 330, 240, 240, &Frame1});
  ComboBox& cmbType = add<ComboBox>("cmbType", {4600, 300, 1500, 300, &Frame1});
  CheckBox& chkAll = add<CheckBox>("chkAll", {6200, 300, 1200, 300, &Frame1}, "全选(&A)");
  OptionButton& optA = add<OptionButton>("optA", {7400, 200, 1200, 300, &Frame1}, "订单");
  OptionButton& optB = add<OptionButton>("optB", {7400, 600, 1200, 300, &Frame1}, "到货单");
  CorvidXTabStrip& SSTab1 = add<CorvidXTabStrip>("SSTab1", {60, 1400, 8800, 3600},
                                                 std::vector<std::string>{"订单", "存货", "明细"});
  ListView& lstHead = add<ListView>("lstHead", {120, 1800, 8600, 3000, &SSTab1, 0});
  MsSuperGrid& grdBody = add<MsSuperGrid>("grdBody", {120, 1800, 8600, 3000, &SSTab1, 1});
  MarlinVouchList& vlLines = add<MarlinVouchList>("vlLines", {120, 1800, 8600, 3000, &SSTab1, 2});
  TreeView& treeInv = add<TreeView>("treeInv", {120, 5100, 2000, 600});
  NumericEdit& edtQty = add<NumericEdit>("edtQty", {2200, 5100, 1000, 300});
  HeadItem& hdiQty = add<HeadItem>("hdiQty", {3300, 5100, 1600, 300}, "数量");
  Toolbar& tbrTool = add<Toolbar>("tbrTool", {0, 0, 9000, 400});
  CTBCtrl& CTBCtrl1 = add<CTBCtrl>("CTBCtrl1", {0, 0, 9000, 400});
  StatusBar& sbr = add<StatusBar>("sbr", {0, 5700, 9000, 300});
  CommandButton& cmdMore = add<CommandButton>("cmdMore", {5200, 5100, 1100, 350}, "明细");
  CommandButton& cmdOk = add<CommandButton>("cmdOk", {6400, 5100, 1100, 350}, "确定(&O)");
  CommandButton& cmdExit = add<CommandButton>("cmdExit", {7600, 5100, 1100, 350}, "取消(&X)");
  Menu& MnuPop = addMenu("MnuPop", "右键菜单");
  Menu& MnuClear = addMenu("MnuClear", "清除所有选中行", &MnuPop);
  Menu& mnuLocal = addMenu("mnuLocal", "定位");

 protected:
  void Form_Load() override { log.push_back("Form_Load"); }
  void Form_Activate() override { log.push_back("Form_Activate"); }
  void Form_Unload(int& cancel) override {
    log.push_back("Form_Unload");
    cancel = unloadCancel;
  }
  void Form_KeyPress(int& keyAscii) override {
    // The filter fields feed SQL texts: a quote must never reach them.
    if (keyAscii == '\'') {
      keyAscii = 0;
      Beep();
    }
  }
  void Form_KeyDown(int& keyCode, int shift) override {
    if (keyCode == vbKeyF2 && shift == 0) {
      log.push_back("F2");
      keyCode = 0;
    }
  }
};

}  // namespace quillon::forms::testing
