#include "dialogs/frmReturnInvSet/frm_return_inv_set.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "ado/recordset_view.h"
#include "automation/collection.h"
#include "automation/com_error.h"
#include "automation/numeric_text.h"
#include "automation/text_compare.h"
#include "components/inventory_query_service.h"
#include "components/purchase_ref_service.h"
#include "components/registration.h"
#include "components/session_context.h"
#include "components/suite_utility.h"
#include "dialogs/frmReturnInvSet/return_inv_set_messages.h"
#include "dialogs/frmReturnInvSet/return_inv_set_queries.h"
#include "dialogs/frmReturnInvSet/return_inv_set_rules.h"
#include "forms/app_title.h"
#include "forms/list_find.h"
#include "forms/ui_host.h"
#include "module/class_tree.h"
#include "module/module_state.h"
#include "module/settings.h"
#include "module/vouch_lists.h"

namespace quillon::dialogs {

namespace ris = return_inv_set;
using automation::Variant;

namespace {

constexpr int kStatusHeight = 300;
constexpr int kBorderWidth = 60;

std::string textOf(const Variant& v) {
  return v.isNull() || v.isEmpty() ? std::string() : v.toString();
}

bool isRoot(const forms::Node& node) {
  return node.Key() == module::kClassRootKey;
}

}  // namespace

frmReturnInvSet::frmReturnInvSet()
    : DialogShell("frmReturnInvSet", std::string(ris::kCaption), 10200, 7000,
                  forms::HandlerErrors::Propagate) {
  tlbInvClass.addButton("Quit", "退出(&X)");
  tlbInvClass.addButton("", "", "", forms::ToolbarButton::tbrSeparator);
  tlbInvClass.addButton("Ok", "确定(&O)");
  tlbInvClass.addButton("Local", "定位(&L)");
  tlbInvClass.addButton("Order", "排序(&S)");
  tlbInvClass.addButton("tlbSelAll", "全选(&A)", "", forms::ToolbarButton::tbrCheck);
  tlbInvClass.setDefaultKey("Ok");
  tlbInvClass.setCancelKey("Quit");
  tlbInvClass.ButtonClick = handler([this](forms::ToolbarButton& button) { TaskRun(button.key); });
  CTBCtrl1.ButtonClick = handler([this](const std::string& key) { TaskRun(key); });

  treeMenu.setCheckboxes(true);
  ListView1.setView(forms::ListView::lvwReport);
  ListView1.setLabelEdit(1);
  ListView1.addColumn(std::string(ris::kMarkColumn), 500, 2);
  for (const auto& column : ris::kListColumns) {
    ListView1.addColumn(std::string(column.caption), column.width);
  }
  StatusBar1.addPanel("", 4000);

  treeMenu.NodeClick = handler([this](forms::Node& node) { ListClass(node, false); });
  treeMenu.NodeCheck = handler([this](forms::Node& node) { nodeCheck(node); });
  ListView1.ItemClick = handler([this](forms::ListItem& item) { itemClick(item); });
  exportMenuOn(ListView1);
  mnuLocal.Click = handler([this] { TaskRun("Local"); });
  mnuOrder.Click = handler([this] { TaskRun("Order"); });
  // The border follows the mouse held on it, taken by its middle.
  Frame1.MouseMove = handler([this](int button, int, int x, int) {
    if (button == forms::vbLeftButton) moveBorder(border_ + x - kBorderWidth / 2);
  });
}

frmReturnInvSet::~frmReturnInvSet() = default;

void frmReturnInvSet::Form_Load() {
  forms::setAppTitle("");
  // The picker works on the session its public class opened.
  if (!module::gContext) throw automation::ComError::objectNotSet();
  auto& session = *module::gContext;
  gradeLengths_ =
      components::createAs<components::PurchaseRefService>(components::kPurchaseRefServiceProgId)
          ->invClassGradeLengths(session);
  inventories_ = components::createAs<components::InventoryQueryService>(
      components::kInventoryQueryServiceProgId);
  inventories_->init(module::gContext);

  auto classes = std::make_shared<ado::Recordset>();
  classes->setCursorLocation(ado::adUseClient);
  classes->open(
      "select cInvCCode, cInvCName, iInvCGrade, bInvCEnd, cEcoCode from InventoryClass order by "
      "cInvCCode",
      session.connection());
  treeMenu.clear();
  auto& root = treeMenu.addNode(nullptr, std::string(module::kClassRootKey),
                                std::string(ris::kRootText), std::string(ris::kRootImage));
  module::BuildClassTree(*classes, treeMenu, root, *gradeLengths_, true);
  classes->close();

  auto utility = components::suiteUtility();
  const std::pair<const char*, const char*> images[] = {{"Ok", "tlbok"}, {"Quit", "tlbexit"}};
  for (const auto& [key, image] : images) {
    if (utility->toolbarImage(image) != 0) tlbInvClass.setButtonImage(key, image);
  }
  module::ApplyToolbarStyle(CTBCtrl1, tlbInvClass);

  // A person who opens the picker sees what he may choose from: everything, under the root.
  treeMenu.setSelectedItem(&root);
  ListClass(root, false);
  module::ApplyDialogStyle(*this);
}

void frmReturnInvSet::Form_Resize() {
  const bool toolbar = CTBCtrl1.Visible() || tlbInvClass.Visible();
  const int top = toolbar ? tlbInvClass.Height() : 0;
  const int width = Width();
  const int height = std::max(top + kStatusHeight + 600, Height());
  tlbInvClass.setWidth(width);
  CTBCtrl1.setWidth(width);
  border_ = ris::clampBorder(border_, width);
  const int middle = height - top - kStatusHeight;
  treeMenu.Move(0, top, border_, middle);
  Frame1.Move(border_, top, kBorderWidth, middle);
  ListView1.Move(border_ + kBorderWidth, top, std::max(0, width - border_ - kBorderWidth), middle);
  StatusBar1.Move(0, top + middle, width, kStatusHeight);
}

void frmReturnInvSet::moveBorder(int border) {
  border_ = ris::clampBorder(border, Width());
  Form_Resize();
}

void frmReturnInvSet::Form_QueryUnload(int& /*Cancel*/, int UnloadMode) {
  // Closing the window is quitting: the host finds no choice.
  if (UnloadMode == forms::vbFormControlMenu && !closing_) module::gReturnInvRecordset.reset();
}

void frmReturnInvSet::status(std::string text) {
  StatusBar1.setPanelText(1, std::move(text));
}

void frmReturnInvSet::fill(const std::string& condition, bool marked) {
  auto busy = this->busy();
  std::shared_ptr<ado::Recordset> rs;
  {
    // Drawn for a person, the list shows its first screen while the rest of the rows load.
    const ado::ProgressiveOpens firstScreen(module::ShownListFirstRows());
    rs = inventories_->inventories(condition +
                                   ris::listOrder(ris::listDescending(mnuOrder.Caption())));
  }
  ListView1.clearItems();
  // The rows in the recordset's order, kept past its close for the items still to be added (and,
  // of rows still loading, those read so far, growing as the list adds them).
  auto view = std::make_shared<ado::RecordsetView>(ado::RecordsetView::growing(*rs));
  std::vector<int> fields;
  for (const auto& column : ris::kListColumns) {
    const auto index = view->fieldIndex(column.field);
    // A field the inventories lack is the recordset's own error, as reading it would raise.
    if (!index && view->rowCount() > 0) rs->value(column.field);
    fields.push_back(index.value_or(-1));
  }
  rs->close();
  auto addRow = [this, view, fields = std::move(fields), marked](int row) {
    auto& item = ListView1.addItem(marked ? std::string(ris::kChosen) : std::string());
    int sub = 1;
    for (const int field : fields) {
      item.setSubItem(sub++, textOf(view->value(row, field)));
    }
  };
  const int firstItems = static_cast<int>(module::ShownListFirstRows());
  if (view->mayGrow()) {
    // The count of the rows read so far, the whole count once they are all read.
    forms::ListView::ArrivingRows arriving{
        [view] { return view->rowCount(); },
        [this, view](int maxRows, std::chrono::nanoseconds budget) {
          const bool more = view->grow(static_cast<std::size_t>(maxRows), budget);
          status(ris::totalText(view->rowCount()));
          return more;
        },
        [this, view] {
          view->growToEnd();
          status(ris::totalText(view->rowCount()));
        },
    };
    ListView1.fillItems(std::move(arriving), firstItems, std::move(addRow));
  } else {
    ListView1.fillItems(view->rowCount(), firstItems, std::move(addRow));
  }
  selectFirst();
  // The count of the rows read, whether or not their items are all added yet (of rows still
  // loading, the count grows with them).
  status(ris::totalText(view->rowCount()));
}

void frmReturnInvSet::ListClass(forms::Node& node, bool marked) {
  const std::string code = ris::classCodeOfKey(node.Key(), isRoot(node));
  fill(marked ? ris::checkCondition(code, module::gReturnInvWhere)
              : ris::listCondition(code, module::gReturnInvWhere),
       marked);
}

void frmReturnInvSet::nodeCheck(forms::Node& node) {
  const bool on = node.Checked();
  if (on && isRoot(node)) {
    const int answer =
        forms::MsgBox(std::string(ris::kChooseAll), forms::vbOKCancel + forms::vbQuestion,
                      std::string(forms::kPromptTitle));
    if (answer == forms::vbCancel) {
      node.setChecked(false);
      return;
    }
  }
  module::CheckSubtree(node, on);
  module::UpdateParents(node);
  treeMenu.setSelectedItem(&node);
  ListClass(node, on);
}

void frmReturnInvSet::itemClick(forms::ListItem& item) {
  item.setText(item.Text() == ris::kChosen ? std::string() : std::string(ris::kChosen));
  status(ris::rowText(item.Index()));
}

void frmReturnInvSet::markAll(bool on) {
  for (int i = 1; i <= ListView1.itemCount(); ++i) {
    ListView1.item(i).setText(on ? std::string(ris::kChosen) : std::string());
  }
}

void frmReturnInvSet::locate() {
  const auto typed = forms::currentUiHost().inputBox(
      {std::string(ris::kRowPrompt), std::string(ris::kRowTitle), ""});
  if (!typed) return;  // cancelled: nothing to locate
  std::optional<int> row = ris::rowToLocate(*typed, ListView1.itemCount());
  if (!row && !typed->empty()) {
    // Not a row of the list: an item code (the whole code, letters without regard to case), else,
    // for a text that is no number, a row whose code or name holds it, from the selected row on.
    // A number beyond the list that is no item code stays a wrong row number.
    row = forms::findRowWhere(ListView1, false, [&](int r) {
      return automation::equalsNoCase(ListView1.item(r).SubItems(1), *typed);
    });
    if (!row && !automation::parseNumericText(*typed))
      row = forms::findRow(ListView1, *typed, false);
  }
  if (!row) {
    prompt(std::string(ris::kBadRow), forms::vbExclamation);
    return;
  }
  ListView1.setSelectedItem(&ListView1.item(*row));
  status(ris::rowText(*row));
}

void frmReturnInvSet::order() {
  mnuOrder.setCaption(ris::swapOrder(mnuOrder.Caption()));
  const bool descending = ris::listDescending(mnuOrder.Caption());
  struct Row {
    std::string mark;
    std::vector<std::string> cells;
  };
  std::vector<Row> rows;
  rows.reserve(static_cast<std::size_t>(ListView1.itemCount()));
  const int columns = static_cast<int>(std::size(ris::kListColumns));
  for (int i = 1; i <= ListView1.itemCount(); ++i) {
    const auto& item = ListView1.item(i);
    Row row{item.Text(), {}};
    for (int c = 1; c <= columns; ++c) row.cells.push_back(item.SubItems(c));
    rows.push_back(std::move(row));
  }
  std::stable_sort(rows.begin(), rows.end(), [descending](const Row& a, const Row& b) {
    return descending ? b.cells[0] < a.cells[0] : a.cells[0] < b.cells[0];
  });
  ListView1.clearItems();
  for (auto& row : rows) {
    auto& item = ListView1.addItem(std::move(row.mark));
    for (int c = 1; c <= columns; ++c) item.setSubItem(c, std::move(row.cells[c - 1]));
  }
  selectFirst();
}

void frmReturnInvSet::selectFirst() {
  // As the platform's list does once it has items: the first is the current one, so a list that
  // takes the focus has moved to no row of its own.
  // A list still filling has its first items already: nothing more is added for this.
  if (ListView1.shownItemCount() > 0) ListView1.setSelectedItem(&ListView1.item(1));
}

std::vector<std::string> frmReturnInvSet::ChosenCodes() const {
  std::vector<std::string> codes;
  for (int i = 1; i <= ListView1.itemCount(); ++i) {
    const auto& item = ListView1.item(i);
    if (item.Text() == ris::kChosen) codes.push_back(item.SubItems(1));
  }
  return codes;
}

void frmReturnInvSet::confirm() {
  auto busy = this->busy();
  if (!module::gContext || !module::gContext->login()) throw automation::ComError::objectNotSet();
  auto& session = *module::gContext;
  const std::string name = ris::tempTableName(session.login()->secondIdentity());
  const std::vector<std::string> codes = ChosenCodes();
  auto connection = session.connection();
  connection->execute(ris::tempTableBatch(name, codes), nullptr, ado::adOptionUnspecified);
  if (codes.empty()) {
    module::gReturnInvRecordset.reset();
  } else {
    module::gReturnInvRecordset =
        inventories_->inventories(ris::chosenCondition(name, mnuOrder.Caption()));
  }
  closing_ = true;
  Unload();
}

void frmReturnInvSet::quit() {
  module::gReturnInvRecordset.reset();
  closing_ = true;
  Unload();
}

void frmReturnInvSet::TaskRun(const std::string& key) {
  if (key == "Quit") {
    quit();
  } else if (key == "Ok") {
    confirm();
  } else if (key == "Local") {
    locate();
  } else if (key == "Order") {
    order();
  } else if (key == "tlbSelAll") {
    const forms::ToolbarButton* button = tlbInvClass.findButton(key);
    markAll(button != nullptr && button->value == 1);
  }
}

}  // namespace quillon::dialogs
