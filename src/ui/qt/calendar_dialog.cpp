#include <QCalendarWidget>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/qt/dialogs.h"
#include "ui/qt/qt_text.h"

namespace quillon::ui::qt {

std::optional<automation::DateValue> showCalendar(const forms::CalendarRequest& request,
                                                  QWidget* parent) {
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("calendar"));
  dialog.setWindowTitle(request.title.empty() ? QStringLiteral("日历") : toQString(request.title));
  auto* layout = new QVBoxLayout(&dialog);
  auto* calendar = new QCalendarWidget(&dialog);
  calendar->setGridVisible(true);
  calendar->setFirstDayOfWeek(Qt::Monday);
  // Month and day names in Chinese, whatever locale the process runs under.
  calendar->setLocale(QLocale(QLocale::Chinese, QLocale::China));
  if (request.initial) {
    const QDate initial =
        QDate::fromString(toQString(forms::formatIsoDate(*request.initial)), Qt::ISODate);
    if (initial.isValid()) calendar->setSelectedDate(initial);
  }
  layout->addWidget(calendar);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(answerCaption(forms::vbOK));
  buttons->button(QDialogButtonBox::Cancel)->setText(answerCaption(forms::vbCancel));
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(calendar, &QCalendarWidget::activated, &dialog, &QDialog::accept);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return forms::parseIsoDate(toStd(calendar->selectedDate().toString(Qt::ISODate)));
}

}  // namespace quillon::ui::qt
