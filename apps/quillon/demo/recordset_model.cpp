#include "demo/recordset_model.h"

#include <QBrush>
#include <QColor>
#include <algorithm>

#include "ado/recordset.h"
#include "ado/recordset_core.h"
#include "automation/dispatch.h"
#include "automation/variant.h"

namespace quillon::cli::demo {

namespace {

QString cellText(const automation::Variant& v) {
  if (v.isNull()) return QStringLiteral("NULL");
  if (v.isObject()) {
    return v.isNothing() ? QStringLiteral("Nothing")
                         : QString::fromStdString("<" + v.asObject()->className() + ">");
  }
  return QString::fromStdString(v.displayText());
}

bool isNumber(const automation::Variant& v) {
  return v.isNumber() && v.type() != automation::VarType::Boolean;
}

}  // namespace

RecordsetModel::RecordsetModel(std::shared_ptr<ado::Recordset> rows, QObject* parent)
    : QAbstractTableModel(parent), rows_(std::move(rows)) {
  if (rows_ && rows_->isOpen()) {
    rowCount_ = std::max(rows_->recordCount(), 0);
    columnCount_ = static_cast<int>(rows_->core()->fieldCount());
  }
}

RecordsetModel::~RecordsetModel() = default;

int RecordsetModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rowCount_;
}

int RecordsetModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : columnCount_;
}

QVariant RecordsetModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount_ || index.column() >= columnCount_) return {};
  if (role != Qt::DisplayRole && role != Qt::TextAlignmentRole && role != Qt::ForegroundRole &&
      role != Qt::ToolTipRole) {
    return {};
  }
  automation::Variant value;
  try {
    rows_->setAbsolutePosition(index.row() + 1);
    value = rows_->value(static_cast<std::size_t>(index.column()));
  } catch (const std::exception& e) {
    // A cell that cannot be read says why instead of taking the window down.
    return role == Qt::DisplayRole ? QVariant(QString::fromStdString(e.what())) : QVariant();
  }
  switch (role) {
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::AlignVCenter |
                                 (isNumber(value) ? Qt::AlignRight : Qt::AlignLeft));
    case Qt::ForegroundRole:
      return value.isNull() ? QVariant(QBrush(QColor(Qt::gray))) : QVariant();
    default:
      return cellText(value);
  }
}

QVariant RecordsetModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
  if (orientation == Qt::Vertical) return section + 1;
  if (section < 0 || section >= columnCount_) return {};
  return QString::fromStdString(rows_->core()->fieldDef(static_cast<std::size_t>(section)).name);
}

}  // namespace quillon::cli::demo
