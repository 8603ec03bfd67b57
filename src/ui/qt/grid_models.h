// Table models over the list controls (spread grid, voucher list, list view). The views ask only
// for the rows they draw, so a list of 100 000 rows costs what one screen of it costs.
//
// The controls announce changes without saying which cell changed, often once per cell while a
// form fills a list. The models gather those announcements and bring the view up to date once,
// when the event loop next runs: a new row or column count resets the model, anything else
// repaints what is shown. Between the two, data() reads the control directly and answers
// nothing for rows the control no longer has.
#pragma once

#include <QAbstractTableModel>
#include <functional>

namespace quillon::forms {
class ListView;
class MarlinVouchList;
class MsSuperGrid;
}  // namespace quillon::forms

namespace quillon::ui::qt {

class ControlTableModel : public QAbstractTableModel {
 public:
  explicit ControlTableModel(QObject* parent);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;

  // Gathers a change; `layout` marks one that may hide rows or change column widths.
  void changed(bool layout = false);
  // Applies the gathered changes now (the renderer's tests and screenshots call it too).
  void refreshNow();
  // The control is going: from now on the model is empty and never reads it again.
  void detach();
  bool attached() const { return attached_; }

  // Run after every refresh, with whether rows or columns were reset and whether a layout change
  // was gathered; the view re-applies widths, hidden rows and the current cell.
  std::function<void(bool reset, bool layout)> refreshed;
  // Edits and checks a person makes in the view, handed to the view that owns the control.
  std::function<bool(int row, int col, const QString& text)> edited;
  std::function<bool(int row)> checked;
  // True while the view has a cell editor open: repainting the cells then would put the cell's
  // old text back into the editor, so the refresh waits for the edit to end.
  std::function<bool()> editing;

 protected:
  virtual int sourceRows() const = 0;
  virtual int sourceCols() const = 0;
  // Whether (row, col) of the model still exists in the control.
  bool inSource(int row, int col) const;

 private:
  int rows_ = 0;
  int cols_ = 0;
  bool pending_ = false;
  bool layoutPending_ = false;
  bool attached_ = true;
};

// MsSuperGrid: model row r is grid row r + 1 (row 0 holds the captions, shown as the header).
class SuperGridModel final : public ControlTableModel {
 public:
  SuperGridModel(forms::MsSuperGrid& grid, QObject* parent);
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 protected:
  int sourceRows() const override;
  int sourceCols() const override;

 private:
  forms::MsSuperGrid& grid_;
};

// MarlinVouchList: model row r is list row r + 1; column 0 is the mark.
class VouchListModel final : public ControlTableModel {
 public:
  VouchListModel(forms::MarlinVouchList& list, QObject* parent);
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 protected:
  int sourceRows() const override;
  int sourceCols() const override;

 private:
  forms::MarlinVouchList& list_;
};

// ListView: model row r is item r + 1; model column 0 the item's text (with its check box),
// column c its sub-item c.
class ListViewModel final : public ControlTableModel {
 public:
  ListViewModel(forms::ListView& list, QObject* parent);
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 protected:
  int sourceRows() const override;
  int sourceCols() const override;

 private:
  forms::ListView& list_;
};

}  // namespace quillon::ui::qt
