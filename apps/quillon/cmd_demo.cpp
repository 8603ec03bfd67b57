// `quillon demo [--db FILE] [--examples DIR]`: a host window for trying the
// library's dialogs by hand. The demo database is made with init-db on first use. Each example
// host script of DIR gets a button: "by hand" runs the script's host lines (login, new, call,
// print) while the person works in every dialog they open, "scripted" lets the script's own
// dialog lines do the work with the forms drawn. The result pane shows what the host received —
// results, by-reference arguments, the recordsets of returned collections as tables, ErrMsg — as
// the run's transcript. Without a display it says so and runs the example scripts headless,
// printing their transcripts.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "args.h"
#include "commands.h"

#ifdef QUILLON_HAS_UI
#include <QApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>
#include <QWidget>

#include "run/host_script_runner.h"
#include "ui/qt/application.h"
#include "ui/qt/gui_script.h"
#include "ui/qt/person_script_host.h"
#endif

namespace quillon::cli {

namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<fs::path> exampleScripts(const fs::path& dir) {
  std::vector<fs::path> scripts;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(dir, error)) {
    if (entry.path().extension() == ".qhs") scripts.push_back(entry.path());
  }
  std::sort(scripts.begin(), scripts.end());
  return scripts;
}

// The host lines of a script, for a person to do the dialog work: on-blocks, queued answers and
// expectations are blanked (line numbers stay, so the transcript still names the right lines).
std::string hostLinesOnly(const std::string& script) {
  std::istringstream in(script);
  std::string out;
  std::string line;
  bool inBlock = false;
  while (std::getline(in, line)) {
    std::string word = line.substr(line.find_first_not_of(" \t") == std::string::npos
                                       ? line.size()
                                       : line.find_first_not_of(" \t"));
    word = word.substr(0, word.find_first_of(" \t"));
    bool keep = !inBlock;
    if (word == "on") {
      inBlock = true;
      keep = false;
    } else if (inBlock && word == "end") {
      inBlock = false;
    } else if (word == "answer" || word == "input" || word == "pick" || word == "date" ||
               word == "expect") {
      keep = false;
    }
    out += (keep ? line : std::string()) + "\n";
  }
  return out;
}

int runHeadless(const std::string& db, const std::vector<fs::path>& scripts) {
  int status = 0;
  for (const fs::path& script : scripts) {
    std::cout << "=== " << script.filename().string() << '\n';
    const int result = cmdRun(std::vector<std::string>{"--db", db, script.string()});
    if (result != 0) status = result;
  }
  return status;
}

#ifdef QUILLON_HAS_UI

class DemoWindow : public QWidget {
 public:
  DemoWindow(std::string db, std::vector<fs::path> scripts)
      : db_(std::move(db)), scripts_(std::move(scripts)) {
    setWindowTitle(QStringLiteral("Quillon 演示"));
    resize(1100, 700);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("数据库：%1").arg(QString::fromStdString(db_)), this));
    auto* splitter = new QSplitter(this);
    auto* left = new QWidget(splitter);
    auto* leftLayout = new QVBoxLayout(left);
    list_ = new QListWidget(left);
    for (const fs::path& script : scripts_) {
      list_->addItem(QString::fromStdString(script.stem().string()));
    }
    if (!scripts_.empty()) list_->setCurrentRow(0);
    leftLayout->addWidget(list_, 1);
    auto* byHand = new QPushButton(QStringLiteral("亲自操作(&H)"), left);
    auto* scripted = new QPushButton(QStringLiteral("按脚本操作(&S)"), left);
    leftLayout->addWidget(byHand);
    leftLayout->addWidget(scripted);
    result_ = new QPlainTextEdit(splitter);
    result_->setReadOnly(true);
    result_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setFamilies({QStringLiteral("Noto Sans Mono CJK SC"), mono.family()});
    result_->setFont(mono);
    splitter->addWidget(left);
    splitter->addWidget(result_);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);
    QObject::connect(byHand, &QPushButton::clicked, this, [this] { run(true); });
    QObject::connect(scripted, &QPushButton::clicked, this, [this] { run(false); });
    QObject::connect(list_, &QListWidget::itemDoubleClicked, this, [this] { run(true); });
  }

 private:
  void run(bool byHand) {
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(scripts_.size())) return;
    const std::string script = readFile(scripts_[static_cast<std::size_t>(row)]);
    std::ostringstream out;
    std::shared_ptr<forms::ScriptedUiHost> host;
    if (byHand) {
      host = std::make_shared<ui::qt::PersonScriptHost>();
    } else {
      host = std::make_shared<ui::qt::DrawingScriptHost>(ui::qt::GuiScriptOptions{});
    }
    run::HostScriptRunner runner(db_, out, host);
    const auto result = runner.runSource(byHand ? hostLinesOnly(script) : script);
    out << (result.ok ? "ok" : "failed: " + result.message) << '\n';
    result_->setPlainText(QString::fromStdString(out.str()));
  }

  std::string db_;
  std::vector<fs::path> scripts_;
  QListWidget* list_;
  QPlainTextEdit* result_;
};

#endif

}  // namespace

int cmdDemo(std::span<const std::string> args) {
  const ParsedArgs parsed = parseArgs(args, OptionSpec{{"--db", "--examples"}, {}});
  if (!parsed.positional().empty()) {
    throw UsageError("unexpected argument " + parsed.positional().front());
  }
  const std::string db = parsed.option("--db").value_or("demo.db");
  const fs::path examples = parsed.option("--examples").value_or("examples");
  if (!fs::exists(db)) {
    std::cout << "quillon demo: making the demo database " << db << '\n';
    const int made = cmdInitDb(std::vector<std::string>{"--db", db});
    if (made != 0) return made;
  }
  const std::vector<fs::path> scripts = exampleScripts(examples);
#ifdef QUILLON_HAS_UI
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if ((x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0')) {
    ui::qt::QtApplication application;
    DemoWindow window(db, scripts);
    window.show();
    return QApplication::exec();
  }
#endif
  std::cout << "quillon demo: no display to show the dialogs on; running the example host scripts "
               "in "
            << examples.string() << " headless\n";
  if (scripts.empty()) {
    std::cerr << "quillon demo: no example scripts (*.qhs) in " << examples.string() << '\n';
    return 1;
  }
  return runHeadless(db, scripts);
}

}  // namespace quillon::cli
