#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "ui/qt/dialogs.h"
#include "ui/qt/qt_text.h"

namespace quillon::ui::qt {

QString answerCaption(int answer) {
  switch (answer) {
    case forms::vbOK:
      return QStringLiteral("确定");
    case forms::vbCancel:
      return QStringLiteral("取消");
    case forms::vbAbort:
      return QStringLiteral("终止(&A)");
    case forms::vbRetry:
      return QStringLiteral("重试(&R)");
    case forms::vbIgnore:
      return QStringLiteral("忽略(&I)");
    case forms::vbYes:
      return QStringLiteral("是(&Y)");
    case forms::vbNo:
      return QStringLiteral("否(&N)");
    default:
      return QString::number(answer);
  }
}

namespace {

QMessageBox::Icon iconOf(int icon) {
  switch (icon) {
    case forms::vbCritical:
      return QMessageBox::Critical;
    case forms::vbQuestion:
      return QMessageBox::Question;
    case forms::vbExclamation:
      return QMessageBox::Warning;
    case forms::vbInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

QMessageBox::ButtonRole roleOf(int answer) {
  switch (answer) {
    case forms::vbOK:
    case forms::vbYes:
    case forms::vbRetry:
      return QMessageBox::AcceptRole;
    case forms::vbNo:
      return QMessageBox::NoRole;
    case forms::vbIgnore:
      return QMessageBox::ActionRole;
    default:
      return QMessageBox::RejectRole;
  }
}

}  // namespace

int showMessageBox(const forms::MessageBoxRequest& request, QWidget* parent) {
  QMessageBox box(parent);
  // Without a title the platform shows the application's name.
  box.setWindowTitle(request.title.empty() ? QStringLiteral("Quillon") : toQString(request.title));
  // The library's messages break lines with CR LF.
  box.setText(toQString(request.prompt).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  box.setTextFormat(Qt::PlainText);
  box.setIcon(iconOf(request.icon));
  const std::vector<int> answers = request.answers();
  std::vector<QPushButton*> buttons;
  for (const int answer : answers) {
    buttons.push_back(box.addButton(answerCaption(answer), roleOf(answer)));
  }
  const int defaultAnswer = request.defaultAnswer();
  for (std::size_t i = 0; i < answers.size(); ++i) {
    if (answers[i] == defaultAnswer) box.setDefaultButton(buttons[i]);
  }
  // Esc and the close box answer Cancel; a box without Cancel answers with its only button, and
  // Yes/No or Abort/Retry/Ignore boxes cannot be dismissed without a choice.
  int escapeAnswer = 0;
  for (std::size_t i = 0; i < answers.size(); ++i) {
    if (answers[i] == forms::vbCancel) {
      box.setEscapeButton(buttons[i]);
      escapeAnswer = forms::vbCancel;
    }
  }
  if (escapeAnswer == 0 && answers.size() == 1) {
    box.setEscapeButton(buttons.front());
    escapeAnswer = answers.front();
  }
  box.exec();
  for (std::size_t i = 0; i < answers.size(); ++i) {
    if (box.clickedButton() == buttons[i]) return answers[i];
  }
  return escapeAnswer != 0 ? escapeAnswer : defaultAnswer;
}

std::optional<std::string> showInputBox(const forms::InputBoxRequest& request, QWidget* parent) {
  QInputDialog dialog(parent);
  dialog.setWindowTitle(request.title.empty() ? QStringLiteral("Quillon")
                                              : toQString(request.title));
  dialog.setLabelText(toQString(request.prompt));
  dialog.setTextValue(toQString(request.defaultText));
  dialog.setOkButtonText(answerCaption(forms::vbOK));
  dialog.setCancelButtonText(answerCaption(forms::vbCancel));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return toStd(dialog.textValue());
}

}  // namespace quillon::ui::qt
