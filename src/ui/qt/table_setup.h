// The look and behaviour every list control's table view shares: fixed row heights (so a view of
// 100 000 rows never measures them), no word wrap, no vertical header.
#pragma once

#include <QApplication>
#include <QHeaderView>
#include <QTableView>

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
