#include "forms/grid_cells.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "automation/com_error.h"

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
  rows_ = rows;
  if (dense_.size() > static_cast<std::size_t>(rows)) dense_.resize(static_cast<std::size_t>(rows));
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
  static_assert(std::endian::native == std::endian::little, "inline cell texts");
  if (has(i) && inArena(i)) live -= static_cast<std::uint32_t>(cells[i]);
  if (text.size() <= kInlineBytes) {
    std::uint64_t c = kInline | std::uint64_t{text.size()} << 56;
    if (!text.empty()) std::memcpy(&c, text.data(), text.size());  // an empty view may have no data
    cells[i] = c;
    return;
  }
  if (stored > 4096 && stored > 2 * live) {
    // Rewrites left most of the arena unused: keep only the texts in place.
    ado::TextArena kept;
    std::size_t keptBytes = 0;
    for (std::size_t r = 0; r < cells.size(); ++r) {
      if (!has(r) || !inArena(r)) continue;
      const std::string_view t = textAt(r);
      cells[r] = std::uint64_t{kept.append(t)} << 32 | t.size();
      keptBytes += t.size();
    }
    bytes = std::move(kept);
    stored = keptBytes;
  }
  const std::uint32_t offset = bytes.append(text);
  if (offset >= 0x80000000u) throw automation::ComError::outOfMemory();
  cells[i] = std::uint64_t{offset} << 32 | text.size();
  stored += text.size();
  live += text.size();
}

void GridCells::Written::putNumber(std::size_t i, double value) {
  if (has(i) && inArena(i)) live -= static_cast<std::uint32_t>(cells[i]);
  if (numbers.size() == 0) {
    numbers.reserve(cells.size());
    numbers.append(cells.size(), 0.0);
  }
  cells[i] = kNumber;
  numbers[i] = value;
}

void GridCells::Written::truncate(std::size_t rows) {
  if (cells.size() <= rows) return;
  ado::ChunkedArray<std::uint64_t> kept;
  ado::ChunkedArray<double> keptNumbers;
  kept.reserve(rows);
  for (std::size_t r = 0; r < rows; ++r) {
    kept.push_back(cells[r]);
    if (numbers.size() > 0) keptNumbers.push_back(numbers[r]);
  }
  for (std::size_t r = rows; r < cells.size(); ++r) {
    if (has(r) && inArena(r)) live -= static_cast<std::uint32_t>(cells[r]);
  }
  cells = std::move(kept);
  numbers = std::move(keptNumbers);
}

const GridCells::Written* GridCells::writtenAt(int col) const {
  if (static_cast<std::size_t>(col) >= written_.size()) return nullptr;
  return &written_[static_cast<std::size_t>(col)];
}

bool GridCells::fromSource(int row, int col) const {
  if (!bound(row)) return false;
  const Written* w = writtenAt(col);
  return w == nullptr || !w->has(static_cast<std::size_t>(row - first_));
}

std::string GridCells::sourceText(int row, int col) const {
  return bound(row) ? source_->cellText(row - first_, col) : std::string();
}

std::optional<double> GridCells::sourceNumber(int row, int col) const {
  if (!fromSource(row, col)) return std::nullopt;
  return source_->cellNumber(row - first_, col);
}

std::string GridCells::text(int row, int col) const {
  if (bound(row)) {
    const auto i = static_cast<std::size_t>(row - first_);
    if (const Written* w = writtenAt(col); w != nullptr && w->has(i)) return w->text(i);
    return source_->cellText(row - first_, col);
  }
  const auto r = static_cast<std::size_t>(row);
  if (r >= dense_.size() || dense_[r].empty()) return {};
  return dense_[r][static_cast<std::size_t>(col)];
}

bool GridCells::holds(int row, int col, std::string_view text) const {
  if (bound(row)) {
    const auto i = static_cast<std::size_t>(row - first_);
    if (const Written* w = writtenAt(col); w != nullptr && w->has(i)) {
      // A short text held in the cell itself (a mark) is compared as the cell's value.
      const std::uint64_t cell = w->cells[i];
      if (text.size() == 1 && Written::isInline(cell)) {
        return cell == (Written::kInline | std::uint64_t{1} << 56 |
                        static_cast<std::uint64_t>(static_cast<unsigned char>(text[0])));
      }
      return w->holds(i, text);
    }
    return source_->cellText(row - first_, col) == text;
  }
  const auto r = static_cast<std::size_t>(row);
  if (r >= dense_.size() || dense_[r].empty()) return text.empty();
  return dense_[r][static_cast<std::size_t>(col)] == text;
}

std::vector<int> GridCells::rowsHolding(int first, int last, int col,
                                        std::string_view text) const {
  std::vector<int> rows;
  const Written* w = source_ ? writtenAt(col) : nullptr;
  if (w != nullptr && w->cells.size() == 0) w = nullptr;
  // A short text held in a cell itself is compared as the cell's value.
  const bool inlined = text.size() <= Written::kInlineBytes;
  std::uint64_t cellValue = Written::kInline | std::uint64_t{text.size()} << 56;
  if (inlined && !text.empty()) std::memcpy(&cellValue, text.data(), text.size());
  for (int row = first; row <= last; ++row) {
    if (w != nullptr && bound(row)) {
      const auto i = static_cast<std::size_t>(row - first_);
      const std::uint64_t cell = w->cells[i];
      if (inlined && Written::isInline(cell)) {
        if (cell == cellValue) rows.push_back(row);
        continue;
      }
    }
    if (holds(row, col, text)) rows.push_back(row);
  }
  return rows;
}

