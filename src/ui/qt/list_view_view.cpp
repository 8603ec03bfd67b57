// The list view (report view with check boxes) as a table view. Toggling a check box is the
// list's userCheck (ItemCheck follows); clicking a row is userClickItem, moving to it with the
// keys userSelectItem, and Space on it the list's own key (a check, or a click).
//
// A multi-select list lets a person select with Shift and Ctrl; every change of the view's
// selection is handed to the items (those that left it first), and whatever the items' selection
// becomes — by the person, by an ItemClick handler or by code — is shown once the event loop runs.
#include <QItemSelection>
#include <QTableView>
#include <QTimer>
#include <memory>
#include <vector>

#include "forms/list_view.h"
#include "ui/qt/cell_delegate.h"
#include "ui/qt/column_widths.h"
#include "ui/qt/grid_models.h"
#include "ui/qt/table_setup.h"
#include "ui/qt/views.h"

namespace quillon::ui::qt {

namespace {

class ListViewView final : public ControlView {
 public:
  ListViewView(forms::ListView& list, FormWindow& window) : ControlView(list, window), list_(list) {
    view_ = new QTableView(window.clientArea());
    setUpTable(*view_, 285);
    view_->setShowGrid(false);
    model_ = new ListViewModel(list, view_);
    view_->setModel(model_);
    redrawRowsOnCurrentChange(*view_);
    view_->setItemDelegate(new CellDelegate(view_));
    widths_ =
        std::make_unique<ColumnWidths>(*view_, *model_, window.formName(), list.qualifiedName());
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    model_->checked = [this](int index) {
      bool done = false;
      act([&] { done = list_.userCheck(index); });
      return done;
    };
    model_->refreshed = [this](bool, bool layout) {
      if (!attached()) return;
      SyncGuard guard(*this);
      // A value that no longer fits lays the columns out again, within what the window allows.
      if (layout || widths_->valuesOutgrewColumns()) applyLayout();
      applyCurrent();
      applySelection();
    };
    QObject::connect(view_, &QTableView::clicked, view_, [this](const QModelIndex& index) {
      if (syncing() || !attached()) return;
      // A Ctrl click that took the row out of a multi-selection is no click on an item.
      if (!view_->selectionModel()->isRowSelected(index.row(), {})) return;
      act([&] { list_.userClickItem(model_->controlRow(index.row())); });
    });
    QObject::connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, view_,
                     [this](const QModelIndex& current) {
                       if (syncing() || !attached() || mouseIsDown() || !current.isValid()) return;
                       act([&] { list_.userSelectItem(model_->controlRow(current.row())); });
                     });
    QObject::connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, view_,
                     [this] { takeSelection(); });
    // View column c is header c + 1.
    sortOnHeaderClicks(*view_, [this](int col) {
      if (!syncing() && attached()) act([&] { list_.userSortColumn(col + 1); });
    });
    setWidget(view_);
    drawStatusLine();
    window.track(view_->viewport(), *this);
  }

  void detach() override {
    widths_->flush();
    ControlView::detach();
    model_->detach();
  }
  // Space is the list's own key (it checks or clicks the selected item).
  bool passesKeyToWidget(int key, Qt::KeyboardModifiers) const override {
    return isNavigationKey(key);
  }
  int widthShortfall() const override { return widths_->shortfall(); }
  ControlTableModel* tableModel() const override { return model_; }
  void flushArrangement() override { widths_->flush(); }
  void doubleClicked() override {
    if (list_.DblClick) act([this] { list_.DblClick(); });
  }

  // A column header's as drawn: header k is the view's column k - 1.
  std::optional<automation::Variant> shownProperty(std::string_view property,
                                                   std::string_view key) const override {
    if (property != "ColumnVisible" && property != "ColumnWidth") {
      return ControlView::shownProperty(property, key);
    }
    const int col = list_.columnByText(key);
    if (col == 0) return std::nullopt;
    return shownColumn(*view_, col - 1, list_.column(col).width, property);
  }

 protected:
  void sync(std::string_view property) override {
    if (property == "RowsAdded") {
      model_->rowsAdded();
      return;
    }
    if (property.empty() || property == "ColumnHeaders") {
      model_->changed(true);
    } else if (property == "ListItems" || property == "Checkboxes" || property == "Order") {
      model_->changed(false);
    }
    if (property.empty() || property == "Order" || property == "ListItems" ||
        property == "ColumnHeaders") {
      showSortIndicator(*view_, list_.rowOrder(), 1);
    }
    if (property.empty() || property == "MultiSelect") {
      view_->setSelectionMode(list_.MultiSelect() ? QAbstractItemView::ExtendedSelection
                                                  : QAbstractItemView::SingleSelection);
    }
    if (taking_) return;
    if (property.empty() || property == "SelectedItem" || property == "MultiSelect") {
      applyCurrent();
      scheduleSelection();
    }
  }

