#include "ui/qt/grid_models.h"

#include <QBrush>
#include <QTimer>
#include <algorithm>

#include "forms/field_captions.h"
#include "forms/list_find.h"
#include "forms/list_view.h"
#include "forms/row_labels.h"
#include "forms/super_grid.h"
#include "forms/vouch_list.h"
#include "ui/qt/qt_text.h"

namespace quillon::ui::qt {

namespace {
constexpr int kEditWaitMs = 50;
}  // namespace

ControlTableModel::ControlTableModel(QObject* parent) : QAbstractTableModel(parent) {}

int ControlTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int ControlTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : cols_;
}

bool ControlTableModel::inSource(int row, int col) const {
  return attached_ && row >= 0 && col >= 0 && row < sourceRows() && col < sourceCols();
}

void ControlTableModel::changed(bool layout) {
  if (!attached_) return;
  layoutPending_ = layoutPending_ || layout;
  if (pending_) return;
  pending_ = true;
  QTimer::singleShot(0, this, [this] {
    if (pending_) refreshNow();
  });
}

void ControlTableModel::rowsAdded() {
  if (!attached_) return;
  const int rows = sourceRows();
  // A refresh gathered already, or more than rows added: the whole model is refreshed.
  if (pending_ || rows < rows_ || sourceCols() != cols_) {
    changed(false);
    return;
  }
  if (rows == rows_) return;
  beginInsertRows(QModelIndex(), rows_, rows - 1);
  rows_ = rows;
  endInsertRows();
}

void ControlTableModel::refreshNow() {
  pending_ = false;
  const bool layout = layoutPending_;
  layoutPending_ = false;
  if (!attached_) return;
  const int rows = sourceRows();
  const int cols = sourceCols();
  const bool reset = rows != rows_ || cols != cols_;
  if (!reset && editing && editing()) {
    pending_ = true;
    layoutPending_ = layout;
    QTimer::singleShot(kEditWaitMs, this, [this] {
      if (pending_) refreshNow();
    });
    return;
  }
  if (reset) {
    beginResetModel();
    rows_ = rows;
    cols_ = cols;
    judgeColumns();
    endResetModel();
  } else if (rows_ > 0 && cols_ > 0) {
    judgeColumns();
    Q_EMIT dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1));
  }
  if (cols_ > 0) Q_EMIT headerDataChanged(Qt::Horizontal, 0, cols_ - 1);
  if (refreshed) refreshed(reset, layout || reset);
}

void ControlTableModel::showFound(const forms::Control& list, std::string text) {
  if (text == found_ && (text.empty() || foundIn_ == &list)) return;
  found_ = std::move(text);
  foundIn_ = found_.empty() ? nullptr : &list;
  if (rows_ > 0 && cols_ > 0) {
    Q_EMIT dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1), {Qt::BackgroundRole});
  }
}

void ControlTableModel::detach() {
  if (!attached_) return;
  foundIn_ = nullptr;
  beginResetModel();
  attached_ = false;
  rows_ = 0;
  cols_ = 0;
  looks_.clear();
  endResetModel();
}

void ControlTableModel::judgeColumns() {
  looks_.assign(static_cast<std::size_t>(cols_), ColumnLook{});
  const int sample = std::min(rows_, sampleRows_);
  for (int c = 0; c < cols_; ++c) {
    QStringList values;
    values.reserve(sample);
    for (int r = 0; r < sample; ++r) values.push_back(textOf(r, c));
    looks_[static_cast<std::size_t>(c)] =
        lookOfColumn(drawnCaption(c), formatOf(c), isMarkColumn(c), values);
  }
}

const ColumnLook& ControlTableModel::look(int col) const {
  static const ColumnLook plain;
  if (col < 0 || col >= static_cast<int>(looks_.size())) return plain;
  return looks_[static_cast<std::size_t>(col)];
}

void ControlTableModel::setTwoLineCaption(int col, bool on) {
  if (col < 0) return;
  if (static_cast<std::size_t>(col) >= twoLine_.size()) {
    if (!on) return;
    twoLine_.resize(static_cast<std::size_t>(col) + 1, 0);
  }
  char& flag = twoLine_[static_cast<std::size_t>(col)];
  if ((flag != 0) == on) return;
  flag = on ? 1 : 0;
  Q_EMIT headerDataChanged(Qt::Horizontal, col, col);
}

QString ControlTableModel::drawnCaption(int col) const {
  return toQString(forms::shownCaption(captionOf(col).toStdString()));
}

bool ControlTableModel::internalKey(int col) const {
  return forms::isInternalKey(captionOf(col).toStdString());
}

QVariant ControlTableModel::shownCaption(int col, int role) const {
  const QString caption = drawnCaption(col);
  if (role == Qt::ToolTipRole) return caption.isEmpty() ? QVariant() : QVariant(caption);
  if (role != Qt::DisplayRole) return {};
  const bool twoLines = col >= 0 && static_cast<std::size_t>(col) < twoLine_.size() &&
                        twoLine_[static_cast<std::size_t>(col)] != 0;
  return twoLines ? twoLineCaption(caption) : caption;
}

