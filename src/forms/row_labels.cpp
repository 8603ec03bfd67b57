#include "forms/row_labels.h"

#include "automation/com_error.h"

namespace quillon::forms {

void RowLabels::setRowLabelColumn(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  rowLabelsChanged(true);
}

void RowLabels::setRowLabelsShown(bool on) {
  if (on == shown_) return;
  shown_ = on;
  rowLabelsChanged(true);
}

std::string RowLabels::rowLabel(int row) const {
  if (row < 0 || row >= labelledRows()) throw automation::ComError::invalidPropertyArrayIndex();
  const auto at = static_cast<std::size_t>(row);
  return at < labels_.size() ? labels_[at] : std::string();
}

void RowLabels::setRowLabel(int row, std::string text) {
  if (row < 0 || row >= labelledRows()) throw automation::ComError::invalidPropertyArrayIndex();
  const auto at = static_cast<std::size_t>(row);
  if (at >= labels_.size()) {
    if (text.empty()) return;
    labels_.resize(at + 1);
  }
  if (labels_[at] == text) return;
  labels_[at] = std::move(text);
  rowLabelsChanged(false);
}

void RowLabels::truncateRowLabels(int rows) {
  const auto keep = static_cast<std::size_t>(rows < 0 ? 0 : rows);
  if (labels_.size() > keep) labels_.resize(keep);
}

}  // namespace quillon::forms
