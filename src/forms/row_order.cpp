#include "forms/row_order.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

#include "forms/list_view.h"
#include "forms/super_grid.h"
#include "forms/vouch_list.h"

namespace quillon::forms {

std::optional<double> sortNumber(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  std::string plain;
  plain.reserve(text.size());
  bool digit = false;
  bool point = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char ch = text[i];
    if (ch >= '0' && ch <= '9') {
      digit = true;
      plain += ch;
    } else if (ch == ',' && digit && !point) {
      continue;  // a thousands separator
    } else if (ch == '.' && !point) {
      point = true;
      plain += ch;
    } else if ((ch == '-' || ch == '+') && i == 0) {
      plain += ch;
    } else {
      return std::nullopt;
    }
  }
  if (!digit) return std::nullopt;
  return std::strtod(plain.c_str(), nullptr);
}

void RowOrder::sort(int column, bool descending, int count,
                    const std::function<std::string(int)>& text) {
  struct Key {
    int row;
    int kind;  // 0 empty, 1 number, 2 text
    double number;
    std::string text;
  };
  std::vector<Key> keys;
  keys.reserve(static_cast<std::size_t>(std::max(count, 0)));
  for (int r = 1; r <= count; ++r) {
    Key key{r, 2, 0.0, text(r)};
    if (key.text.empty()) {
      key.kind = 0;
    } else if (const auto n = sortNumber(key.text)) {
      key.kind = 1;
      key.number = *n;
    }
    keys.push_back(std::move(key));
  }
  const auto less = [](const Key& a, const Key& b) {
    if (a.kind != b.kind) return a.kind < b.kind;
    if (a.kind == 1) return a.number < b.number;
    return a.text < b.text;
  };
  if (descending) {
    std::stable_sort(keys.begin(), keys.end(),
                     [&](const Key& a, const Key& b) { return less(b, a); });
  } else {
    std::stable_sort(keys.begin(), keys.end(), less);
  }
  column_ = column;
  descending_ = descending;
  rows_.resize(keys.size());
  positions_.resize(keys.size());
  for (std::size_t p = 0; p < keys.size(); ++p) {
    rows_[p] = keys[p].row;
    positions_[static_cast<std::size_t>(keys[p].row - 1)] = static_cast<int>(p) + 1;
  }
}

bool RowOrder::reset() {
  if (!sorted()) return false;
  column_ = -1;
  descending_ = false;
  rows_.clear();
  positions_.clear();
  return true;
}

int RowOrder::rowAt(int position) const {
  if (position < 1 || position > static_cast<int>(rows_.size())) return position;
  return rows_[static_cast<std::size_t>(position - 1)];
}

int RowOrder::positionOf(int row) const {
  if (row < 1 || row > static_cast<int>(positions_.size())) return row;
  return positions_[static_cast<std::size_t>(row - 1)];
}

std::optional<std::string> sortList(Control& control, std::string_view caption, bool descending) {
  int column = -1;
  if (auto* grid = dynamic_cast<MsSuperGrid*>(&control)) {
    column = grid->colByCaption(caption);
    if (column > 0) {
      grid->sortRows(column, descending);
      return std::nullopt;
    }
  } else if (auto* vouch = dynamic_cast<MarlinVouchList*>(&control)) {
    for (int c = 1; c < vouch->Cols() && column < 0; ++c) {
      if (vouch->TextMatrix(0, c) == caption) column = c;
    }
    if (column > 0) {
      vouch->sortRows(column, descending);
      return std::nullopt;
    }
  } else if (auto* list = dynamic_cast<ListView*>(&control)) {
    column = list->columnByText(caption);
    if (column > 0) {
      list->sortRows(column, descending);
      return std::nullopt;
    }
  } else {
    return control.qualifiedName() + " is not a list";
  }
  return control.qualifiedName() + " has no column captioned \"" + std::string(caption) + "\"";
}

}  // namespace quillon::forms
