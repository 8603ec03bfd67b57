// The voucher list as a table view. A click on the mark column marks or unmarks the row (the
// list's RowMarkChanged follows); a click elsewhere selects it; cells of columns the form opened
// for editing are edited in place and go through the list's CellChange.
#include <QTableView>
#include <memory>

#include "forms/vouch_list.h"
#include "ui/qt/cell_delegate.h"
#include "ui/qt/column_widths.h"
#include "ui/qt/grid_models.h"
#include "ui/qt/table_setup.h"
#include "ui/qt/views.h"

namespace quillon::ui::qt {

namespace {

constexpr int kMarkColumnPixels = 28;
// The row labels' width before they are sized to what they hold.
constexpr int kLabelTwips = 1000;

class VouchListView final : public ControlView {
 public:
  VouchListView(forms::MarlinVouchList& list, FormWindow& window)
      : ControlView(list, window), list_(list) {
    view_ = new QTableView(window.clientArea());
    setUpTable(*view_, 285);
    model_ = new VouchListModel(list, view_);
    view_->setModel(model_);
    redrawRowsOnCurrentChange(*view_);
    widths_ =
        std::make_unique<ColumnWidths>(*view_, *model_, window.formName(), list.qualifiedName());
    // A width the person drags a column to goes to the list (its column set keeps it).
    widths_->keepWith([this](int col, int twips) {
      col = model_->controlColumn(col);  // the row labels' width is the view's own
      if (attached() && col > 0) act([&] { list_.userResizeColumn(col, twips); });
    });
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::AnyKeyPressed);
    model_->edited = [this](int row, int col, const QString& text) {
      bool accepted = false;
      act([&] { accepted = list_.userEditCell(row, col, toStd(text)); });
      return accepted;
    };
    auto* delegate = new CellDelegate(view_);
    // The row labels (head numbers) show their ends when cut.
    delegate->keepsEnd = [this](int col) { return col >= 0 && col == model_->labelColumn(); };
    view_->setItemDelegate(delegate);
    model_->editing = [delegate] { return delegate->editing(); };
    model_->refreshed = [this](bool, bool layout) {
      if (!attached()) return;
      SyncGuard guard(*this);
      // A value that no longer fits lays the columns out again, within what the window allows.
      if (layout || widths_->valuesOutgrewColumns()) applyLayout();
      applyCurrent();
    };
    QObject::connect(view_, &QTableView::clicked, view_, [this](const QModelIndex& index) {
      if (syncing() || !attached()) return;
      const int row = model_->controlRow(index.row());
      if (model_->controlColumn(index.column()) == 0) {
        act([&] { list_.userMark(row); });
      } else {
        act([&] { list_.userSelectRow(row); });
      }
    });
    QObject::connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, view_,
                     [this](const QModelIndex& current) {
                       if (syncing() || !attached() || mouseIsDown() || !current.isValid()) return;
                       act([&] { list_.userSelectRow(model_->controlRow(current.row())); });
                     });
    sortOnHeaderClicks(*view_, [this](int col) {
      col = model_->controlColumn(col);
      if (!syncing() && attached() && col > 0) act([&] { list_.userSortColumn(col); });
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
  bool passesKeyToWidget(int key, Qt::KeyboardModifiers mods) const override {
    if (isNavigationKey(key)) return true;
    const bool plain = !(mods & (Qt::ControlModifier | Qt::AltModifier));
    return plain && key > Qt::Key_Space && key <= Qt::Key_AsciiTilde;
  }
  int widthShortfall() const override {
    if (list_.Cols() <= 1 || (list_.shownRows() <= 1 && !list_.rowsSettled())) {
      return kUnfilledListShortfall;
    }
    return widths_->shortfall();
  }
  ControlTableModel* tableModel() const override { return model_; }
  void flushArrangement() override { widths_->flush(); }
  void doubleClicked() override {
    if (list_.DblClick) act([this] { list_.DblClick(); });
  }

  std::optional<automation::Variant> shownProperty(std::string_view property,
                                                   std::string_view key) const override {
    if (property != "ColumnVisible" && property != "ColumnWidth") {
      return ControlView::shownProperty(property, key);
    }
    for (int c = 1; c < list_.Cols(); ++c) {
      const auto& column = list_.columns()[static_cast<std::size_t>(c) - 1];
      if (column.caption == key) {
        return shownColumn(*view_, model_->modelColumn(c), column.width, property);
      }
    }
    if (key.empty() || key != list_.rowLabelCaption()) return std::nullopt;
    if (model_->labelColumn() < 0) {
      return property == "ColumnWidth" ? automation::Variant(0) : automation::Variant(false);
    }
    return shownColumn(*view_, model_->labelColumn(), 0, property);
  }

 protected:
  void sync(std::string_view property) override {
    if (property == "RowsAdded") {
      model_->rowsAdded();
      return;
    }
    if (property.empty() || property == "Columns" || property == "RowLabels") {
      model_->changed(true);
    } else if (property == "Cell" || property == "Order") {
      model_->changed(false);
    }
    if (property.empty() || property == "Order" || property == "Cell" || property == "Columns") {
      showSortIndicator(*view_, list_.rowOrder(), model_->labelColumn() >= 0 ? -1 : 0);
    }
    if (property.empty() || property == "Row") applyCurrent();
  }

 private:
  void applyLayout() {
    // A list without defined columns yet shows no empty header.
    view_->horizontalHeader()->setVisible(list_.Cols() > 1);
    // The column set gives every width; the mark column is the list's own.
    widths_->apply(
        [this](int c) {
          ColumnRule rule;
          c = model_->controlColumn(c);
          if (c < 0) {
            // The row labels are sized to what they hold and never cut: they tell rows apart.
            rule.twips = kLabelTwips;
            rule.whole = true;
            return rule;
          }
          rule.set = true;
          if (c == 0) {
            rule.twips = toTwips(kMarkColumnPixels);
          } else if (c < list_.Cols()) {
            rule.twips = list_.columns()[static_cast<std::size_t>(c) - 1].width;
          }
          return rule;
        },
        window().widestFor(*view_));
    window().listLaidOut();
  }

  void applyCurrent() {
    const int row = model_->modelRow(list_.Row());
    if (row < 0 || row >= model_->rowCount() || model_->columnCount() < 2) return;
    const QModelIndex index = model_->index(row, std::max(view_->currentIndex().column(), 1));
    if (view_->currentIndex().row() == row) return;
    SyncGuard guard(*this);
    view_->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }

  forms::MarlinVouchList& list_;
  QTableView* view_;
  VouchListModel* model_;
  std::unique_ptr<ColumnWidths> widths_;
};

}  // namespace

std::unique_ptr<ControlView> makeVouchListView(forms::MarlinVouchList& c, FormWindow& w) {
  return std::make_unique<VouchListView>(c, w);
}

}  // namespace quillon::ui::qt