 private:
  void applyLayout() {
    // A list without columns yet (not filled) shows no empty header.
    view_->horizontalHeader()->setVisible(list_.columnCount() > 0);
    widths_->apply(
        [this](int c) {
          ColumnRule rule;
          if (c >= list_.columnCount()) return rule;
          const forms::ColumnHeader& column = list_.column(c + 1);
          rule.twips = column.width;
          rule.set = column.widthSet;
          return rule;
        },
        window().widestFor(*view_));
    window().listLaidOut();
  }

  void applyCurrent() {
    const forms::ListItem* item = list_.SelectedItem();
    if (item == nullptr) return;
    const int row = model_->modelRow(item->Index());
    if (row < 0 || row >= model_->rowCount() || view_->currentIndex().row() == row) return;
    SyncGuard guard(*this);
    // In a multi-selection the current row only moves; which rows are selected is the items'.
    view_->selectionModel()->setCurrentIndex(
        model_->index(row, 0),
        list_.MultiSelect() ? QItemSelectionModel::NoUpdate
                            : QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }

  // Which rows of the model the view shows selected.
  std::vector<char> viewSelection() const {
    std::vector<char> rows(static_cast<std::size_t>(model_->rowCount()), 0);
    for (const QItemSelectionRange& range : view_->selectionModel()->selection()) {
      for (int r = std::max(range.top(), 0); r <= range.bottom() && r < model_->rowCount(); ++r) {
        rows[static_cast<std::size_t>(r)] = 1;
      }
    }
    return rows;
  }

  // The items' selection is shown when the event loop next runs, once for any number of changes
  // (and after the person's own action has finished changing the view's selection).
  void scheduleSelection() {
    if (selectionPending_) return;
    selectionPending_ = true;
    QTimer::singleShot(0, view_, [this] {
      selectionPending_ = false;
      if (attached()) applySelection();
    });
  }

  void applySelection() {
    if (!list_.MultiSelect()) return;
    const std::vector<char> shown = viewSelection();
    const int rows = std::min(model_->rowCount(), list_.shownItemCount());
    QItemSelection wanted;
    bool differs = false;
    const int lastCol = std::max(model_->columnCount() - 1, 0);
    for (int r = 0; r < rows; ++r) {
      const bool selected = list_.item(model_->controlRow(r)).Selected();
      if (selected != (shown[static_cast<std::size_t>(r)] != 0)) differs = true;
      if (!selected) continue;
      int end = r;
      while (end + 1 < rows && list_.item(model_->controlRow(end + 1)).Selected()) {
        ++end;
        if (shown[static_cast<std::size_t>(end)] == 0) differs = true;
      }
      wanted.select(model_->index(r, 0), model_->index(end, lastCol));
      r = end;
    }
    if (!differs) return;
    SyncGuard guard(*this);
    view_->selectionModel()->select(
        wanted, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }

  // The person changed the view's selection: items that left it are deselected first, then the
  // new ones selected, and the current row's item stays the list's SelectedItem.
  void takeSelection() {
    if (syncing() || !attached() || !list_.MultiSelect()) return;
    const std::vector<char> shown = viewSelection();
    const int rows = std::min(static_cast<int>(shown.size()), list_.shownItemCount());
    taking_ = true;
    window().invoke([&] {
      for (int r = 0; r < rows; ++r) {
        if (shown[static_cast<std::size_t>(r)] == 0) {
          list_.item(model_->controlRow(r)).setSelected(false);
        }
      }
      for (int r = 0; r < rows; ++r) {
        forms::ListItem& item = list_.item(model_->controlRow(r));
        if (shown[static_cast<std::size_t>(r)] != 0 && !item.Selected()) item.setSelected(true);
      }
      const int current = view_->currentIndex().row();
      if (current >= 0 && current < rows && shown[static_cast<std::size_t>(current)] != 0) {
        list_.setSelectedItem(&list_.item(model_->controlRow(current)));
      }
    });
    taking_ = false;
  }

  forms::ListView& list_;
  QTableView* view_;
  ListViewModel* model_;
  std::unique_ptr<ColumnWidths> widths_;
  bool taking_ = false;
  bool selectionPending_ = false;
};

}  // namespace

std::unique_ptr<ControlView> makeListViewView(forms::ListView& c, FormWindow& w) {
  return std::make_unique<ListViewView>(c, w);
}

}  // namespace quillon::ui::qt
