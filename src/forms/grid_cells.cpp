#include "forms/grid_cells.h"

#include <algorithm>

namespace quillon::forms {

void GridCells::resize(int rows, int cols) {
  const auto c = static_cast<std::size_t>(cols);
  if (cols != cols_) {
    for (auto& row : dense_) {
      if (!row.empty()) row.resize(c);
    }
    written_.resize(std::min(written_.size(), c));
    cols_ = cols;
  }
  dense_.resize(static_cast<std::size_t>(rows));
  if (source_ && first_ + count_ > rows) {
    count_ = std::max(rows - first_, 0);
    for (Written& w : written_) {
      if (w.texts.size() > static_cast<std::size_t>(count_)) {
        w.texts.resize(static_cast<std::size_t>(count_));
        w.present.resize(static_cast<std::size_t>(count_));
      }
    }
    if (count_ == 0) {
      source_.reset();
      written_.clear();
    }
  }
}

const std::string* GridCells::written(int row, int col) const {
  if (static_cast<std::size_t>(col) >= written_.size()) return nullptr;
  const Written& w = written_[static_cast<std::size_t>(col)];
  const auto i = static_cast<std::size_t>(row - first_);
  return i < w.present.size() && w.present[i] ? &w.texts[i] : nullptr;
}

std::string GridCells::text(int row, int col) const {
  if (bound(row)) {
    if (const std::string* t = written(row, col)) return *t;
    return source_->text(row - first_, col);
  }
  const auto& cells = dense_[static_cast<std::size_t>(row)];
  return cells.empty() ? std::string() : cells[static_cast<std::size_t>(col)];
}

bool GridCells::set(int row, int col, std::string text) {
  if (bound(row)) {
    Written& w = writtenColumn(col);
    const auto i = static_cast<std::size_t>(row - first_);
    if (w.present[i] && w.texts[i] == text) return false;
    // A first write is not compared with the source's text: formatting it costs more than a
    // change announced once too often.
    w.texts[i] = std::move(text);
    w.present[i] = true;
    return true;
  }
  auto& cells = dense_[static_cast<std::size_t>(row)];
  if (cells.empty()) {
    if (text.empty()) return false;
    cells.resize(static_cast<std::size_t>(cols_));
  }
  auto& cell = cells[static_cast<std::size_t>(col)];
  if (cell == text) return false;
  cell = std::move(text);
  return true;
}

GridCells::Written& GridCells::writtenColumn(int col) {
  if (written_.size() <= static_cast<std::size_t>(col))
    written_.resize(static_cast<std::size_t>(col) + 1);
  Written& w = written_[static_cast<std::size_t>(col)];
  if (w.texts.empty()) {
    w.texts.resize(static_cast<std::size_t>(count_));
    w.present.assign(static_cast<std::size_t>(count_), false);
  }
  return w;
}

void GridCells::pin(int row, int col) {
  if (!bound(row) || written(row, col) != nullptr) return;
  Written& w = writtenColumn(col);
  const auto i = static_cast<std::size_t>(row - first_);
  w.texts[i] = source_->text(row - first_, col);
  w.present[i] = true;
}

void GridCells::clear() {
  for (auto& row : dense_) row.clear();
  source_.reset();
  first_ = count_ = 0;
  written_.clear();
}

void GridCells::bind(std::shared_ptr<const CellSource> source, int first, int count) {
  count = std::clamp(count, 0, std::max(rows() - first, 0));
  for (int r = first; r < first + count; ++r) dense_[static_cast<std::size_t>(r)] = {};
  source_ = count > 0 ? std::move(source) : nullptr;
  first_ = first;
  count_ = source_ ? count : 0;
  written_.clear();
}

}  // namespace quillon::forms
