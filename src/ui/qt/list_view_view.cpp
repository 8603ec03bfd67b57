// The list view (report view with check boxes) as a table view. Toggling a check box is the
// list's userCheck (ItemCheck follows); clicking or moving to a row is userClickItem.
#include <QTableView>

#include "forms/list_view.h"
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
      if (layout) applyLayout();
      applyCurrent();
    };
    QObject::connect(view_, &QTableView::clicked, view_, [this](const QModelIndex& index) {
      if (syncing() || !attached()) return;
      act([&] { list_.userClickItem(index.row() + 1); });
    });
    QObject::connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, view_,
                     [this](const QModelIndex& current) {
                       if (syncing() || !attached() || mouseIsDown() || !current.isValid()) return;
                       act([&] { list_.userClickItem(current.row() + 1); });
                     });
    setWidget(view_);
    window.track(view_->viewport(), *this);
  }

  void detach() override {
    ControlView::detach();
    model_->detach();
  }
  bool passesKeyToWidget(int key, Qt::KeyboardModifiers) const override {
    return isNavigationKey(key) || key == Qt::Key_Space;
  }
  void doubleClicked() override {
    if (list_.DblClick) act([this] { list_.DblClick(); });
  }

 protected:
  void sync(std::string_view property) override {
    if (property.empty() || property == "ColumnHeaders") {
      model_->changed(true);
    } else if (property == "ListItems" || property == "Checkboxes") {
      model_->changed(false);
    }
    if (property.empty() || property == "SelectedItem") applyCurrent();
  }

 private:
  void applyLayout() {
    const int cols = std::min(list_.columnCount(), model_->columnCount());
    for (int c = 0; c < cols; ++c) {
      const int width = list_.column(c + 1).width;
      view_->setColumnHidden(c, width == 0);
      if (width > 0) view_->setColumnWidth(c, std::max(toPixels(width), 4));
    }
  }

  void applyCurrent() {
    const forms::ListItem* item = list_.SelectedItem();
    if (item == nullptr) return;
    const int row = item->Index() - 1;
    if (row < 0 || row >= model_->rowCount() || view_->currentIndex().row() == row) return;
    SyncGuard guard(*this);
    view_->selectionModel()->setCurrentIndex(
        model_->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }

  forms::ListView& list_;
  QTableView* view_;
  ListViewModel* model_;
};

}  // namespace

std::unique_ptr<ControlView> makeListViewView(forms::ListView& c, FormWindow& w) {
  return std::make_unique<ListViewView>(c, w);
}

}  // namespace quillon::ui::qt
