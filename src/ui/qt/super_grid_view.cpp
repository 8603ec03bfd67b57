// The spread grid as a table view over the grid's cells. Editing a cell runs the grid's own edit
// path: BeforeEdit may refuse, the committed text goes through CellChange (which may change it or
// cancel it), and Esc abandons the edit without an event.
#include <QTableView>
#include <algorithm>
#include <functional>
#include <memory>

#include "forms/super_grid.h"
#include "ui/qt/cell_delegate.h"
#include "ui/qt/column_widths.h"
#include "ui/qt/grid_models.h"
#include "ui/qt/table_setup.h"
#include "ui/qt/views.h"

namespace quillon::ui::qt {

namespace {

class SuperGridView final : public ControlView {
 public:
  SuperGridView(forms::MsSuperGrid& grid, FormWindow& window)
      : ControlView(grid, window), grid_(grid) {
    view_ = new QTableView(window.clientArea());
    setUpTable(*view_, forms::MsSuperGrid::kDefaultRowHeight);
    model_ = new SuperGridModel(grid, view_);
    view_->setModel(model_);
    redrawRowsOnCurrentChange(*view_);
    widths_ =
        std::make_unique<ColumnWidths>(*view_, *model_, window.formName(), grid.qualifiedName());
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::AnyKeyPressed);
    auto* delegate = new CellDelegate(view_);
    delegate->begin = [this](int row, int col) {
      // A click may have started the edit already (a click into an editable line cell does).
      const auto& pending = grid_.pendingEdit();
      const int gridRow = model_->controlRow(row);
      col = model_->controlColumn(col);
      if (col < 0) return false;  // the row labels are the view's, never edited
      if (pending && pending->row == gridRow && pending->col == col) return attached();
      bool began = false;
      this->window().invoke([&] { began = grid_.userBeginEdit(gridRow, col); });
      return began && attached();
    };
    delegate->finished = [this] {
      // Closed without a commit (Esc, or the editor lost to another window).
      if (attached() && grid_.pendingEdit()) {
        this->window().invoke([this] { grid_.userCancelEdit(); });
      }
    };
    delegate->hasButton = [this](int col) {
      col = model_->controlColumn(col);
      return attached() && col >= 0 && col < grid_.Cols() && grid_.ColButton(col);
    };
    // The row labels (head numbers) show their ends when cut.
    delegate->keepsEnd = [this](int col) { return col >= 0 && col == model_->labelColumn(); };
    view_->setItemDelegate(delegate);
    model_->edited = [this](int row, int col, const QString& text) {
      const auto& pending = grid_.pendingEdit();
      if (!pending || pending->row != row || pending->col != col) return false;
      return act([&] {
        grid_.userEditText(toStd(text));
        grid_.FinishEdit();
      });
    };
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
      // A click on a row label is a click on the row's mark: the label is no cell of the grid.
      const int col = std::max(model_->controlColumn(index.column()), 0);
      if (!act([&] { grid_.userClickCell(row, col); })) return;
      // The form started an edit of the clicked cell: open the editor on it.
      if (attached() && grid_.pendingEdit() && grid_.pendingEdit()->row == row &&
          grid_.pendingEdit()->col == col) {
        view_->edit(model_->index(index.row(), model_->modelColumn(col)));
        return;
      }
      if (attached() && col < grid_.Cols() && grid_.ColButton(col)) {
        act([&] { grid_.userCellButton(row, col); });
      }
    });
    QObject::connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, view_,
                     [this](const QModelIndex& current) {
                       if (syncing() || !attached() || mouseIsDown() || !current.isValid()) return;
                       // The row labels are no cells of the grid: the grid's current cell stays.
                       const int col = model_->controlColumn(current.column());
                       if (col < 0) return;
                       act([&] { grid_.userSelectCell(model_->controlRow(current.row()), col); });
                     });
    sortOnHeaderClicks(*view_, [this](int col) {
      col = model_->controlColumn(col);
      if (!syncing() && attached() && col >= 0) act([&] { grid_.userSortColumn(col); });
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
  // Space marks the row (the grid's own key); other characters start an edit of the cell.
  bool passesKeyToWidget(int key, Qt::KeyboardModifiers mods) const override {
    if (isNavigationKey(key)) return true;
    const bool plain = !(mods & (Qt::ControlModifier | Qt::AltModifier));
    return plain && key > Qt::Key_Space && key <= Qt::Key_AsciiTilde;
  }
  int widthShortfall() const override {
    if (grid_.Cols() <= 1 || grid_.shownRows() <= 1) return kUnfilledListShortfall;
    return widths_->shortfall();
  }
  ControlTableModel* tableModel() const override { return model_; }
  void flushArrangement() override { widths_->flush(); }
  void doubleClicked() override {
    if (grid_.DblClick) act([this] { grid_.DblClick(); });
  }

  QTableView* table() const { return view_; }

  std::optional<automation::Variant> shownProperty(std::string_view property,
                                                   std::string_view key) const override {
    if (property != "ColumnVisible" && property != "ColumnWidth") {
      return ControlView::shownProperty(property, key);
    }
    const int col = grid_.colByCaption(key);
    if (col < 0) {
      if (key.empty() || key != grid_.rowLabelCaption()) return std::nullopt;
      if (model_->labelColumn() < 0) {
        return property == "ColumnWidth" ? automation::Variant(0) : automation::Variant(false);
      }
      return shownColumn(*view_, model_->labelColumn(), 0, property);
    }
    return shownColumn(*view_, model_->modelColumn(col), grid_.ColWidth(col), property);
  }

 protected:
  void sync(std::string_view property) override {
    if (property == "RowsAdded") {
      model_->rowsAdded();
      return;
    }
    if (property.empty() || property == "RowHeight" || property == "ColWidth") {
      model_->changed(true);
    } else if (property == "Rows" || property == "Cols" || property == "Cell" ||
               property == "Redraw" || property == "Edit" || property == "ColLock" ||
               property == "ColButton") {
      model_->changed(false);
    } else if (property == "RowLabels") {
      // The row labels' column comes or goes: the columns are laid out again.
      model_->changed(true);
    } else if (property == "Order") {
      // Rows shown elsewhere may be hidden ones: the layout follows them.
      model_->changed(true);
    }
    if (property.empty() || property == "Order" || property == "Rows") {
      showSortIndicator(*view_, grid_.rowOrder(),
                        grid_.rowOrder().column() >= 1 && model_->labelColumn() >= 0 ? -1 : 0);
    }
    if (property.empty() || property == "Row" || property == "Col") applyCurrent();
    if (property.empty() || property == "BackColor") {
      const std::uint32_t rgb = grid_.BackColor();
      QPalette palette = view_->palette();
      // The platform's colours are 0x00BBGGRR.
      palette.setColor(QPalette::Base, QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF));
      view_->setPalette(palette);
    }
  }

 private:
  void applyLayout() {
    // A grid not filled yet has no captions: it shows no empty header.
    bool captioned = false;
    for (int c = 0; c < model_->columnCount() && !captioned; ++c) {
      captioned = !model_->captionOf(c).isEmpty();
    }
    view_->horizontalHeader()->setVisible(captioned);
    const int rows = std::min(grid_.shownRows() - 1, model_->rowCount());
    for (int r = 0; r < rows; ++r) {
      const bool hide = grid_.RowHeight(model_->controlRow(r)) == 0;
      if (view_->isRowHidden(r) != hide) view_->setRowHidden(r, hide);
    }
    widths_->apply(
        [this](int c) {
          ColumnRule rule;
          c = model_->controlColumn(c);
          // The row labels are sized to what they hold and never cut: they tell the rows apart.
          if (c < 0) {
            rule.twips = forms::MsSuperGrid::kDefaultColWidth;
            rule.whole = true;
          }
          if (c < 0 || c >= grid_.Cols()) return rule;
          rule.twips = grid_.ColWidth(c);
          rule.set = grid_.ColWidthSet(c);
          rule.button = grid_.ColButton(c);
          return rule;
        },
        window().widestFor(*view_));
    window().listLaidOut();
  }

  void applyCurrent() {
    const int row = model_->modelRow(grid_.Row());
    const int col = model_->modelColumn(grid_.Col());
    if (row < 0 || row >= model_->rowCount() || col < 0 || col >= model_->columnCount()) return;
    const QModelIndex index = model_->index(row, col);
    if (view_->currentIndex() == index) return;
    SyncGuard guard(*this);
    view_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  }

  forms::MsSuperGrid& grid_;
  QTableView* view_;
  SuperGridModel* model_;
  std::unique_ptr<ColumnWidths> widths_;
};

}  // namespace

std::unique_ptr<ControlView> makeSuperGridView(forms::MsSuperGrid& c, FormWindow& w) {
  return std::make_unique<SuperGridView>(c, w);
}

}  // namespace quillon::ui::qt
