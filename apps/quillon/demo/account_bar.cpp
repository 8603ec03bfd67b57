#include "demo/account_bar.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "demo/account_users.h"

namespace quillon::cli::demo {

AccountBar::AccountBar(const QString& database, QWidget* parent) : QWidget(parent) {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  auto* row = new QHBoxLayout;
  auto* pathLabel = new QLabel(QStringLiteral("账套数据库(&D)："), this);
  path_ = new QLineEdit(this);
  path_->setObjectName(QStringLiteral("database"));
  pathLabel->setBuddy(path_);
  browse_ = new QPushButton(QStringLiteral("选择文件(&F)…"), this);
  auto* userLabel = new QLabel(QStringLiteral("用户(&U)："), this);
  users_ = new QComboBox(this);
  users_->setObjectName(QStringLiteral("user"));
  users_->setMinimumContentsLength(14);
  userLabel->setBuddy(users_);
  row->addWidget(pathLabel);
  row->addWidget(path_, 1);
  row->addWidget(browse_);
  row->addSpacing(12);
  row->addWidget(userLabel);
  row->addWidget(users_);
  outer->addLayout(row);
  message_ = new QLabel(this);
  message_->setObjectName(QStringLiteral("accountMessage"));
  message_->setWordWrap(true);
  message_->setStyleSheet(QStringLiteral("color: #b00000"));
  message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  message_->hide();
  outer->addWidget(message_);

  QObject::connect(browse_, &QPushButton::clicked, this, [this] { browse(); });
  QObject::connect(path_, &QLineEdit::editingFinished, this, [this] {
    if (path_->text().toStdString() != database_ || !ready_) choose(path_->text());
  });
  QObject::connect(users_, &QComboBox::currentIndexChanged, this, [this] { changed(); });
  choose(database);
}

std::string AccountBar::user() const {
  return ready_ ? users_->currentData().toString().toStdString() : std::string();
}

void AccountBar::browse() {
  const QString start =
      database_.empty() ? path_->text() : QFileInfo(QString::fromStdString(database_)).path();
  const QString chosen = QFileDialog::getOpenFileName(
      this, QStringLiteral("选择账套数据库"), start,
      QStringLiteral("账套数据库 (*.db *.sqlite *.sqlite3);;所有文件 (*)"));
  // Cancelling the chooser keeps what was there.
  if (!chosen.isEmpty()) choose(chosen);
}

void AccountBar::choose(const QString& database) {
  const QString previous = users_->currentData().toString();
  path_->setText(database);
  std::vector<AccountUser> users;
  std::string problem;
  try {
    users = accountUsers(database.toStdString());
  } catch (const std::exception& e) {
    problem = e.what();
  }
  {
    const QSignalBlocker quiet(users_);
    users_->clear();
    int pick = 0;
    for (const AccountUser& u : users) {
      const QString id = QString::fromStdString(u.id);
      users_->addItem(
          u.name.empty() ? id : id + QStringLiteral("  ") + QString::fromStdString(u.name), id);
      if (id == previous) pick = users_->count() - 1;
    }
    const int demo = users_->findData(QStringLiteral("demo"));
    if (users_->findData(previous) < 0 && demo >= 0) pick = demo;
    users_->setCurrentIndex(users.empty() ? -1 : pick);
  }
  ready_ = problem.empty();
  users_->setEnabled(ready_);
  database_ = ready_ ? database.toStdString() : std::string();
  message_->setText(ready_ ? QString()
                           : QString::fromStdString(problem) +
                                 QStringLiteral("。请选择另一个账套数据库文件。"));
  message_->setVisible(!ready_);
  changed();
}

void AccountBar::changed() {
  if (onChanged_) onChanged_();
}

}  // namespace quillon::cli::demo
