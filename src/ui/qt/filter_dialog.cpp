// The filter dialog: the condition a person writes for a named filter, handed back as the WHERE
// text the caller adds to its query.
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/qt/dialogs.h"
#include "ui/qt/qt_text.h"

namespace quillon::ui::qt {

forms::FilterResult showFilterDialog(const forms::FilterRequest& request, QWidget* parent) {
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("filter"));
  dialog.setWindowTitle(request.filterName.empty() ? QStringLiteral("过滤")
                                                   : toQString(request.filterName));
  dialog.resize(480, 260);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(QStringLiteral("过滤条件："), &dialog));
  auto* condition = new QPlainTextEdit(&dialog);
  condition->setObjectName(QStringLiteral("condition"));
  layout->addWidget(condition, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(answerCaption(forms::vbOK));
  buttons->button(QDialogButtonBox::Cancel)->setText(answerCaption(forms::vbCancel));
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  if (dialog.exec() != QDialog::Accepted) return {};
  return {1, toStd(condition->toPlainText().trimmed())};
}

}  // namespace quillon::ui::qt
