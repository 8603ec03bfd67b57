// A small dialog for the script words about control states, cell buttons, the filter dialog and
// modeless forms: a grid whose warehouse column shows a cell button, a frame that a check box
// enables, a control on a tab page not shown, a tree with check boxes, a report list with check
// boxes whose last column is hidden by width 0, a combo box, the suite's
// filter dialog, a lookup list, a message box with its own title, and a notes form it shows
// modeless.
#pragma once

#include <string>
#include <vector>

#include "forms/controls.h"
#include "forms/ui_host.h"
#include "sample_form.h"

namespace quillon::forms::testing {

// Shown modeless by frmMore and left open while the person goes on in frmMore.
class frmNotes : public Form {
 public:
  frmNotes() : Form("frmNotes", "备注", 3000, 1600) {
    cmdClose.Click = [this] { Unload(); };
  }
  TextBox& txtNote = add<TextBox>("txtNote", {120, 120, 2400, 300});
  CommandButton& cmdClose = add<CommandButton>("cmdClose", {1800, 900, 900, 350}, "关闭");
};

class frmMore : public Form {
 public:
  frmMore() : Form("frmMore", "更多", 9000, 6000) {
    grdLines.setCols(4);
    grdLines.setRows(3);
    grdLines.setTextMatrix(1, 0, "存货编码");
    grdLines.setTextMatrix(2, 0, "仓库");
    grdLines.setTextMatrix(3, 0, "备注");
    grdLines.setTextMatrix(1, 1, "A01");
    grdLines.setTextMatrix(1, 2, "A02");
    grdLines.setColWidth(1, 1200);
    grdLines.setColWidth(3, 0);
    grdLines.setColButton(2, true);
    grdLines.CellButtonClick = [this](int row, int col) {
      log.push_back("grdLines_CellButtonClick:" + std::to_string(row) + "," + std::to_string(col));
      grdLines.setTextMatrix(col, row, "01");
    };
    txtCode.setTag("code");
    fraFilter.setEnabled(false);
    chkFilter.Click = [this] { fraFilter.setEnabled(chkFilter.Value() == vbChecked); };
    cmbKind.AddItem("普通");
    cmbKind.AddItem("红字");
    auto& root = treeBins.addNode(nullptr, "R", "货位", "folder");
    treeBins.addNode(&root, "B01", "一号");
    treeBins.addNode(&root, "B02", "二号");
    treeBins.setCheckboxes(true);
    lstPick.setCheckboxes(true);
    lstPick.addColumn("选择", 500, 2);
    lstPick.addColumn("存货编码", 1500);
    lstPick.addColumn("名称");
    lstPick.addColumn("内部", 0);
    lstPick.addItem("", "K1").setSubItem(1, "0104001");
    cmdFilter.Click = [this] {
      const FilterResult r = currentUiHost().filterDialog({"库存过滤", "ST", {}});
      lblWhere.setCaption(r.code == 1 ? r.where : "(全部)");
    };
    cmdPick.Click = [this] {
      TableSource rows({"cWhCode"}, {{"01"}, {"02"}, {"03"}});
      LookupRequest request;
      request.title = "仓库";
      request.rows = &rows;
      if (auto chosen = currentUiHost().lookupList(request)) {
        txtCode.setText("0" + std::to_string(chosen->front()));
      }
    };
    cmdWarn.Click = [] { MsgBox("仓库[01]已关闭\r\n请重新选择\r\n", vbExclamation, "库存提示"); };
    cmdNotes.Click = [this] { notes.Show(vbModeless); };
    cmdOk.Click = [this] {
      code = txtCode.Text();
      Unload();
    };
  }

  std::vector<std::string> log;
  std::string code;
  frmNotes notes;

