// The demo's host window: the account and user at the top, the example host scripts on the left
// with "亲自操作" (the script's host lines run while the person works every dialog they open) and
// "按脚本操作" (the script's own dialog lines work the drawn forms), and on the right what the
// host received ("结果") and the run's transcript ("记录"). Below the scripts, "现存量参照" runs
// `Refer` or `AutoRefer` for a stock line chosen from the account's current stock, and
// "检查账套" checks the account's integrity, with what it found in "记录".
#pragma once

#include <QWidget>
#include <filesystem>
#include <string>
#include <vector>

#include "demo/stock_line_script.h"

class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace quillon::cli::demo {

class AccountBar;
class ResultsView;
class StockLineBox;
struct DemoRunResult;

class DemoWindow : public QWidget {
 public:
  DemoWindow(const std::string& database, std::vector<std::filesystem::path> scripts,
             QWidget* parent = nullptr);

  // Runs the script chosen in the list; `byHand` leaves the dialogs to the person.
  void runChosen(bool byHand);
  // Runs `call` for the stock line chosen in "现存量参照"; the person works Refer's dialog.
  void runStockLine(StockReferCall call);
  // Checks the chosen account (quillon check-db) and shows what was found in "记录".
  void checkAccount();

 private:
  void accountChanged();
  void updateButtons();
  void runScript(const std::string& text, bool byHand);
  void showRun(const DemoRunResult& run);

  std::vector<std::filesystem::path> scripts_;
  AccountBar* account_;
  QListWidget* list_;
  QPushButton* byHand_;
  QPushButton* scripted_;
  StockLineBox* stock_;
  QPushButton* check_;
  std::string stockDatabase_;  // the account the stock lines were read from
  QTabWidget* tabs_;
  ResultsView* results_;
  QPlainTextEdit* transcript_;
  bool running_ = false;
};

}  // namespace quillon::cli::demo
