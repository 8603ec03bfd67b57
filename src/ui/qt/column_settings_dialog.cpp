// The column-set settings of a list: which columns show, their captions, widths and order. The
// definition text comes in and goes out in the voucher list's form ("key,caption,width[,format]"
// entries separated by ";"); a hidden column keeps its place with width 0.
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "automation/com_error.h"
#include "forms/dialog_shell.h"
#include "forms/vouch_list.h"
#include "ui/qt/dialogs.h"
#include "ui/qt/qt_text.h"

namespace quillon::ui::qt {

namespace {

constexpr int kShownWidth = 1000;  // a column shown again after being hidden

enum Column { kShow, kKey, kCaption, kWidth };

void swapRows(QTableWidget& table, int a, int b) {
  for (int c = 0; c < table.columnCount(); ++c) {
    QTableWidgetItem* first = table.takeItem(a, c);
    QTableWidgetItem* second = table.takeItem(b, c);
    table.setItem(a, c, second);
    table.setItem(b, c, first);
  }
}

}  // namespace

std::optional<std::string> showColumnSettings(const forms::ColumnSettingsRequest& request,
                                              QWidget* parent) {
  std::vector<forms::VouchColumn> columns;
  try {
    columns = forms::parseColumnDefinitions(request.definitions);
  } catch (const automation::ComError& e) {
    forms::MessageBoxRequest message;
    message.prompt = e.description();
    message.title = std::string(forms::kPromptTitle);
    message.icon = forms::vbExclamation;
    showMessageBox(message, parent);
    return std::nullopt;
  }

  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("columnSettings"));
  dialog.setWindowTitle(request.title.empty() ? QStringLiteral("栏目设置")
                                              : toQString(request.title));
  dialog.resize(520, 420);
  auto* layout = new QVBoxLayout(&dialog);
  auto* table = new QTableWidget(static_cast<int>(columns.size()), 4, &dialog);
  table->setObjectName(QStringLiteral("columns"));
  table->setHorizontalHeaderLabels({QStringLiteral("显示"), QStringLiteral("字段"),
                                    QStringLiteral("栏目名称"), QStringLiteral("宽度")});
  table->verticalHeader()->hide();
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->horizontalHeader()->setStretchLastSection(true);
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const auto row = static_cast<int>(i);
    const forms::VouchColumn& column = columns[i];
    auto* show = new QTableWidgetItem;
    show->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    show->setCheckState(column.width > 0 ? Qt::Checked : Qt::Unchecked);
    // The format travels with its row when rows move.
    show->setData(Qt::UserRole, toQString(column.format));
    table->setItem(row, kShow, show);
    auto* key = new QTableWidgetItem(toQString(column.key));
    key->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    table->setItem(row, kKey, key);
    table->setItem(row, kCaption, new QTableWidgetItem(toQString(column.caption)));
    table->setItem(row, kWidth, new QTableWidgetItem(QString::number(column.width)));
  }
  layout->addWidget(table, 1);

  auto* moves = new QHBoxLayout;
  auto* up = new QPushButton(QStringLiteral("上移"), &dialog);
  auto* down = new QPushButton(QStringLiteral("下移"), &dialog);
  moves->addWidget(up);
  moves->addWidget(down);
  moves->addStretch(1);
  layout->addLayout(moves);
  auto move = [table](int by) {
    const int row = table->currentRow();
    const int to = row + by;
    if (row < 0 || to < 0 || to >= table->rowCount()) return;
    swapRows(*table, row, to);
    table->setCurrentCell(to, table->currentColumn());
  };
  QObject::connect(up, &QPushButton::clicked, &dialog, [move] { move(-1); });
  QObject::connect(down, &QPushButton::clicked, &dialog, [move] { move(1); });

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(answerCaption(forms::vbOK));
  buttons->button(QDialogButtonBox::Cancel)->setText(answerCaption(forms::vbCancel));
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;

  std::string text;
  for (int row = 0; row < table->rowCount(); ++row) {
    // Keys and captions cannot hold "," or ";" in a definition text.
    QString caption = table->item(row, kCaption)->text();
    caption.remove(QLatin1Char(',')).remove(QLatin1Char(';'));
    bool numeric = false;
    int width = table->item(row, kWidth)->text().trimmed().toInt(&numeric);
    if (!numeric || width < 0) width = kShownWidth;
    const bool shown = table->item(row, kShow)->checkState() == Qt::Checked;
    if (!shown) width = 0;
    if (shown && width == 0) width = kShownWidth;
    if (!text.empty()) text += ";";
    text +=
        toStd(table->item(row, kKey)->text()) + "," + toStd(caption) + "," + std::to_string(width);
    const QString format = table->item(row, kShow)->data(Qt::UserRole).toString();
    if (!format.isEmpty()) text += "," + toStd(format);
  }
  return text;
}

}  // namespace quillon::ui::qt
