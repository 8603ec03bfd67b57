// The look and behaviour every list control's table view shares: fixed row heights (so a view of
// 100 000 rows never measures them), no word wrap, no vertical header.
#pragma once

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>

#include "forms/row_order.h"
#include "ui/qt/qt_text.h"

namespace quillon::ui::qt {

inline void setUpTable(QTableView& view, int rowHeightTwips) {
  view.setWordWrap(false);
  view.setCornerButtonEnabled(false);
  view.setContextMenuPolicy(Qt::NoContextMenu);
  view.verticalHeader()->hide();
  view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view.verticalHeader()->setMinimumSectionSize(1);
  view.verticalHeader()->setDefaultSectionSize(std::max(toPixels(rowHeightTwips), 16));
  view.horizontalHeader()->setHighlightSections(false);
  view.horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  view.horizontalHeader()->setMinimumSectionSize(1);
  view.setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  view.setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
}

// The current row is tinted across (cell_delegate.h): when it moves, the rows it left and reached
// are drawn again whole. Call once the view has its model.
inline void redrawRowsOnCurrentChange(QTableView& view) {
  QObject::connect(view.selectionModel(), &QItemSelectionModel::currentChanged, &view,
                   [&view](const QModelIndex& current, const QModelIndex& previous) {
                     for (const QModelIndex& at : {current, previous}) {
                       if (!at.isValid()) continue;
                       const int top = view.rowViewportPosition(at.row());
                       view.viewport()->update(
                           QRect(0, top, view.viewport()->width(), view.rowHeight(at.row())));
                     }
                   });
}

// A click on a column's header sorts the list by that column (the control decides, row_order.h);
// `sort` gets the view's column.
template <class Sort>
void sortOnHeaderClicks(QTableView& view, Sort sort) {
  QHeaderView* header = view.horizontalHeader();
  header->setSectionsClickable(true);
  header->setSortIndicatorShown(false);
  QObject::connect(header, &QHeaderView::sectionClicked, &view, [sort](int col) { sort(col); });
}

// The header's arrow shows the column the list is sorted by; the view's column is the control's
// column less `offset`.
inline void showSortIndicator(QTableView& view, const forms::RowOrder& order, int offset) {
  QHeaderView* header = view.horizontalHeader();
  if (!order.sorted()) {
    header->setSortIndicatorShown(false);
    return;
  }
  header->setSortIndicator(order.column() - offset,
                           order.descending() ? Qt::DescendingOrder : Qt::AscendingOrder);
  header->setSortIndicatorShown(true);
}

// Whether a key pressed on a list moves in it (the view acts on it after the form saw it).
inline bool isNavigationKey(int key) {
  switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
      return true;
    default:
      return false;
  }
}

// A click is under way: the current-cell change it makes is followed by the click itself, which
// is what the form hears about.
inline bool mouseIsDown() {
  return QApplication::mouseButtons() != Qt::NoButton;
}

}  // namespace quillon::ui::qt
