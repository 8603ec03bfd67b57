// The "现存量参照" group of the demo window: a stock voucher line picked from the account's current
// stock (warehouse, item, quantity, red or blue) and a button for each reference call on it. The
// group composes the host script; the window runs it like any example.
#pragma once

#include <QGroupBox>
#include <functional>
#include <string>
#include <vector>

#include "demo/account_stock.h"
#include "demo/stock_line_script.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;

namespace quillon::cli::demo {

class StockLineBox : public QGroupBox {
 public:
  explicit StockLineBox(QWidget* parent = nullptr);

  // Lists the stocked lines of `database` (nothing for an empty path). The warehouse and item
  // chosen before stay chosen when the account still has them. Reading the same file again
  // picks up stock that runs have changed.
  void load(const std::string& database);

  // Whether the buttons may start a run; the window turns this off while one is running.
  void setRunnable(bool runnable);

  StockLine line() const;

  // Told which call a button asked for.
  void setOnRun(std::function<void(StockReferCall)> onRun) { onRun_ = std::move(onRun); }

 private:
  void fillItems();
  void updateButtons();

  std::vector<StockedLine> lines_;
  // The line chosen last, kept while a file without it is open so that it comes back with its
  // account.
  QString keptWarehouse_;
  QString keptItem_;
  QComboBox* warehouses_;
  QComboBox* items_;
  QDoubleSpinBox* quantity_;
  QCheckBox* red_;
  QPushButton* refer_;
  QPushButton* autoRefer_;
  QLabel* message_;
  bool runnable_ = true;
  std::function<void(StockReferCall)> onRun_;
};

}  // namespace quillon::cli::demo
