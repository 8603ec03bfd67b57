#include "demo/demo_window.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "demo/account_bar.h"
#include "demo/account_query.h"
#include "demo/example_scripts.h"
#include "demo/results_view.h"
#include "demo/stock_line_box.h"
#include "ui/qt/gui_script.h"
#include "ui/qt/person_script_host.h"

namespace quillon::cli::demo {

namespace fs = std::filesystem;

namespace {

// The pattern of the account's quantities ("##0." and QuanDecDgt zeros), two decimals when the
// account does not say.
std::string quantityFormat(const std::string& database) {
  int digits = 2;
  try {
    const auto rows = accountRows(database,
                                  "SELECT isnull(cValue, cDefault) FROM accinformation "
                                  "WHERE cName = 'QuanDecDgt'",
                                  1);
    if (!rows.empty()) digits = std::clamp(std::stoi(rows.front()[0]), 0, 10);
  } catch (const std::exception&) {
    // Not an account (yet), or no such setting: the usual two decimals.
  }
  return "##0." + std::string(static_cast<std::size_t>(digits), '0');
}

}  // namespace

DemoWindow::DemoWindow(const std::string& database, std::vector<fs::path> scripts, QWidget* parent)
    : QWidget(parent), scripts_(std::move(scripts)) {
  setWindowTitle(QStringLiteral("Quillon 演示"));
  resize(1180, 760);
  auto* layout = new QVBoxLayout(this);
  account_ = new AccountBar(QString::fromStdString(database), this);
  layout->addWidget(account_);

  auto* splitter = new QSplitter(this);
  auto* left = new QWidget(splitter);
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(0, 0, 0, 0);
  list_ = new QListWidget(left);
  list_->setObjectName(QStringLiteral("scripts"));
  // Each script by what it says it does (its first comment line), the whole comment and its file
  // on hovering; a script without a comment by its file name.
  list_->setWordWrap(true);
  list_->setTextElideMode(Qt::ElideNone);
  for (const fs::path& script : scripts_) {
    const std::string text = readScriptFile(script).value_or(std::string());
    const std::string title = scriptTitle(text);
    auto* item =
        new QListWidgetItem(QString::fromStdString(title.empty() ? script.stem().string() : title));
    const std::string comment = scriptComment(text);
    item->setToolTip(QString::fromStdString((comment.empty() ? "" : comment + "\n\n") +
                                            script.filename().string()));
    list_->addItem(item);
  }
  if (!scripts_.empty()) list_->setCurrentRow(0);
  leftLayout->addWidget(list_, 1);
  byHand_ = new QPushButton(QStringLiteral("亲自操作(&H)"), left);
  byHand_->setObjectName(QStringLiteral("byHand"));
  scripted_ = new QPushButton(QStringLiteral("按脚本操作(&S)"), left);
  scripted_->setObjectName(QStringLiteral("scripted"));
  leftLayout->addWidget(byHand_);
  leftLayout->addWidget(scripted_);
  stock_ = new StockLineBox(left);
  leftLayout->addWidget(stock_);
  check_ = new QPushButton(QStringLiteral("检查账套(&C)"), left);
  check_->setObjectName(QStringLiteral("checkAccount"));
  leftLayout->addWidget(check_);

  tabs_ = new QTabWidget(splitter);
  results_ = new ResultsView(tabs_);
  transcript_ = new QPlainTextEdit(tabs_);
  transcript_->setObjectName(QStringLiteral("transcript"));
  transcript_->setReadOnly(true);
  transcript_->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  mono.setFamilies({QStringLiteral("Noto Sans Mono CJK SC"), mono.family()});
  transcript_->setFont(mono);
  tabs_->addTab(results_, QStringLiteral("结果"));
  tabs_->addTab(transcript_, QStringLiteral("记录"));
  splitter->addWidget(left);
  splitter->addWidget(tabs_);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({300, 880});
  layout->addWidget(splitter, 1);

  QObject::connect(byHand_, &QPushButton::clicked, this, [this] { runChosen(true); });
  QObject::connect(scripted_, &QPushButton::clicked, this, [this] { runChosen(false); });
  QObject::connect(list_, &QListWidget::itemDoubleClicked, this, [this] { runChosen(true); });
  QObject::connect(list_, &QListWidget::currentRowChanged, this, [this] { updateButtons(); });
  QObject::connect(check_, &QPushButton::clicked, this, [this] { checkAccount(); });
  stock_->setOnRun([this](StockReferCall call) { runStockLine(call); });
  account_->setOnChanged([this] { accountChanged(); });
  accountChanged();
}

void DemoWindow::accountChanged() {
  // The user changes nothing about which lines have stock; only another file is read again.
  if (account_->database() != stockDatabase_) {
    stockDatabase_ = account_->database();
    stock_->load(stockDatabase_);
    results_->setNumberFormat(quantityFormat(stockDatabase_));
  }
  updateButtons();
}

void DemoWindow::updateButtons() {
  const int row = list_->currentRow();
  const bool can =
      !running_ && account_->ready() && row >= 0 && row < static_cast<int>(scripts_.size());
  byHand_->setEnabled(can);
  scripted_->setEnabled(can);
  account_->setEnabled(!running_);
  list_->setEnabled(!running_);
  stock_->setRunnable(!running_ && account_->ready());
  check_->setEnabled(!running_ && account_->ready());
}

void DemoWindow::runChosen(bool byHand) {
  const int row = list_->currentRow();
  if (running_ || !account_->ready() || row < 0 || row >= static_cast<int>(scripts_.size())) {
    return;
  }
  const fs::path& file = scripts_[static_cast<std::size_t>(row)];
  if (const auto text = readScriptFile(file)) {
    runScript(*text, byHand);
    return;
  }
  DemoRunResult run;
  run.message = "cannot read the script " + file.string();
  run.transcript = "failed: " + run.message + "\n";
  showRun(run);
}

void DemoWindow::runStockLine(StockReferCall call) {
  if (running_ || !account_->ready()) return;
  const StockLine line = stock_->line();
  if (line.warehouse.empty() || line.item.empty()) return;
  // By hand either way: AutoRefer shows no dialog in silent mode, and should the library still
  // ask something, the person answers it rather than the run failing for want of a scripted answer.
  runScript(stockLineScript(line, call, account_->user()), true);
}

void DemoWindow::checkAccount() {
  if (running_ || !account_->ready()) return;
  transcript_->setPlainText(QString::fromStdString(accountCheckText(account_->database())));
  tabs_->setCurrentWidget(transcript_);
}

void DemoWindow::runScript(const std::string& text, bool byHand) {
  DemoRunResult run;
  running_ = true;
  updateButtons();
  try {
    std::shared_ptr<script::ScriptedUiHost> host;
    if (byHand) {
      host = std::make_shared<ui::qt::PersonScriptHost>();
    } else {
      host = std::make_shared<ui::qt::DrawingScriptHost>(ui::qt::GuiScriptOptions{});
    }
    run = runDemoScript({account_->database(), account_->user(), text, byHand}, host);
  } catch (const std::exception& e) {
    run.message = e.what();
    run.transcript = "failed: " + run.message + "\n";
  }
  running_ = false;
  updateButtons();
  showRun(run);
}

void DemoWindow::showRun(const DemoRunResult& run) {
  transcript_->setPlainText(QString::fromStdString(run.transcript));
  results_->showRun(run);
  tabs_->setCurrentWidget(results_);
}

}  // namespace quillon::cli::demo