bool GridCells::set(int row, int col, std::string_view text) {
  if (!bound(row)) return set(row, col, std::string(text));
  Written& w = writtenColumn(col);
  const auto i = static_cast<std::size_t>(row - first_);
  if (w.has(i) && w.holds(i, text)) return false;
  // A first write is not compared with the source's text: formatting it costs more than a
  // change announced once too often.
  w.put(i, text);
  return true;
}

bool GridCells::set(int row, int col, std::string text) {
  if (bound(row)) return set(row, col, std::string_view(text));
  const auto r = static_cast<std::size_t>(row);
  if (r >= dense_.size() || dense_[r].empty()) {
    if (text.empty()) return false;
    if (r >= dense_.size()) dense_.resize(r + 1);
    dense_[r].resize(static_cast<std::size_t>(cols_));
  }
  auto& cell = dense_[r][static_cast<std::size_t>(col)];
  if (cell == text) return false;
  cell = std::move(text);
  return true;
}

bool GridCells::setNumber(int row, int col, double value, const automation::NumberFormat& format) {
  if (!bound(row)) return set(row, col, format.format(value));
  Written& w = writtenColumn(col);
  const auto i = static_cast<std::size_t>(row - first_);
  if (!w.format) w.format = format;
  // A column holds its numbers in one format; a number in another is kept as its text.
  if (!w.format->sameAs(format)) return set(row, col, format.format(value));
  if (w.has(i) && w.isNumber(i) && w.numbers[i] == value) return false;
  w.putNumber(i, value);
  return true;
}

bool GridCells::setNumbers(std::span<const int> rows, int col, std::span<const double> values,
                           const automation::NumberFormat& format) {
  bool changed = false;
  Written* w = nullptr;
  bool sameFormat = false;
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const int row = rows[k];
    if (!bound(row)) {
      changed = setNumber(row, col, values[k], format) || changed;
      continue;
    }
    if (w == nullptr) {
      w = &writtenColumn(col);
      if (!w->format) w->format = format;
      sameFormat = w->format->sameAs(format);
    }
    // A column holds its numbers in one format; a number in another is kept as its text.
    if (!sameFormat) {
      changed = set(row, col, format.format(values[k])) || changed;
      continue;
    }
    const auto i = static_cast<std::size_t>(row - first_);
    std::uint64_t& cell = w->cells[i];
    if (cell == Written::kNumber) {
      double& number = w->numbers[i];
      if (number == values[k]) continue;
      number = values[k];
      changed = true;
      continue;
    }
    if (cell == Written::kUnwritten && w->numbers.size() != 0) {
      cell = Written::kNumber;
      w->numbers[i] = values[k];
      changed = true;
      continue;
    }
    w->putNumber(i, values[k]);
    changed = true;
  }
  return changed;
}

bool GridCells::setTexts(int first, int count, int col, std::string_view text) {
  bool changed = false;
  Written* w = nullptr;
  // A short text is one cell value: comparing and storing it needs no look at the text.
  const bool inlined = text.size() <= Written::kInlineBytes;
  std::uint64_t cellValue = Written::kInline | std::uint64_t{text.size()} << 56;
  if (inlined && !text.empty()) std::memcpy(&cellValue, text.data(), text.size());
  for (int row = first; row < first + count; ++row) {
    if (!bound(row)) {
      changed = set(row, col, text) || changed;
      continue;
    }
    if (w == nullptr) w = &writtenColumn(col);
    const auto i = static_cast<std::size_t>(row - first_);
    if (inlined) {
      std::uint64_t& cell = w->cells[i];
      if (cell == cellValue) continue;
      if (cell != Written::kNumber) {
        if (cell != Written::kUnwritten && cell < Written::kInline)
          w->live -= static_cast<std::uint32_t>(cell);
        cell = cellValue;
        changed = true;
        continue;
      }
    }
    if (w->has(i) && w->holds(i, text)) continue;
    w->put(i, text);
    changed = true;
  }
  return changed;
}

GridCells::Written& GridCells::writtenColumn(int col) {
  if (written_.size() <= static_cast<std::size_t>(col))
    written_.resize(static_cast<std::size_t>(col) + 1);
  Written& w = written_[static_cast<std::size_t>(col)];
  if (w.cells.size() == 0) {
    const auto count = static_cast<std::size_t>(count_);
    w.cells.reserve(count);
    w.cells.append(count, Written::kUnwritten);
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

bool GridCells::growBound(int count) {
  if (!source_ || first_ + count_ != rows_) return false;
  if (count <= count_) return true;
  for (Written& w : written_) {
    if (w.cells.size() == 0) continue;  // sized when first written
    while (w.cells.size() < static_cast<std::size_t>(count)) w.cells.push_back(Written::kUnwritten);
    if (w.numbers.size() == 0) continue;
    while (w.numbers.size() < static_cast<std::size_t>(count)) w.numbers.push_back(0.0);
  }
  count_ = count;
  rows_ = first_ + count;
  return true;
}

void GridCells::bind(std::shared_ptr<const CellSource> source, int first, int count) {
  count = std::clamp(count, 0, std::max(rows() - first, 0));
  const auto end = std::min(dense_.size(), static_cast<std::size_t>(first + count));
  for (auto r = static_cast<std::size_t>(first); r < end; ++r) dense_[r] = {};
  source_ = count > 0 ? std::move(source) : nullptr;
  first_ = first;
  count_ = source_ ? count : 0;
  written_.clear();
}

}  // namespace quillon::forms
