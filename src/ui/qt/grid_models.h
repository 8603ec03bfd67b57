// Table models over the list controls (spread grid, voucher list, list view). The views ask only
// for the rows they draw, so a list of 100 000 rows costs what one screen of it costs.
//
// The controls announce changes without saying which cell changed, often once per cell while a
// form fills a list. The models gather those announcements and bring the view up to date once,
// when the event loop next runs: a new row or column count resets the model, anything else
// repaints what is shown. Between the two, data() reads the control directly and answers
// nothing for rows the control no longer has.
//
// Cells are shown as cell_display.h draws them (the display role), while the edit role keeps the
// control's own text; each refresh judges the look of every column from its first screenful.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "ui/qt/cell_display.h"

namespace quillon::forms {
class Control;
class ListView;
class MarlinVouchList;
class MsSuperGrid;
class RowLabels;
}  // namespace quillon::forms

namespace quillon::ui::qt {

class ControlTableModel : public QAbstractTableModel {
 public:
  explicit ControlTableModel(QObject* parent);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;

  // Gathers a change; `layout` marks one that may hide rows or change column widths.
  void changed(bool layout = false);
  // Rows were added at the end of the control (a list still loading grew): they are inserted,
  // so the selection, the current cell and the scroll position stay.
  void rowsAdded();
  // Applies the gathered changes now (the renderer's tests and screenshots call it too).
  void refreshNow();
  // How many rows a column's look is judged from (the view's first screenful).
  void setSampleRows(int rows) { sampleRows_ = rows < 1 ? 1 : rows; }
  int sampleRows() const { return sampleRows_; }
  const ColumnLook& look(int col) const;
  // Shows a column's caption on two lines (twoLineCaption) in the header, or on one again.
  void setTwoLineCaption(int col, bool on);
  // The control's caption and text of a column and model row ("" outside the control).
  virtual QString captionOf(int col) const = 0;
  virtual QString textOf(int row, int col) const = 0;
  // The caption a person reads over a column: a field name's Chinese caption
  // (forms/field_captions.h), the control's caption otherwise.
  QString drawnCaption(int col) const;
  // Whether a column holds an internal row key, kept in the control but never drawn.
  bool internalKey(int col) const;
  // Whether a model row is marked (its mark column shows a mark, or its check box is checked):
  // such a row is drawn in kMarkedRowColour.
  virtual bool rowMarked(int row) const;
  // The control's data row a model row shows, and the model row of a data row: the control may
  // show its rows sorted (forms/row_order.h), so they are not simply one apart.
  virtual int controlRow(int modelRow) const { return modelRow + 1; }
  virtual int modelRow(int controlRow) const { return controlRow - 1; }
  // While the control shows its row labels (forms/row_labels.h, a column of the view alone) they
  // are model column 1, right after the mark, and the control's column c >= 1 is model column
  // c + 1. The model column of the labels (-1 while not shown), the control's column a model
  // column shows (-1 for the labels), and the model column of a control's column.
  int labelColumn() const;
  int controlColumn(int modelCol) const;
  int modelColumn(int controlCol) const;
  // Rows of `list` that show `text` (forms/list_find.h) are tinted kFoundRowColour; an empty text
  // ends the tint.
  void showFound(const forms::Control& list, std::string text);
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
  // The control's row labels, for a control that may show them.
  virtual const forms::RowLabels* rowLabels() const { return nullptr; }
  // Whether (row, col) of the model still exists in the control.
  bool inSource(int row, int col) const;
  virtual std::string formatOf(int /*col*/) const { return {}; }
  virtual bool isMarkColumn(int /*col*/) const { return false; }
  // The display, alignment and colour roles of a cell by its column's look; an invalid variant
  // for any other role.
  QVariant shownData(int row, int col, int role) const;
  // The display and tool-tip roles of a column header.
  QVariant shownCaption(int col, int role) const;

 private:
  void judgeColumns();
  int rows_ = 0;
  int cols_ = 0;
  int sampleRows_ = 40;
  std::vector<ColumnLook> looks_;
  std::vector<char> twoLine_;
  const forms::Control* foundIn_ = nullptr;
  std::string found_;
  bool pending_ = false;
  bool layoutPending_ = false;
  bool attached_ = true;
};

// The background of a marked row, and of a row a search found.
inline const QColor kMarkedRowColour{0xFF, 0xF1, 0xC4};
inline const QColor kFoundRowColour{0xCF, 0xE8, 0xFF};

// MsSuperGrid: model row r is the grid's data row shown at place r + 1 (row 0 holds the captions,
// shown as the header).
class SuperGridModel final : public ControlTableModel {
 public:
  SuperGridModel(forms::MsSuperGrid& grid, QObject* parent);

  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  QString captionOf(int col) const override;
  QString textOf(int row, int col) const override;
  int controlRow(int modelRow) const override;
  int modelRow(int controlRow) const override;

 protected:
  int sourceRows() const override;
  int sourceCols() const override;
  std::string formatOf(int col) const override;
  bool isMarkColumn(int col) const override { return col == 0; }
  const forms::RowLabels* rowLabels() const override;

 private:
  forms::MsSuperGrid& grid_;
};

// MarlinVouchList: model row r is the data row shown at place r + 1; column 0 is the mark.
class VouchListModel final : public ControlTableModel {
 public:
  VouchListModel(forms::MarlinVouchList& list, QObject* parent);
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  QString captionOf(int col) const override;
  QString textOf(int row, int col) const override;
  int controlRow(int modelRow) const override;
  int modelRow(int controlRow) const override;

 protected:
  int sourceRows() const override;
  int sourceCols() const override;
  std::string formatOf(int col) const override;
  bool isMarkColumn(int col) const override { return col == 0; }
  const forms::RowLabels* rowLabels() const override;

 private:
  forms::MarlinVouchList& list_;
};

// ListView: model row r is the item shown at place r + 1; model column 0 the item's text (with its
// check box), column c its sub-item c.
class ListViewModel final : public ControlTableModel {
 public:
  ListViewModel(forms::ListView& list, QObject* parent);
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  QString captionOf(int col) const override;
  QString textOf(int row, int col) const override;
  int controlRow(int modelRow) const override;
  int modelRow(int controlRow) const override;
  bool rowMarked(int row) const override;

 protected:
  int sourceRows() const override;
  int sourceCols() const override;

 private:
  forms::ListView& list_;
};

}  // namespace quillon::ui::qt
