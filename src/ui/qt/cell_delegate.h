// CellDelegate: the cell editor of the list views. It lets the control refuse an edit before the
// editor opens, hears when the editor closes, and knows whether one is open.
#pragma once

#include <QStyledItemDelegate>
#include <functional>

namespace quillon::ui::qt {

class CellDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  // Asked before an editor opens on (model row, column); false refuses the edit.
  std::function<bool(int row, int col)> begin;
  // After an editor closed, committed or not.
  std::function<void()> finished;

  bool editing() const { return open_ > 0; }

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    if (begin && !begin(index.row(), index.column())) return nullptr;
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (editor != nullptr) ++open_;
    return editor;
  }
  void destroyEditor(QWidget* editor, const QModelIndex& index) const override {
    QStyledItemDelegate::destroyEditor(editor, index);
    if (open_ > 0) --open_;
    if (finished) finished();
  }

 private:
  mutable int open_ = 0;
};

}  // namespace quillon::ui::qt
