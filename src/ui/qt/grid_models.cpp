#include "ui/qt/grid_models.h"

#include <QTimer>
#include <algorithm>

#include "forms/list_view.h"
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
    endResetModel();
  } else if (rows_ > 0 && cols_ > 0) {
    Q_EMIT dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1));
  }
  if (cols_ > 0) Q_EMIT headerDataChanged(Qt::Horizontal, 0, cols_ - 1);
  if (refreshed) refreshed(reset, layout || reset);
}

void ControlTableModel::detach() {
  if (!attached_) return;
  beginResetModel();
  attached_ = false;
  rows_ = 0;
  cols_ = 0;
  endResetModel();
}

// --- MsSuperGrid ---------------------------------------------------------------------------

SuperGridModel::SuperGridModel(forms::MsSuperGrid& grid, QObject* parent)
    : ControlTableModel(parent), grid_(grid) {}

int SuperGridModel::sourceRows() const {
  return std::max(grid_.Rows() - 1, 0);
}

int SuperGridModel::sourceCols() const {
  return grid_.Cols();
}

QVariant SuperGridModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  if (!inSource(index.row(), index.column())) return {};
  return toQString(grid_.TextMatrix(index.column(), index.row() + 1));
}

QVariant SuperGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  if (!attached() || grid_.Rows() < 1 || section < 0 || section >= grid_.Cols()) return {};
  return toQString(grid_.TextMatrix(section, 0));
}

Qt::ItemFlags SuperGridModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (inSource(index.row(), index.column()) && index.column() > 0 &&
      !grid_.ColLock(index.column())) {
    f |= Qt::ItemIsEditable;
  }
  return f;
}

bool SuperGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !inSource(index.row(), index.column()) || !edited) return false;
  return edited(index.row() + 1, index.column(), value.toString());
}

// --- MarlinVouchList ------------------------------------------------------------------------

VouchListModel::VouchListModel(forms::MarlinVouchList& list, QObject* parent)
    : ControlTableModel(parent), list_(list) {}

int VouchListModel::sourceRows() const {
  return std::max(list_.Rows() - 1, 0);
}

int VouchListModel::sourceCols() const {
  return list_.Cols();
}

QVariant VouchListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  if (!inSource(index.row(), index.column())) return {};
  return toQString(list_.TextMatrix(index.row() + 1, index.column()));
}

QVariant VouchListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  if (!attached() || section < 0 || section >= list_.Cols()) return {};
  return toQString(list_.TextMatrix(0, section));
}

Qt::ItemFlags VouchListModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  const int col = index.column();
  if (inSource(index.row(), col) && col > 0 &&
      list_.columns()[static_cast<std::size_t>(col) - 1].editable) {
    f |= Qt::ItemIsEditable;
  }
  return f;
}

bool VouchListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !inSource(index.row(), index.column()) || !edited) return false;
  return edited(index.row() + 1, index.column(), value.toString());
}

// --- ListView -------------------------------------------------------------------------------

ListViewModel::ListViewModel(forms::ListView& list, QObject* parent)
    : ControlTableModel(parent), list_(list) {}

int ListViewModel::sourceRows() const {
  return list_.itemCount();
}

int ListViewModel::sourceCols() const {
  return std::max(list_.columnCount(), 1);
}

QVariant ListViewModel::data(const QModelIndex& index, int role) const {
  if (!inSource(index.row(), index.column())) return {};
  const forms::ListItem& item = list_.item(index.row() + 1);
  if (role == Qt::CheckStateRole) {
    if (index.column() != 0 || !list_.Checkboxes()) return {};
    return item.Checked() ? Qt::Checked : Qt::Unchecked;
  }
  if (role == Qt::TextAlignmentRole && index.column() < list_.columnCount()) {
    const int a = list_.column(index.column() + 1).alignment;
    return QVariant::fromValue((a == 1   ? Qt::AlignRight
                                : a == 2 ? Qt::AlignHCenter
                                         : Qt::AlignLeft) |
                               Qt::AlignVCenter);
  }
  if (role != Qt::DisplayRole) return {};
  return toQString(index.column() == 0 ? item.Text() : item.SubItems(index.column()));
}

QVariant ListViewModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || !attached()) return {};
  if (section < 0 || section >= list_.columnCount()) return {};
  return toQString(list_.column(section + 1).text);
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
  return checked(index.row() + 1);
}

}  // namespace quillon::ui::qt