  MsSuperGrid& grdLines = add<MsSuperGrid>("grdLines", {120, 120, 6000, 1500});
  Frame& fraFilter = add<Frame>("fraFilter", {120, 1800, 4000, 900}, "条件(&T)");
  TextBox& txtCode = add<TextBox>("txtCode", {120, 300, 1600, 300, &fraFilter});
  CheckBox& chkFilter = add<CheckBox>("chkFilter", {4300, 1800, 1500, 300}, "按条件");
  ComboBox& cmbKind = add<ComboBox>("cmbKind", {4300, 2200, 1500, 300});
  CorvidXTabStrip& tabPages = add<CorvidXTabStrip>("tabPages", {120, 2800, 6000, 1200},
                                                   std::vector<std::string>{"一", "二"});
  Label& lblWhere = add<Label>("lblWhere", {120, 400, 3000, 300, &tabPages, 0}, "(全部)");
  Label& lblOther = add<Label>("lblOther", {120, 400, 3000, 300, &tabPages, 1}, "第二页");
  TreeView& treeBins = add<TreeView>("treeBins", {6300, 120, 2400, 1500});
  ListView& lstPick = add<ListView>("lstPick", {6300, 1800, 2400, 2400});
  CommandButton& cmdFilter = add<CommandButton>("cmdFilter", {120, 4300, 1000, 350}, "过滤(&F)");
  CommandButton& cmdPick = add<CommandButton>("cmdPick", {1200, 4300, 1000, 350}, "参照");
  CommandButton& cmdWarn = add<CommandButton>("cmdWarn", {2300, 4300, 1000, 350}, "检查");
  CommandButton& cmdNotes = add<CommandButton>("cmdNotes", {3400, 4300, 1000, 350}, "备注");
  CommandButton& cmdOk = add<CommandButton>("cmdOk", {7600, 5300, 1100, 350}, "确定(&O)");
};

// Every one of those dialog words on frmMore (and the notes form it shows modeless), each
// of which holds; `call $dlg.show` is to show a fresh frmMore modally.
inline constexpr const char* kMoreWordsScript = R"script(on frmMore
  expect txtCode.Enabled = false
  expect fraFilter.Enabled = false
  expect txtCode.Visible = true
  expect txtCode.Tag = "code"
  expect chkFilter.Value = 0
  click chkFilter
  expect chkFilter.Value = 1
  expect txtCode.Enabled = true
  expect chkFilter.Caption = "按条件"
  expect fraFilter.Caption like "条件*"
  expect cmdOk.Caption = "确定(&O)"
  expect frmMore.Caption = "更多"
  expect lblWhere.Visible = true
  expect lblOther.Visible = false
  tab tabPages 1
  expect lblOther.Visible = true
  expect lblWhere.Visible <> true
  expect cmbKind.ListIndex = -1
  choose cmbKind "红字"
  expect cmbKind.ListIndex = 1
  expect cmbKind.Text = "红字"
  expect treeBins["B01"].Checked = false
  node treeBins B01 check on
  expect treeBins["B01"].Checked = true
  expect grdLines.Column["存货编码"].Width = 1200
  expect grdLines.Column["存货编码"].Width >= 1000
  expect grdLines.Column["备注"].Visible = false
  expect grdLines.Column["仓库"].Visible = true
  expect lstPick.Column["存货编码"].Width = 1500
  expect lstPick.Column["选择"].Visible = true
  expect lstPick.Column["内部"].Visible = false
  expect lstPick.Column["内部"].Width = 0
  expect grdLines.rows >= 2
  button grdLines 2 "仓库"
  expect grdLines[2,"仓库"] "01"
  expect grdLines[2]["仓库"] = "01"
  expect grdLines[2,2] > 0
  filter "cWhCode = '01'"
  click cmdFilter
  expect lblWhere.Caption = "cWhCode = '01'"
  filter cancel
  click cmdFilter
  expect lblWhere.Caption = "(全部)"
  pick 2
  click cmdPick
  expect lookup.rows = 3
  expect txtCode.Text = "02"
  expect no message
  click cmdWarn
  expect message like "仓库*已关闭*" title "库存提示"
  expect no message
  click cmdNotes
  expect txtCode.Text like "0#"
  click cmdOk
end
on frmNotes
  type txtNote "看过"
  expect txtNote.Text = "看过"
end
call $dlg.show
)script";

}  // namespace quillon::forms::testing
