#include "forms/grid_cells.h"

#include <algorithm>

namespace quillon::forms {

void GridCells::resize(int rows, int cols) {
  const auto c = static_cast<std::size_t>(cols);
  if (cols != cols_) {
    for (auto& row : dense_) {
      if (!row.empty()) row.resize(c);
    }
    for (auto& cells : written_) {
      std::erase_if(cells, [cols](const auto& cell) { return cell.first >= cols; });
    }
    cols_ = cols;
  }
  dense_.resize(static_cast<std::size_t>(rows));
  if (source_ && first_ + count_ > rows) {
    count_ = std::max(rows - first_, 0);
    written_.resize(static_cast<std::size_t>(count_));
    if (count_ == 0) source_.reset();
  }
}

const std::string* GridCells::written(int row, int col) const {
  for (const auto& cell : written_[static_cast<std::size_t>(row - first_)]) {
    if (cell.first == col) return &cell.second;
  }
  return nullptr;
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
    auto& cells = written_[static_cast<std::size_t>(row - first_)];
    for (auto& cell : cells) {
      if (cell.first != col) continue;
      if (cell.second == text) return false;
      cell.second = std::move(text);
      return true;
    }
    // Not compared with the source's text: formatting it costs more than a change announced
    // once too often.
    cells.emplace_back(col, std::move(text));
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

void GridCells::pin(int row, int col) {
  if (!bound(row) || written(row, col) != nullptr) return;
  written_[static_cast<std::size_t>(row - first_)].emplace_back(col,
                                                                source_->text(row - first_, col));
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
  written_.assign(static_cast<std::size_t>(count_), {});
}

}  // namespace quillon::forms
