// frmReturnInvSet: the return-inventory picker. The inventory-class tree on the left, the
// inventories of the chosen class on the right; the user marks rows ("√") by clicking them, by
// checking a class (all its inventories) or the root (all of them, after a question), and
// confirms. OK leaves the chosen inventories in gReturnInvRecordset, read on the session's
// connection through the suite's inventory list, in the order the list shows; Quit, the close box
// and OK with nothing marked leave Nothing there.
//
// Every list keeps to the host condition (gReturnInvWhere) and to the user's inventory rights.
// Errors of its handlers are not trapped: they reach whoever drives the form (the public class's
// call when it is shown modally).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "forms/controls.h"
#include "forms/dialog_shell.h"

namespace quillon::automation {
class Collection;
}
namespace quillon::components {
class InventoryQueryService;
}

namespace quillon::dialogs {

class frmReturnInvSet : public forms::DialogShell {
 public:
  frmReturnInvSet();
  ~frmReturnInvSet() override;

  // The toolbar buttons and menus: "Quit", "Ok", "Local", "Order", "tlbSelAll".
  void TaskRun(const std::string& key);
  // Lists the inventories of a node's class (the root: all the host condition allows), marked or
  // not.
  void ListClass(forms::Node& node, bool marked);
  // The codes of the rows marked "√", in list order.
  std::vector<std::string> ChosenCodes() const;
  // The border between tree and list, in twips from the left.
  int border() const { return border_; }
  void moveBorder(int border);

  forms::Toolbar& tlbInvClass = add<forms::Toolbar>("tlbInvClass", {0, 0, 10200, 420});
  forms::CTBCtrl& CTBCtrl1 = add<forms::CTBCtrl>("CTBCtrl1", {0, 0, 10200, 420});
  forms::TreeView& treeMenu = add<forms::TreeView>("treeMenu", {0, 420, 3000, 6280});
  forms::Frame& Frame1 = add<forms::Frame>("Frame1", {3000, 420, 60, 6280});
  forms::ListView& ListView1 = add<forms::ListView>("ListView1", {3060, 420, 7140, 6280});
  forms::StatusBar& StatusBar1 = add<forms::StatusBar>("StatusBar1", {0, 6700, 10200, 300});
  forms::Menu& mnuOperator = addMenu("mnuOperator", "操作(&O)");
  forms::Menu& mnuLocal = addMenu("mnuLocal", "定位(&L)", &mnuOperator);
  forms::Menu& mnuOrder = addMenu("mnuOrder", "降序(&D)", &mnuOperator);

 protected:
  void Form_Load() override;
  void Form_Resize() override;
  void Form_QueryUnload(int& Cancel, int UnloadMode) override;

 private:
  void nodeCheck(forms::Node& node);
  void itemClick(forms::ListItem& item);
  void fill(const std::string& condition, bool marked);
  void selectFirst();
  void markAll(bool on);
  void locate();
  void order();
  void confirm();
  void quit();
  void status(std::string text);

  std::shared_ptr<automation::Collection> gradeLengths_;
  std::shared_ptr<components::InventoryQueryService> inventories_;
  int border_ = 3000;
  bool closing_ = false;
};

}  // namespace quillon::dialogs
