// What the drawn-dialog benchmarks share: a Qt application on the offscreen platform with every
// automation class registered, and a watch for the first paint of a list holding all its rows.
#pragma once

#include <benchmark/benchmark.h>

#include <QAbstractItemModel>
#include <QEvent>
#include <QObject>

#include "automation/class_registry.h"
#include "bench/bench_runner.h"
#include "classes/public_classes.h"
#include "ui/qt/application.h"

namespace quillon::bench {

// Notes the first paint of a list that shows all its rows (an earlier paint of the still empty
// list does not count).
class PaintWatch : public QObject {
 public:
  PaintWatch(const QAbstractItemModel& model, int rows) : model_(model), rows_(rows) {}
  bool painted = false;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && model_.rowCount() == rows_) painted = true;
    return false;
  }

 private:
  const QAbstractItemModel& model_;
  int rows_;
};

// The benchmarks' main: offscreen Qt, the classes registered, then every benchmark run
// (bench_runner.h).
inline int runQtBenchmarks(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  ui::qt::QtApplication application;
  classes::registerAllClasses(automation::classRegistry());
  return runAll(argc, argv);
}

}  // namespace quillon::bench
