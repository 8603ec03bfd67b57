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

#include "demo/account_bar.h"
#include "demo/example_scripts.h"
#include "demo/results_view.h"
#include "ui/qt/gui_script.h"
#include "ui/qt/person_script_host.h"

namespace quillon::cli::demo {

namespace fs = std::filesystem;

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
  for (const fs::path& script : scripts_) {
    auto* item = new QListWidgetItem(QString::fromStdString(script.stem().string()));
    item->setToolTip(QString::fromStdString(script.string()));
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
  splitter->setSizes({260, 920});
  layout->addWidget(splitter, 1);

  QObject::connect(byHand_, &QPushButton::clicked, this, [this] { runChosen(true); });
  QObject::connect(scripted_, &QPushButton::clicked, this, [this] { runChosen(false); });
  QObject::connect(list_, &QListWidget::itemDoubleClicked, this, [this] { runChosen(true); });
  QObject::connect(list_, &QListWidget::currentRowChanged, this, [this] { updateButtons(); });
  account_->setOnChanged([this] { updateButtons(); });
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
}

void DemoWindow::runChosen(bool byHand) {
  const int row = list_->currentRow();
  if (running_ || !account_->ready() || row < 0 || row >= static_cast<int>(scripts_.size())) {
    return;
  }
  const fs::path& file = scripts_[static_cast<std::size_t>(row)];
  DemoRunResult run;
  if (const auto text = readScriptFile(file)) {
    running_ = true;
    updateButtons();
    try {
      std::shared_ptr<forms::ScriptedUiHost> host;
      if (byHand) {
        host = std::make_shared<ui::qt::PersonScriptHost>();
      } else {
        host = std::make_shared<ui::qt::DrawingScriptHost>(ui::qt::GuiScriptOptions{});
      }
      run = runDemoScript({account_->database(), account_->user(), *text, byHand}, host);
    } catch (const std::exception& e) {
      run.message = e.what();
      run.transcript = "failed: " + run.message + "\n";
    }
    running_ = false;
    updateButtons();
  } else {
    run.message = "cannot read the script " + file.string();
    run.transcript = "failed: " + run.message + "\n";
  }
  transcript_->setPlainText(QString::fromStdString(run.transcript));
  results_->showRun(run);
  tabs_->setCurrentWidget(results_);
}

}  // namespace quillon::cli::demo
