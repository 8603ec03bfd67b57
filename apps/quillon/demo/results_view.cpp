#include "demo/results_view.h"

#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ado/recordset.h"
#include "demo/recordset_model.h"

namespace quillon::cli::demo {

namespace {

QString text(const std::string& s) {
  return QString::fromStdString(s);
}

QTableWidgetItem* readOnlyItem(const QString& s) {
  auto* item = new QTableWidgetItem(s);
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  item->setToolTip(s);
  return item;
}

}  // namespace

ResultsView::ResultsView(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  status_ = new QLabel(QStringLiteral("尚未运行"), this);
  status_->setObjectName(QStringLiteral("runStatus"));
  status_->setWordWrap(true);
  layout->addWidget(status_);

  auto* splitter = new QSplitter(this);
  callList_ = new QListWidget(splitter);
  callList_->setObjectName(QStringLiteral("calls"));
  auto* detail = new QWidget(splitter);
  auto* detailLayout = new QVBoxLayout(detail);
  detailLayout->setContentsMargins(0, 0, 0, 0);
  lineLabel_ = new QLabel(detail);
  lineLabel_->setWordWrap(true);
  lineLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QFont bold = lineLabel_->font();
  bold.setBold(true);
  lineLabel_->setFont(bold);
  errorLabel_ = new QLabel(detail);
  errorLabel_->setObjectName(QStringLiteral("callError"));
  errorLabel_->setWordWrap(true);
  errorLabel_->setStyleSheet(QStringLiteral("color: #b00000"));
  errorLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  errorLabel_->hide();
  values_ = new QTableWidget(0, 3, detail);
  values_->setObjectName(QStringLiteral("values"));
  values_->setHorizontalHeaderLabels(
      {QStringLiteral("变量"), QStringLiteral("参数"), QStringLiteral("调用后的值")});
  values_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  values_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  values_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
  values_->verticalHeader()->hide();
  values_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  values_->setMaximumHeight(170);
  tables_ = new QTabWidget(detail);
  tables_->setObjectName(QStringLiteral("tables"));
  detailLayout->addWidget(lineLabel_);
  detailLayout->addWidget(errorLabel_);
  detailLayout->addWidget(values_);
  detailLayout->addWidget(tables_, 1);
  splitter->addWidget(callList_);
  splitter->addWidget(detail);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({260, 740});
  layout->addWidget(splitter, 1);

  QObject::connect(callList_, &QListWidget::currentRowChanged, this,
                   [this](int row) { showCall(row); });
}

void ResultsView::showRun(const DemoRunResult& run) {
  calls_ = run.calls;
  status_->setText(run.ok ? QStringLiteral("脚本运行完毕，共 %1 次调用").arg(calls_.size())
                          : QStringLiteral("脚本未能运行完毕：%1").arg(text(run.message)));
  status_->setStyleSheet(run.ok ? QString() : QStringLiteral("color: #b00000"));
  const QSignalBlocker quiet(callList_);
  callList_->clear();
  int first = static_cast<int>(calls_.size()) - 1;
  for (std::size_t i = 0; i < calls_.size(); ++i) {
    const ReceivedCall& call = calls_[i];
    auto* item = new QListWidgetItem(QStringLiteral("%1: %2").arg(call.line).arg(text(call.text)));
    item->setToolTip(item->text());
    if (call.error) item->setForeground(QColor(0xb0, 0, 0));
    callList_->addItem(item);
    if (!call.tables.empty()) first = static_cast<int>(i);
  }
  callList_->setCurrentRow(first);
  showCall(first);
}

void ResultsView::clearTables() {
  while (tables_->count() > 0) {
    QWidget* page = tables_->widget(0);
    tables_->removeTab(0);
    delete page;
  }
}

void ResultsView::showCall(int index) {
  clearTables();
  values_->setRowCount(0);
  errorLabel_->hide();
  if (index < 0 || index >= static_cast<int>(calls_.size())) {
    lineLabel_->clear();
    return;
  }
  const ReceivedCall& call = calls_[static_cast<std::size_t>(index)];
  lineLabel_->setText(QStringLiteral("第 %1 行：%2").arg(call.line).arg(text(call.text)));
  if (call.error) {
    errorLabel_->setText(QStringLiteral("调用出错：%1").arg(text(*call.error)));
    errorLabel_->show();
  }
  values_->setRowCount(static_cast<int>(call.values.size()));
  for (std::size_t i = 0; i < call.values.size(); ++i) {
    const ReceivedValue& v = call.values[i];
    const int row = static_cast<int>(i);
    values_->setItem(row, 0, readOnlyItem(text(v.variable)));
    values_->setItem(row, 1,
                     readOnlyItem(v.isResult ? QStringLiteral("（返回值）") : text(v.parameter)));
    values_->setItem(row, 2, readOnlyItem(text(v.text)));
  }
  for (const ReceivedTable& table : call.tables) {
    auto* view = new QTableView;
    auto* model = new RecordsetModel(table.rows, numberFormat_, view);
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->resizeColumnsToContents();
    const QString caption =
        table.rows ? QStringLiteral("%1（%2 行）").arg(text(table.label)).arg(model->rowCount())
                   : QStringLiteral("%1（已关闭）").arg(text(table.label));
    tables_->addTab(view, caption);
  }
}

}  // namespace quillon::cli::demo
