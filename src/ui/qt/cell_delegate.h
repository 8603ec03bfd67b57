// CellDelegate: the cell editor of the list views. It lets the control refuse an edit before the
// editor opens, hears when the editor closes, and knows whether one is open. Cells of a column
// that shows a button (a grid's warehouse, batch or receipt cells) are drawn with a small "…"
// button at their right edge, and the current cell of a list that has the focus with a frame, so
// a person working by the keys sees where he is. A column of numbers that tell rows apart is cut
// at its start, so their ends show. The current row is tinted across (over a marked
// row's own colour, which the model gives), so the current and the marked rows read apart.
#pragma once

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QPen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyledItemDelegate>
#include <algorithm>
#include <functional>

namespace quillon::ui::qt {

class CellDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  // Asked before an editor opens on (model row, column); false refuses the edit.
  std::function<bool(int row, int col)> begin;
  // After an editor closed, committed or not.
  std::function<void()> finished;
  // Whether the cells of a model column show a button.
  std::function<bool(int col)> hasButton;
  // Whether a model column's texts, when cut, keep their end rather than their start: numbers
  // that tell rows apart (FH26110001, FH26110002) differ there.
  std::function<bool(int col)> keepsEnd;

  bool editing() const { return open_ > 0; }

  // The tint of the current row, mixed into whatever background the cell has.
  static QColor currentRowColour(const QColor& under, const QColor& highlight) {
    constexpr double kShare = 0.22;
    return QColor::fromRgbF(
        static_cast<float>(under.redF() * (1 - kShare) + highlight.redF() * kShare),
        static_cast<float>(under.greenF() * (1 - kShare) + highlight.greenF() * kShare),
        static_cast<float>(under.blueF() * (1 - kShare) + highlight.blueF() * kShare));
  }

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    if (begin && !begin(index.row(), index.column())) return nullptr;
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (editor != nullptr) ++open_;
    return editor;
  }
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyledItemDelegate::paint(painter, option, index);
    if (option.state & QStyle::State_HasFocus) {
      painter->save();
      QPen pen(option.palette.color(QPalette::Active, QPalette::Highlight).darker(150));
      pen.setWidth(2);
      painter->setPen(pen);
      painter->setBrush(Qt::NoBrush);
      painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
      painter->restore();
    }
    if (!hasButton || !hasButton(index.column())) return;
    QStyleOptionButton button;
    const int side = std::min(option.rect.height(), 20);
    button.rect =
        QRect(option.rect.right() - side + 1, option.rect.top(), side, option.rect.height());
    button.text = QStringLiteral("…");
    button.state = QStyle::State_Raised | (option.state & QStyle::State_Enabled);
    const QWidget* widget = option.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_PushButton, &button, painter, widget);
  }
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    if (keepsEnd && keepsEnd(index.column())) option->textElideMode = Qt::ElideLeft;
    const auto* view = qobject_cast<const QAbstractItemView*>(option->widget);
    if (view == nullptr || !view->currentIndex().isValid() ||
        view->currentIndex().row() != index.row()) {
      return;
    }
    const QColor under = option->backgroundBrush.style() != Qt::NoBrush
                             ? option->backgroundBrush.color()
                             : option->palette.color(QPalette::Base);
    option->backgroundBrush = QBrush(
        currentRowColour(under, option->palette.color(QPalette::Active, QPalette::Highlight)));
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
