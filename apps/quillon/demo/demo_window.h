// The demo's host window: the account and user at the top, the example host scripts on the left
// with "亲自操作" (the script's host lines run while the person works every dialog they open) and
// "按脚本操作" (the script's own dialog lines work the drawn forms), and on the right what the
// host received ("结果") and the run's transcript ("记录").
#pragma once

#include <QWidget>
#include <filesystem>
#include <vector>

class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace quillon::cli::demo {

class AccountBar;
class ResultsView;

class DemoWindow : public QWidget {
 public:
  DemoWindow(const std::string& database, std::vector<std::filesystem::path> scripts,
             QWidget* parent = nullptr);

  // Runs the script chosen in the list; `byHand` leaves the dialogs to the person.
  void runChosen(bool byHand);

 private:
  void updateButtons();

  std::vector<std::filesystem::path> scripts_;
  AccountBar* account_;
  QListWidget* list_;
  QPushButton* byHand_;
  QPushButton* scripted_;
  QTabWidget* tabs_;
  ResultsView* results_;
  QPlainTextEdit* transcript_;
  bool running_ = false;
};

}  // namespace quillon::cli::demo
