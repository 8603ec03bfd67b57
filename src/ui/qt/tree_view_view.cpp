// The tree view. Nodes are redrawn from the tree when the event loop next runs after a change
// (a form adds nodes one by one); checks, clicks and expanding go to the tree's user members. A
// click on a node's check box is a check only, as on the platform: no NodeClick follows it.
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <unordered_map>

#include "forms/tree_view.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/table_setup.h"
#include "ui/qt/views.h"

namespace quillon::ui::qt {

namespace {

constexpr int kKeyRole = Qt::UserRole + 1;

class TreeViewView final : public ControlView {
 public:
  TreeViewView(forms::TreeView& tree, FormWindow& window) : ControlView(tree, window), tree_(tree) {
    widget_ = new QTreeWidget(window.clientArea());
    widget_->setHeaderHidden(true);
    widget_->setColumnCount(1);
    widget_->setContextMenuPolicy(Qt::NoContextMenu);
    widget_->setUniformRowHeights(true);
    QObject::connect(widget_, &QTreeWidget::itemChanged, widget_,
                     [this](QTreeWidgetItem* item, int) {
                       if (syncing() || !attached()) return;
                       const std::string key = keyOf(item);
                       const bool on = item->checkState(0) == Qt::Checked;
                       // The widget reports the same mouse release as a click right after.
                       justChecked_ = item;
                       QTimer::singleShot(0, widget_, [this] { justChecked_ = nullptr; });
                       act([&] { tree_.userCheckNode(key, on); });
                     });
    QObject::connect(widget_, &QTreeWidget::itemClicked, widget_,
                     [this](QTreeWidgetItem* item, int) {
                       if (syncing() || !attached()) return;
                       if (item == justChecked_) {
                         justChecked_ = nullptr;
                         return;
                       }
                       const std::string key = keyOf(item);
                       act([&] { tree_.userClickNode(key); });
                     });
    auto toggled = [this](QTreeWidgetItem* item) {
      if (syncing() || !attached()) return;
      const std::string key = keyOf(item);
      const forms::Node* node = tree_.findNode(key);
      if (node != nullptr && node->Expanded() != item->isExpanded()) {
        act([&] { tree_.userToggleExpanded(key); });
      }
    };
    // Moving to a node with the keys chooses it, as clicking it does.
    QObject::connect(widget_, &QTreeWidget::currentItemChanged, widget_,
                     [this](QTreeWidgetItem* current) {
                       if (syncing() || !attached() || current == nullptr || mouseIsDown()) return;
                       const std::string key = keyOf(current);
                       act([&] { tree_.userClickNode(key); });
                     });
    QObject::connect(widget_, &QTreeWidget::itemExpanded, widget_, toggled);
    QObject::connect(widget_, &QTreeWidget::itemCollapsed, widget_, toggled);
    setWidget(widget_);
    window.track(widget_->viewport(), *this);
  }

  bool passesKeyToWidget(int key, Qt::KeyboardModifiers) const override {
    return isNavigationKey(key) || key == Qt::Key_Space;
  }

  std::optional<automation::Variant> shownProperty(std::string_view property,
                                                   std::string_view key) const override {
    if (property == "Text") {
      const QTreeWidgetItem* current = widget_->currentItem();
      return automation::Variant(current != nullptr ? toStd(current->text(0)) : std::string());
    }
    if (property != "Checked") return ControlView::shownProperty(property, key);
    for (QTreeWidgetItemIterator it(widget_); *it != nullptr; ++it) {
      if (keyOf(*it) == key) return automation::Variant((*it)->checkState(0) == Qt::Checked);
    }
    return std::nullopt;
  }

  void rebuildNow() {
    pending_ = false;
    if (!attached()) return;
    SyncGuard guard(*this);
    widget_->clear();
    std::unordered_map<const forms::Node*, QTreeWidgetItem*> items;
    QTreeWidgetItem* current = nullptr;
    for (forms::Node* node : tree_.nodes()) {
      QTreeWidgetItem* parent = nullptr;
      if (node->Parent() != nullptr) {
        const auto it = items.find(node->Parent());
        if (it != items.end()) parent = it->second;
      }
      auto* item = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(widget_);
      item->setText(0, toQString(node->Text()));
      item->setData(0, kKeyRole, toQString(node->Key()));
      if (tree_.Checkboxes()) item->setCheckState(0, node->Checked() ? Qt::Checked : Qt::Unchecked);
      items[node] = item;
      if (node == tree_.SelectedItem()) current = item;
    }
    // Expanded states after every child exists: Qt expands only items that have children.
    for (const auto& [node, item] : items) item->setExpanded(node->Expanded());
    if (current != nullptr) widget_->setCurrentItem(current);
  }

 protected:
  void sync(std::string_view property) override {
    // Always later: the change may come from a person's check or click on an item, which Qt is
    // still handling and must not lose under it.
    if (!property.empty() && property != "Nodes" && property != "Checkboxes" &&
        property != "SelectedItem") {
      return;
    }
    if (pending_) return;
    pending_ = true;
    QTimer::singleShot(0, widget_, [this] {
      if (pending_) rebuildNow();
    });
  }

 private:
  static std::string keyOf(const QTreeWidgetItem* item) {
    return toStd(item->data(0, kKeyRole).toString());
  }

  forms::TreeView& tree_;
  QTreeWidget* widget_;
  QTreeWidgetItem* justChecked_ = nullptr;
  bool pending_ = false;
};

}  // namespace

std::unique_ptr<ControlView> makeTreeViewView(forms::TreeView& c, FormWindow& w) {
  return std::make_unique<TreeViewView>(c, w);
}

}  // namespace quillon::ui::qt
