// The "结果" pane of the demo window: every call of the last run, and for the one chosen what the
// host received — its result and by-reference arguments with their values after the call, the
// error it raised, and each recordset it handed back as a table.
#pragma once

#include <QWidget>
#include <string>
#include <utility>
#include <vector>

#include "demo/demo_run.h"

class QLabel;
class QListWidget;
class QTableWidget;
class QTabWidget;

namespace quillon::cli::demo {

class ResultsView : public QWidget {
 public:
  explicit ResultsView(QWidget* parent = nullptr);

  // Shows a finished run and picks the call worth looking at first: the last one that handed
  // back a recordset, or else the last one.
  void showRun(const DemoRunResult& run);
  void showCall(int index);
  // The pattern fractional numbers of the tables read with (the account's quantity decimals).
  void setNumberFormat(std::string format) { numberFormat_ = std::move(format); }

 private:
  void clearTables();

  std::vector<ReceivedCall> calls_;
  std::string numberFormat_ = "##0.00";
  QLabel* status_;
  QListWidget* callList_;
  QLabel* lineLabel_;
  QLabel* errorLabel_;
  QTableWidget* values_;
  QTabWidget* tables_;
};

}  // namespace quillon::cli::demo
