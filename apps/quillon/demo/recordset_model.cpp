#include "demo/recordset_model.h"

#include <QBrush>
#include <QColor>
#include <QStringList>
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

constexpr int kSampleRows = 40;

}  // namespace

RecordsetModel::RecordsetModel(std::shared_ptr<ado::Recordset> rows, std::string numberFormat,
                               QObject* parent)
    : QAbstractTableModel(parent), rows_(std::move(rows)) {
  if (!rows_ || !rows_->isOpen()) return;
  view_ = std::make_unique<ado::RecordsetView>(*rows_);
  // Each column is judged by its first rows, as the dialogs' lists judge theirs; a column of
  // fractional numbers reads with the account's decimals.
  const int sample = std::min(view_->rowCount(), kSampleRows);
  for (int c = 0; c < view_->fieldCount(); ++c) {
    QStringList values;
    bool fractional = false;
    bool numbers = true;
    for (int r = 0; r < sample; ++r) {
      const automation::Variant v = view_->value(r, c);
      if (v.isNull() || v.isEmpty()) continue;
      values.push_back(cellText(v));
      if (v.type() == automation::VarType::Double) {
        fractional = true;
      } else if (!v.isNumber() || v.type() == automation::VarType::Boolean) {
        numbers = false;
      }
    }
    const std::string format = numbers && fractional ? numberFormat : std::string();
    looks_.push_back(
        ui::qt::lookOfColumn(QString::fromStdString(view_->fieldName(c)), format, false, values));
  }
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
  const ui::qt::ColumnLook& look = looks_[static_cast<std::size_t>(index.column())];
  switch (role) {
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(ui::qt::alignmentOf(look));
    case Qt::ForegroundRole: {
      if (value.isNull()) return QBrush(QColor(Qt::gray));
      const QColor colour = ui::qt::foregroundOf(look, cellText(value));
      return colour.isValid() ? QVariant(QBrush(colour)) : QVariant();
    }
    case Qt::ToolTipRole:
      return cellText(value);
    default:
      return value.isNull() ? cellText(value) : ui::qt::displayText(look, cellText(value));
  }
}

QVariant RecordsetModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
  if (orientation == Qt::Vertical) return section + 1;
  if (section < 0 || section >= columnCount()) return {};
  return QString::fromStdString(view_->fieldName(section));
}

}  // namespace quillon::cli::demo
