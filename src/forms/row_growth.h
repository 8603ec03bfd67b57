// Lists whose rows are still loading. A list or grid bound to a source that may grow (a recordset
// a drawn dialog opened to show while it loads) registers here. The renderer grows them a slice at
// a time while it has nothing else to do (growSome); and before anything reaches the forms' code
// (a person's action, a script's step) every one of them is loaded to its end (finishGrowing), so
// the forms' code, the scripts and the C interface never see a list with part of its rows.
#pragma once

#include <chrono>
#include <functional>

namespace quillon::forms {

class GrowingRows {
 public:
  // Adds up to `maxRows` more rows within about `budget`; false once no more will come.
  virtual bool growRows(int maxRows, std::chrono::nanoseconds budget) = 0;
  // Adds every row left.
  virtual void finishRows() = 0;

 protected:
  ~GrowingRows() = default;
};

void startGrowing(GrowingRows& rows);
void stopGrowing(GrowingRows& rows);
bool anyGrowing();
// One slice: each growing list grows by up to `maxRows` rows, all of them within about
// `budget`; true while any still grows.
bool growSome(int maxRows, std::chrono::nanoseconds budget);
// Loads every growing list to its end.
void finishGrowing();
// Told when a list starts growing (the renderer schedules its idle slices); null: nobody.
void setGrowthListener(std::function<void()> listener);

// Whether the dialogs' lists may show their first rows while the rest loads: only where a person
// looks at them (the current host says so: UiHost::listsGrowWhileShown), never in headless,
// scripted or C interface runs.
bool listsGrowWhileShown();

}  // namespace quillon::forms
