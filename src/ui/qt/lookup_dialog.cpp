// The reference lookup list: the rows of the query the caller ran, a filter box that keeps the
// rows containing its text in any column, and single or multiple choice. The answer names rows
// by their place in the caller's result, whatever the filter showed.
#include <QAbstractTableModel>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "forms/field_captions.h"
#include "forms/row_source.h"
#include "ui/qt/dialogs.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/table_setup.h"

namespace quillon::ui::qt {

namespace {

class RowSourceModel final : public QAbstractTableModel {
 public:
  RowSourceModel(const forms::RowSource* rows, QObject* parent)
      : QAbstractTableModel(parent), rows_(rows) {}
  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() || rows_ == nullptr ? 0 : rows_->rowCount();
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() || rows_ == nullptr ? 0 : rows_->fieldCount();
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return toQString(rows_->text(index.row(), index.column()));
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role != Qt::DisplayRole || rows_ == nullptr) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return toQString(forms::shownCaption(rows_->fieldName(section)));
  }

 private:
  const forms::RowSource* rows_;
};

}  // namespace

std::optional<std::vector<int>> showLookupList(const forms::LookupRequest& request,
                                               QWidget* parent) {
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("lookup"));
  dialog.setWindowTitle(request.title.empty() ? toQString(request.table)
                                              : toQString(request.title));
  dialog.resize(640, 420);
  auto* layout = new QVBoxLayout(&dialog);
  auto* filterRow = new QHBoxLayout;
  filterRow->addWidget(new QLabel(QStringLiteral("过滤"), &dialog));
  auto* filter = new QLineEdit(&dialog);
  filter->setObjectName(QStringLiteral("filter"));
  filter->setClearButtonEnabled(true);
  filterRow->addWidget(filter, 1);
  layout->addLayout(filterRow);

  auto* source = new RowSourceModel(request.rows, &dialog);
  auto* proxy = new QSortFilterProxyModel(&dialog);
  proxy->setSourceModel(source);
  proxy->setFilterKeyColumn(-1);
  proxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
  auto* table = new QTableView(&dialog);
  table->setObjectName(QStringLiteral("rows"));
  setUpTable(*table, 285);
  table->verticalHeader()->show();
  table->setModel(proxy);
  // The archive's row keys are still there for the answer; a person never needs to read them.
  for (int c = 0; c < source->columnCount(); ++c) {
    if (forms::isInternalKey(request.rows->fieldName(c))) table->setColumnHidden(c, true);
  }
  table->setSortingEnabled(true);
  table->sortByColumn(-1, Qt::AscendingOrder);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(request.multiSelect ? QAbstractItemView::ExtendedSelection
                                              : QAbstractItemView::SingleSelection);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  layout->addWidget(table, 1);
  auto* count = new QLabel(&dialog);
  layout->addWidget(count);
  auto showCount = [count, proxy, source] {
    count->setText(
        QStringLiteral("共 %1 条，显示 %2 条").arg(source->rowCount()).arg(proxy->rowCount()));
  };
  showCount();
  QObject::connect(filter, &QLineEdit::textChanged, &dialog, [proxy, showCount](const QString& t) {
    proxy->setFilterFixedString(t);
    showCount();
  });

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(answerCaption(forms::vbOK));
  buttons->button(QDialogButtonBox::Cancel)->setText(answerCaption(forms::vbCancel));
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(table, &QTableView::doubleClicked, &dialog, &QDialog::accept);
  if (proxy->rowCount() > 0) table->selectRow(0);

  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  std::vector<int> chosen;
  for (const QModelIndex& index : table->selectionModel()->selectedRows()) {
    chosen.push_back(proxy->mapToSource(index).row() + 1);
  }
  std::sort(chosen.begin(), chosen.end());
  if (!request.multiSelect && chosen.size() > 1) chosen.erase(chosen.begin() + 1, chosen.end());
  return chosen;
}

}  // namespace quillon::ui::qt
