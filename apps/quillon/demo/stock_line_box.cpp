#include "demo/stock_line_box.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace quillon::cli::demo {

namespace {

QString shown(const std::string& code, const std::string& name) {
  const QString id = QString::fromStdString(code);
  return name.empty() ? id : id + QStringLiteral("  ") + QString::fromStdString(name);
}

}  // namespace

StockLineBox::StockLineBox(QWidget* parent) : QGroupBox(QStringLiteral("现存量参照"), parent) {
  setObjectName(QStringLiteral("stockLine"));
  auto* form = new QFormLayout(this);
  warehouses_ = new QComboBox(this);
  warehouses_->setObjectName(QStringLiteral("stockWarehouse"));
  items_ = new QComboBox(this);
  items_->setObjectName(QStringLiteral("stockItem"));
  // Long item names must not widen the script list beside the results.
  items_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  items_->setMinimumContentsLength(12);
  warehouses_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  warehouses_->setMinimumContentsLength(12);
  quantity_ = new QDoubleSpinBox(this);
  quantity_->setObjectName(QStringLiteral("stockQuantity"));
  quantity_->setDecimals(2);
  quantity_->setRange(0, 999999999.0);
  quantity_->setValue(10);
  red_ = new QCheckBox(QStringLiteral("红字"), this);
  red_->setObjectName(QStringLiteral("stockRed"));
  form->addRow(QStringLiteral("仓库(&W)："), warehouses_);
  form->addRow(QStringLiteral("存货(&I)："), items_);
  form->addRow(QStringLiteral("数量(&Q)："), quantity_);
  form->addRow(QString(), red_);
  auto* buttons = new QHBoxLayout;
  refer_ = new QPushButton(QStringLiteral("参照(Refer)"), this);
  refer_->setObjectName(QStringLiteral("refer"));
  autoRefer_ = new QPushButton(QStringLiteral("自动分配(AutoRefer)"), this);
  autoRefer_->setObjectName(QStringLiteral("autoRefer"));
  buttons->addWidget(refer_);
  buttons->addWidget(autoRefer_);
  form->addRow(buttons);
  message_ = new QLabel(this);
  message_->setObjectName(QStringLiteral("stockMessage"));
  message_->setWordWrap(true);
  message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  message_->hide();
  form->addRow(message_);

  QObject::connect(warehouses_, &QComboBox::currentIndexChanged, this, [this] { fillItems(); });
  QObject::connect(items_, &QComboBox::currentIndexChanged, this, [this] { updateButtons(); });
  QObject::connect(refer_, &QPushButton::clicked, this, [this] {
    if (onRun_) onRun_(StockReferCall::Refer);
  });
  QObject::connect(autoRefer_, &QPushButton::clicked, this, [this] {
    if (onRun_) onRun_(StockReferCall::AutoRefer);
  });
  updateButtons();
}

void StockLineBox::load(const std::string& database) {
  if (items_->currentIndex() >= 0) {
    keptWarehouse_ = warehouses_->currentData().toString();
    keptItem_ = items_->currentData().toString();
  }
  lines_.clear();
  QString problem;
  if (!database.empty()) {
    try {
      lines_ = stockedLines(database);
      if (lines_.empty()) problem = QStringLiteral("这个账套没有结存大于零的现存量。");
    } catch (const std::exception& e) {
      problem = QString::fromStdString(e.what());
    }
  }
  message_->setText(problem);
  message_->setVisible(!problem.isEmpty());
  {
    const QSignalBlocker quiet(warehouses_);
    warehouses_->clear();
    for (const StockedLine& line : lines_) {
      const QString code = QString::fromStdString(line.warehouse);
      if (warehouses_->findData(code) < 0)
        warehouses_->addItem(shown(line.warehouse, line.warehouseName), code);
    }
    const int again = warehouses_->findData(keptWarehouse_);
    warehouses_->setCurrentIndex(again >= 0 ? again : (warehouses_->count() > 0 ? 0 : -1));
  }
  fillItems();
  if (warehouses_->currentData().toString() == keptWarehouse_) {
    const int again = items_->findData(keptItem_);
    if (again >= 0) items_->setCurrentIndex(again);
  }
}

void StockLineBox::fillItems() {
  const std::string warehouse = warehouses_->currentData().toString().toStdString();
  {
    const QSignalBlocker quiet(items_);
    items_->clear();
    for (const StockedLine& line : lines_) {
      if (line.warehouse == warehouse) {
        items_->addItem(shown(line.item, line.itemName), QString::fromStdString(line.item));
      }
    }
    items_->setCurrentIndex(items_->count() > 0 ? 0 : -1);
  }
  updateButtons();
}

void StockLineBox::setRunnable(bool runnable) {
  runnable_ = runnable;
  updateButtons();
}

StockLine StockLineBox::line() const {
  return {warehouses_->currentData().toString().toStdString(),
          items_->currentData().toString().toStdString(), quantity_->value(), red_->isChecked()};
}

void StockLineBox::updateButtons() {
  const bool chosen = warehouses_->currentIndex() >= 0 && items_->currentIndex() >= 0;
  for (QWidget* w : {static_cast<QWidget*>(warehouses_), static_cast<QWidget*>(items_),
                     static_cast<QWidget*>(quantity_), static_cast<QWidget*>(red_)}) {
    w->setEnabled(runnable_);
  }
  refer_->setEnabled(runnable_ && chosen);
  autoRefer_->setEnabled(runnable_ && chosen);
}

}  // namespace quillon::cli::demo
