#include "forms/row_growth.h"

#include "forms/ui_host.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace quillon::forms {

namespace {

std::vector<GrowingRows*>& growing() {
  static std::vector<GrowingRows*> lists;
  return lists;
}

std::function<void()>& listener() {
  static std::function<void()> f;
  return f;
}

}  // namespace

void startGrowing(GrowingRows& rows) {
  auto& lists = growing();
  if (std::find(lists.begin(), lists.end(), &rows) == lists.end()) lists.push_back(&rows);
  if (listener()) listener()();
}

void stopGrowing(GrowingRows& rows) {
  auto& lists = growing();
  lists.erase(std::remove(lists.begin(), lists.end(), &rows), lists.end());
}

bool anyGrowing() {
  return !growing().empty();
}

bool growSome(int maxRows, std::chrono::nanoseconds budget) {
  // A list that stops growing leaves the registry while it is walked: walk a copy, and grow only
  // those still registered.
  const std::vector<GrowingRows*> lists = growing();
  if (lists.empty()) return false;
  const auto share = budget / static_cast<long>(lists.size());
  for (GrowingRows* rows : lists) {
    const auto& now = growing();
    if (std::find(now.begin(), now.end(), rows) == now.end()) continue;
    if (!rows->growRows(maxRows, share)) stopGrowing(*rows);
  }
  return anyGrowing();
}

void finishGrowing() {
  while (!growing().empty()) {
    GrowingRows* rows = growing().back();
    stopGrowing(*rows);
    rows->finishRows();
  }
}

void setGrowthListener(std::function<void()> f) {
  listener() = std::move(f);
}

bool listsGrowWhileShown() {
  return currentUiHost().listsGrowWhileShown();
}

}  // namespace quillon::forms
