// The top bar of the demo window: which account database the runs use and as which user. A file
// that is missing or no account database is refused with the reason shown in the bar, and nothing
// can run until a usable one is chosen.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quillon::cli::demo {

class AccountBar : public QWidget {
 public:
  explicit AccountBar(const QString& database, QWidget* parent = nullptr);

  // Checks the file and, when it is an account, lists its users (the one chosen before stays
  // chosen when the new account has it, otherwise "demo" or the first).
  void choose(const QString& database);

  bool ready() const { return ready_; }
  const std::string& database() const { return database_; }
  std::string user() const;

  // Called whenever the database, the user or readiness changes.
  void setOnChanged(std::function<void()> onChanged) { onChanged_ = std::move(onChanged); }

 private:
  void browse();
  void changed();

  QLineEdit* path_;
  QPushButton* browse_;
  QComboBox* users_;
  QLabel* message_;
  bool ready_ = false;
  std::string database_;
  std::function<void()> onChanged_;
};

}  // namespace quillon::cli::demo