bool ControlTableModel::rowMarked(int row) const {
  for (int c = 0; c < cols_; ++c) {
    if ((isMarkColumn(c) || look(c).kind == CellKind::Mark) &&
        !textOf(row, c).trimmed().isEmpty()) {
      return true;
    }
  }
  return false;
}

QVariant ControlTableModel::shownData(int row, int col, int role) const {
  switch (role) {
    case Qt::BackgroundRole:
      if (rowMarked(row)) return QBrush(kMarkedRowColour);
      if (foundIn_ != nullptr && forms::rowHolds(*foundIn_, controlRow(row), found_)) {
        return QBrush(kFoundRowColour);
      }
      return {};
    case Qt::DisplayRole:
      return displayText(look(col), textOf(row, col));
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(alignmentOf(look(col)));
    case Qt::ForegroundRole: {
      if (look(col).kind != CellKind::Number) return {};
      const QColor colour = foregroundOf(look(col), textOf(row, col));
      return colour.isValid() ? QVariant(QBrush(colour)) : QVariant();
    }
    default:
      return {};
  }
}

int ControlTableModel::labelColumn() const {
  const forms::RowLabels* labels = attached_ ? rowLabels() : nullptr;
  return labels != nullptr && labels->rowLabelsShown() ? 1 : -1;
}

int ControlTableModel::controlColumn(int modelCol) const {
  const int label = labelColumn();
  if (label < 0 || modelCol < label) return modelCol;
  return modelCol == label ? -1 : modelCol - 1;
}

int ControlTableModel::modelColumn(int controlCol) const {
  const int label = labelColumn();
  return label >= 0 && controlCol >= label ? controlCol + 1 : controlCol;
}

// --- MsSuperGrid ---------------------------------------------------------------------------

SuperGridModel::SuperGridModel(forms::MsSuperGrid& grid, QObject* parent)
    : ControlTableModel(parent), grid_(grid) {}

int SuperGridModel::sourceRows() const {
  return std::max(grid_.shownRows() - 1, 0);
}

const forms::RowLabels* SuperGridModel::rowLabels() const {
  return &grid_;
}

int SuperGridModel::sourceCols() const {
  return grid_.Cols() + (labelColumn() >= 0 ? 1 : 0);
}

QString SuperGridModel::captionOf(int col) const {
  if (!attached() || grid_.shownRows() < 1) return {};
  if (col >= 0 && col == labelColumn()) {
    // Captioned once the grid is: a grid not filled yet shows no header.
    const bool captioned = grid_.Cols() > 1 && !grid_.TextMatrix(1, 0).empty();
    return captioned ? toQString(grid_.rowLabelCaption()) : QString();
  }
  col = controlColumn(col);
  if (col < 0 || col >= grid_.Cols()) return {};
  return toQString(grid_.TextMatrix(col, 0));
}

QString SuperGridModel::textOf(int row, int col) const {
  if (!inSource(row, col)) return {};
  const int gridCol = controlColumn(col);
  if (gridCol < 0) return toQString(grid_.rowLabel(controlRow(row)));
  return toQString(grid_.TextMatrix(gridCol, controlRow(row)));
}

std::string SuperGridModel::formatOf(int col) const {
  if (!attached()) return {};
  col = controlColumn(col);
  if (col < 0 || col >= grid_.Cols()) return {};
  return grid_.ColFormat(col);
}

QVariant SuperGridModel::data(const QModelIndex& index, int role) const {
  if (!inSource(index.row(), index.column())) return {};
  if (role == Qt::EditRole) return textOf(index.row(), index.column());
  return shownData(index.row(), index.column(), role);
}

QVariant SuperGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical) {
    return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
  }
  return shownCaption(section, role);
}

Qt::ItemFlags SuperGridModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  const int col = controlColumn(index.column());
  if (inSource(index.row(), index.column()) && col > 0 && !grid_.ColLock(col)) {
    f |= Qt::ItemIsEditable;
  }
  return f;
}

bool SuperGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !inSource(index.row(), index.column()) || !edited) return false;
  const int col = controlColumn(index.column());
  if (col < 0) return false;
  return edited(controlRow(index.row()), col, value.toString());
}

// --- MarlinVouchList ------------------------------------------------------------------------

VouchListModel::VouchListModel(forms::MarlinVouchList& list, QObject* parent)
    : ControlTableModel(parent), list_(list) {}

int VouchListModel::sourceRows() const {
  return std::max(list_.shownRows() - 1, 0);
}

const forms::RowLabels* VouchListModel::rowLabels() const {
  return &list_;
}

int VouchListModel::sourceCols() const {
  return list_.Cols() + (labelColumn() >= 0 ? 1 : 0);
}

