// The filter dialog: one labelled field per condition of the named filter (two, from / to, for a
// range), and below them a free condition box for anything the fields do not offer. The values
// and the free condition go back as typed; the filter component makes the WHERE text of them.
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <vector>

#include "ui/qt/dialogs.h"
#include "ui/qt/qt_text.h"

namespace quillon::ui::qt {

namespace {

QLineEdit* valueEdit(QWidget* parent, const QString& name, QLabel* label) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  if (label != nullptr) label->setBuddy(edit);
  return edit;
}

}  // namespace

forms::FilterResult showFilterDialog(const forms::FilterRequest& request, QWidget* parent) {
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("filter"));
  dialog.setWindowTitle(request.filterName.empty() ? QStringLiteral("过滤")
                                                   : toQString(request.filterName));
  auto* layout = new QVBoxLayout(&dialog);

  // One row per field: caption, then the value (or 从 value 到 value for a range).
  struct Row {
    QLineEdit* from = nullptr;
    QLineEdit* to = nullptr;
  };
  std::vector<Row> rows;
  if (!request.fields.empty()) {
    auto* grid = new QGridLayout();
    int r = 0;
    for (const forms::FilterField& field : request.fields) {
      const QString name = QStringLiteral("field.") + toQString(field.field);
      auto* caption = new QLabel(toQString(field.caption) + QStringLiteral("："), &dialog);
      grid->addWidget(caption, r, 0);
      Row row;
      if (field.range) {
        grid->addWidget(new QLabel(QStringLiteral("从"), &dialog), r, 1);
        row.from = valueEdit(&dialog, name + QStringLiteral(".from"), caption);
        grid->addWidget(row.from, r, 2);
        grid->addWidget(new QLabel(QStringLiteral("到"), &dialog), r, 3);
        row.to = valueEdit(&dialog, name + QStringLiteral(".to"), nullptr);
        grid->addWidget(row.to, r, 4);
      } else {
        row.from = valueEdit(&dialog, name, caption);
        grid->addWidget(row.from, r, 1, 1, 4);
      }
      rows.push_back(row);
      ++r;
    }
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(4, 1);
    layout->addLayout(grid);
  }
  layout->addWidget(new QLabel(
      request.fields.empty() ? QStringLiteral("过滤条件：") : QStringLiteral("其他条件："),
      &dialog));
  auto* condition = new QPlainTextEdit(&dialog);
  condition->setObjectName(QStringLiteral("condition"));
  condition->setTabChangesFocus(true);
  layout->addWidget(condition, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(answerCaption(forms::vbOK));
  buttons->button(QDialogButtonBox::Cancel)->setText(answerCaption(forms::vbCancel));
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  dialog.resize(480, request.fields.empty() ? 260 : 260 + 32 * static_cast<int>(rows.size()));
  if (dialog.exec() != QDialog::Accepted) return {};

  forms::FilterResult result{1, toStd(condition->toPlainText().trimmed()), {}};
  for (const Row& row : rows) {
    result.values.push_back({toStd(row.from->text().trimmed()),
                             row.to != nullptr ? toStd(row.to->text().trimmed()) : std::string()});
  }
  return result;
}

}  // namespace quillon::ui::qt
