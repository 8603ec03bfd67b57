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
    for (Written& w : written_) w.truncate(static_cast<std::size_t>(count_));
    if (count_ == 0) {
      source_.reset();
      written_.clear();
    }
  }
}

void GridCells::Written::put(std::size_t i, std::string_view text) {
  if (has(i)) live -= length[i];
  if (bytes.size() > 4096 && bytes.size() > 2 * live) {
    // Rewrites left most of the buffer unused: keep only the texts in place.
    std::string kept;
    kept.reserve(2 * live + text.size());
    for (std::size_t r = 0; r < length.size(); ++r) {
      if (!has(r)) continue;
      const std::string_view t = at(r);
      offset[r] = kept.size();
      kept.append(t);
    }
    bytes.swap(kept);
  }
  offset[i] = bytes.size();
  length[i] = static_cast<std::uint32_t>(text.size());
  bytes.append(text);
  live += text.size();
}

void GridCells::Written::truncate(std::size_t rows) {
  if (length.size() <= rows) return;
  for (std::size_t r = rows; r < length.size(); ++r) {
    if (has(r)) live -= length[r];
  }
  offset.resize(rows);
  length.resize(rows);
}

GridCells::Written* GridCells::writtenAt(int col) {
  if (static_cast<std::size_t>(col) >= written_.size()) return nullptr;
  return &written_[static_cast<std::size_t>(col)];
}

bool GridCells::fromSource(int row, int col) const {
  if (!bound(row)) return false;
  const auto c = static_cast<std::size_t>(col);
  return c >= written_.size() || !written_[c].has(static_cast<std::size_t>(row - first_));
}

std::string GridCells::sourceText(int row, int col) const {
  return bound(row) ? source_->cellText(row - first_, col) : std::string();
}

std::string GridCells::text(int row, int col) const {
  if (bound(row)) {
    const auto i = static_cast<std::size_t>(row - first_);
    if (static_cast<std::size_t>(col) < written_.size() &&
        written_[static_cast<std::size_t>(col)].has(i))
      return std::string(written_[static_cast<std::size_t>(col)].at(i));
    return source_->cellText(row - first_, col);
  }
  const auto& cells = dense_[static_cast<std::size_t>(row)];
  return cells.empty() ? std::string() : cells[static_cast<std::size_t>(col)];
}

bool GridCells::set(int row, int col, std::string text) {
  if (bound(row)) {
    Written& w = writtenColumn(col);
    const auto i = static_cast<std::size_t>(row - first_);
    if (w.has(i) && w.at(i) == text) return false;
    // A first write is not compared with the source's text: formatting it costs more than a
    // change announced once too often.
    w.put(i, text);
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
  if (w.length.empty()) {
    w.offset.resize(static_cast<std::size_t>(count_));
    w.length.assign(static_cast<std::size_t>(count_), Written::kUnwritten);
  }
  return w;
}

void GridCells::pin(int row, int col) {
  if (!bound(row)) return;
  const auto i = static_cast<std::size_t>(row - first_);
  if (const Written* w = writtenAt(col); w != nullptr && w->has(i)) return;
  writtenColumn(col).put(i, source_->cellText(row - first_, col));
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
