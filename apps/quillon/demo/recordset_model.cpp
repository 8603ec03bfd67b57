#include "demo/recordset_model.h"

#include <QBrush>
#include <QColor>
#include <algorithm>

#include "ado/recordset.h"
#include "ado/recordset_view.h"
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
  if (rows_ && rows_->isOpen()) view_ = std::make_unique<ado::RecordsetView>(*rows_);
}

RecordsetModel::~RecordsetModel() = default;

int RecordsetModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !view_ ? 0 : view_->rowCount();
}

int RecordsetModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() || !view_ ? 0 : view_->fieldCount();
}

QVariant RecordsetModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
  if (role != Qt::DisplayRole && role != Qt::TextAlignmentRole && role != Qt::ForegroundRole &&
      role != Qt::ToolTipRole) {
    return {};
  }
  const automation::Variant value = view_->value(index.row(), index.column());
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
  if (section < 0 || section >= columnCount()) return {};
  return QString::fromStdString(view_->fieldName(section));
}

}  // namespace quillon::cli::demo
