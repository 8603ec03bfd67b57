// frmProduceOrder: the production-order reference dialog. The owner (a ProduceOrder) gives it
// the connection, the filter text, the OI flag and itself, and shows it modally. The user filters
// order heads, checks one head to list its product lines, checks a line to list its materials,
// and confirms: the chosen rows are read again from the database and handed to the owner's
// oCollection under "Parent", "Sub" and (with the materials tab) "Child".
//
// The owner is reached late-bound, as the dialog's owner class is: its "eVouchType" is read on
// load and its "oCollection" set on OK (Nothing on cmdExit). An error in an event handler is shown
// to the user under the prompt title and the dialog stays open.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "dialogs/kit/list_level.h"
#include "dialogs/kit/reference_dialog.h"
#include "forms/controls.h"

namespace quillon::ado {
class Recordset;
}
namespace quillon::components {
class ProductionOrderService;
}

namespace quillon::dialogs {

class frmProduceOrder : public kit::ReferenceDialog {
 public:
  frmProduceOrder();
  ~frmProduceOrder() override;

  // Public members the owner sets before showing the dialog, besides the filter text, the
  // connection and the owner.
  bool bOI = false;

  // The state the dialog works with, for its owner's tests and diagnostics.
  const std::string& inventoryConditionText() const { return invCondition_; }
  bool allLinesFlagValue() const { return allLines_; }
  const std::shared_ptr<ado::Recordset>& headRecordset() const { return heads_.recordset(); }
  const std::shared_ptr<ado::Recordset>& lineRecordset() const { return lines_.recordset(); }
  const std::shared_ptr<ado::Recordset>& materialRecordset() const {
    return materials_.recordset();
  }

  // Controls, as the form file declares them.
  forms::Frame& Frame1 = add<forms::Frame>("Frame1", {120, 60, 11160, 1200}, "过滤条件");
  forms::Label& lblLDate = add<forms::Label>("lblLDate", {240, 300, 900, 255, &Frame1}, "单据日期");
  forms::TextBox& txtLDate = filterField("txtLDate", {1140, 270, 1500, 300, &Frame1}, "rfdate");
  forms::Label& lblUDate = add<forms::Label>("lblUDate", {2760, 300, 300, 255, &Frame1}, "至");
  forms::TextBox& txtUDate = filterField("txtUDate", {3120, 270, 1500, 300, &Frame1}, "rfdate");
  forms::Label& lblDept = add<forms::Label>("lblDept", {4800, 300, 600, 255, &Frame1}, "部门");
  forms::TextBox& cmbDept = filterField("cmbDept", {5460, 270, 1800, 300, &Frame1}, "rfdepartment");
  forms::Label& lblPerson =
      add<forms::Label>("lblPerson", {7440, 300, 700, 255, &Frame1}, "业务员");
  forms::TextBox& cmbPerson = filterField("cmbPerson", {8160, 270, 1800, 300, &Frame1}, "rfperson");
  forms::Label& lblPOID = add<forms::Label>("lblPOID", {240, 720, 900, 255, &Frame1}, "订单号");
  forms::TextBox& cmbPOID = filterField("cmbPOID", {1140, 690, 1500, 300, &Frame1}, "rfnull");
  forms::Label& lblVen = add<forms::Label>("lblVen", {2760, 720, 700, 255, &Frame1}, "委外商");
  forms::TextBox& cmbVen = filterField("cmbVen", {3480, 690, 1800, 300, &Frame1}, "rfvendor");
  forms::Label& lblInv = add<forms::Label>("lblInv", {5460, 720, 600, 255, &Frame1}, "存货");
  forms::TextBox& cmbInv = filterField("cmbInv", {6120, 690, 1800, 300, &Frame1}, "rfinventory");
  forms::CommandButton& cmdRefers = add<forms::CommandButton>("cmdRefers", {0, 0, 240, 240});
  forms::CheckBox& chkAll =
      add<forms::CheckBox>("chkAll", {120, 1320, 2600, 300}, "执行完未关闭的显示");
  forms::CommandButton& cmdClearFilter =
      add<forms::CommandButton>("cmdClearFilter", {6360, 1290, 1100, 350}, "清除");
  forms::CommandButton& cmdFilter =
      add<forms::CommandButton>("cmdFilter", {7560, 1290, 1100, 350}, "过滤(&F)");
  forms::CommandButton& cmdOk =
      add<forms::CommandButton>("cmdOk", {8760, 1290, 1100, 350}, "确定(&O)");
  forms::CommandButton& cmdExit =
      add<forms::CommandButton>("cmdExit", {9960, 1290, 1100, 350}, "取消(&C)");
  forms::ListView& lstParent = add<forms::ListView>("lstParent", {120, 1740, 11160, 2400});
  forms::CorvidXTabStrip& SSTab1 = add<forms::CorvidXTabStrip>(
      "SSTab1", {120, 4260, 11160, 3000}, std::vector<std::string>{"产品", "材料"});
  forms::ListView& lstSub = add<forms::ListView>("lstSub", {60, 360, 11040, 2580, &SSTab1, 0});
  forms::ListView& lstChild = add<forms::ListView>("lstChild", {60, 360, 11040, 2580, &SSTab1, 1});
  forms::Menu& MnuFYJCD = addMenu("MnuFYJCD", "产品");
  forms::Menu& MnuClearFAll = addMenu("MnuClearFAll", "全部不选", &MnuFYJCD);
  forms::Menu& MnuZYJCD = addMenu("MnuZYJCD", "材料");
  forms::Menu& MnuClearCAll = addMenu("MnuClearCAll", "全部不选", &MnuZYJCD);

 protected:
  void loadDialog() override;
  void Form_Unload(int& Cancel) override;
  void okClicked() override;

 private:
  void cmdFilter_Click();
  void lstParent_ItemCheck(forms::ListItem& item);
  void lstSub_ItemCheck(forms::ListItem& item);
  void LoadParentOrders(const std::string& condition);
  bool listLines(const std::string& headKey);
  bool listMaterials(const forms::ListItem& line);
  bool materialsTabAvailable() const;
  std::shared_ptr<ado::Recordset> reReadMaterials();
  std::shared_ptr<ado::Recordset> reReadLines(bool materials);
  std::shared_ptr<ado::Recordset> reReadHeads();
  std::shared_ptr<components::ProductionOrderService> newService() const;

  kit::ListLevel heads_{lstParent, module::ListKind::Parent};
  kit::ListLevel lines_{lstSub, module::ListKind::Sub};
  kit::ListLevel materials_{lstChild, module::ListKind::Child};
  std::shared_ptr<components::ProductionOrderService> service_;
  std::string errText_;
  std::string invCondition_;
  bool allLines_ = false;
};

}  // namespace quillon::dialogs