QString VouchListModel::captionOf(int col) const {
  if (!attached()) return {};
  if (col >= 0 && col == labelColumn()) {
    // Captioned once the list has columns: a list without them shows no header.
    return list_.Cols() > 1 ? toQString(list_.rowLabelCaption()) : QString();
  }
  col = controlColumn(col);
  if (col < 0 || col >= list_.Cols()) return {};
  return toQString(list_.TextMatrix(0, col));
}

QString VouchListModel::textOf(int row, int col) const {
  if (!inSource(row, col)) return {};
  const int listCol = controlColumn(col);
  if (listCol < 0) return toQString(list_.rowLabel(controlRow(row)));
  return toQString(list_.TextMatrix(controlRow(row), listCol));
}

std::string VouchListModel::formatOf(int col) const {
  if (!attached()) return {};
  col = controlColumn(col);
  if (col < 1 || col >= list_.Cols()) return {};
  return list_.columns()[static_cast<std::size_t>(col) - 1].format;
}

QVariant VouchListModel::data(const QModelIndex& index, int role) const {
  if (!inSource(index.row(), index.column())) return {};
  if (role == Qt::EditRole) return textOf(index.row(), index.column());
  return shownData(index.row(), index.column(), role);
}

QVariant VouchListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical) {
    return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
  }
  return shownCaption(section, role);
}

Qt::ItemFlags VouchListModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  const int col = controlColumn(index.column());
  if (inSource(index.row(), index.column()) && col > 0 &&
      list_.columns()[static_cast<std::size_t>(col) - 1].editable) {
    f |= Qt::ItemIsEditable;
  }
  return f;
}

bool VouchListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !inSource(index.row(), index.column()) || !edited) return false;
  const int col = controlColumn(index.column());
  if (col < 0) return false;
  return edited(controlRow(index.row()), col, value.toString());
}

// --- ListView -------------------------------------------------------------------------------

ListViewModel::ListViewModel(forms::ListView& list, QObject* parent)
    : ControlTableModel(parent), list_(list) {}

int ListViewModel::sourceRows() const {
  return list_.shownItemCount();
}

int ListViewModel::sourceCols() const {
  return std::max(list_.columnCount(), 1);
}

QString ListViewModel::captionOf(int col) const {
  if (!attached() || col < 0 || col >= list_.columnCount()) return {};
  return toQString(list_.column(col + 1).text);
}

QString ListViewModel::textOf(int row, int col) const {
  if (!inSource(row, col)) return {};
  const forms::ListItem& item = list_.item(controlRow(row));
  return toQString(col == 0 ? item.Text() : item.SubItems(col));
}

bool ListViewModel::rowMarked(int row) const {
  if (!inSource(row, 0)) return false;
  if (list_.Checkboxes() && list_.item(controlRow(row)).Checked()) return true;
  return ControlTableModel::rowMarked(row);
}

QVariant ListViewModel::data(const QModelIndex& index, int role) const {
  if (!inSource(index.row(), index.column())) return {};
  if (role == Qt::CheckStateRole) {
    if (index.column() != 0 || !list_.Checkboxes()) return {};
    return list_.item(controlRow(index.row())).Checked() ? Qt::Checked : Qt::Unchecked;
  }
  // A column the form aligned keeps its alignment; the others are aligned by what they hold.
  if (role == Qt::TextAlignmentRole && index.column() < list_.columnCount()) {
    const int a = list_.column(index.column() + 1).alignment;
    if (a == 1) return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (a == 2) return QVariant::fromValue(Qt::AlignHCenter | Qt::AlignVCenter);
  }
  return shownData(index.row(), index.column(), role);
}

QVariant ListViewModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  return shownCaption(section, role);
}

Qt::ItemFlags ListViewModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == 0 && attached() && list_.Checkboxes()) f |= Qt::ItemIsUserCheckable;
  return f;
}

bool ListViewModel::setData(const QModelIndex& index, const QVariant&, int role) {
  if (role != Qt::CheckStateRole || !inSource(index.row(), index.column()) || !checked) {
    return false;
  }
  return checked(controlRow(index.row()));
}

int SuperGridModel::controlRow(int modelRow) const {
  return attached() ? grid_.rowOrder().rowAt(modelRow + 1) : modelRow + 1;
}

int SuperGridModel::modelRow(int controlRow) const {
  return (attached() ? grid_.rowOrder().positionOf(controlRow) : controlRow) - 1;
}

int VouchListModel::controlRow(int modelRow) const {
  return attached() ? list_.rowOrder().rowAt(modelRow + 1) : modelRow + 1;
}

int VouchListModel::modelRow(int controlRow) const {
  return (attached() ? list_.rowOrder().positionOf(controlRow) : controlRow) - 1;
}

int ListViewModel::controlRow(int modelRow) const {
  return attached() ? list_.rowOrder().rowAt(modelRow + 1) : modelRow + 1;
}

int ListViewModel::modelRow(int controlRow) const {
  return (attached() ? list_.rowOrder().positionOf(controlRow) : controlRow) - 1;
}

}  // namespace quillon::ui::qt
