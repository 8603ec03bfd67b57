// RowLabels: a column of a list's view alone, drawn right after the mark column — one text a data
// row under its own caption, to show where a row came from (the number of the head a line
// belongs to). It is none of the list's columns: the column count, the cells and everything that
// reads them never see it, so the rows a form hands on keep their columns. A person may hide it.
//
// The grid and the voucher list take it as a base; they drop the labels of rows they drop.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quillon::forms {

class RowLabels {
 public:
  // An empty caption removes the column.
  void setRowLabelColumn(std::string caption);
  const std::string& rowLabelCaption() const { return caption_; }
  // Whether the column is there and not hidden by the person.
  bool rowLabelsShown() const { return !caption_.empty() && shown_; }
  void setRowLabelsShown(bool on);
  // "" for a row without a label; ComError 381 outside the list's rows.
  std::string rowLabel(int row) const;
  void setRowLabel(int row, std::string text);

 protected:
  RowLabels() = default;
  ~RowLabels() = default;
  // The rows of the list: labels go no further.
  virtual int labelledRows() const = 0;
  // The column came, went, or was hidden or shown (`layout`), or a label changed.
  virtual void rowLabelsChanged(bool layout) = 0;
  // Drops the labels of rows from `rows` on.
  void truncateRowLabels(int rows);

 private:
  std::string caption_;
  bool shown_ = true;
  std::vector<std::string> labels_;  // by row; shorter than the rows when the last have none
};

}  // namespace quillon::forms
