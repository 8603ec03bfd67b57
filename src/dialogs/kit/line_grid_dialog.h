// LineGridDialog: the reference dialog whose heads and lines are spread grids with a mark column
// (the order and arrival-note dialog, the delivery-note dialog). It owns what such a dialog does
// alike, as template steps around what the dialog adds:
//   - loading: the suite's purchase reference service, the user's department, warehouse and
//     inventory rights, the account's number formats, grey grids, the login date in the date box,
//     then the dialog's own load (loadLineDialog);
//   - the filter: the dialog's head query (queryHeads) shown in the head grid of the page in front,
//     laid out, its lines listed again;
//   - the head grid's marks: a click marks a head and adds its lines (queryLines), unmarking lists
//     the lines of the marked heads again; the show-lines box lists them all or none;
//   - the line grid shows, beside each line, the number of the head it came from (taken from the
//     head rows already read; never a column of the lines, so nothing handed on changes); its
//     pop-up menu shows or hides that column, remembered per user and dialog for a person;
//   - the line grid: a click in the mark column (or Space, or on a cell a person cannot edit)
//     marks or unmarks a line, a click into an editable cell marks the line if need be and starts
//     the edit, the status line sums the marked lines, a right click opens the pop-up menu (copy
//     the line, clear the marks, hide the line), a date typed into a date column is checked before
//     the dialog's edit rules (lineCellChange), a cell button offers the item's units or free-item
//     values before the dialog's own buttons (lineCellButton);
//   - OK: finish the edits, confirm, refuse without a current head, list the lines, collect the
//     marked lines (completeLine may refuse them) and then the marked heads (completeHead), hand
//     "Head", "Body" and "Date" with the dialog's own items (addResults) to the owner, save the
//     dialog's registry choices (saveChoices) and hide: the owner may show the dialog again;
//   - cancel unloads; unloading hands the owner Nothing;
//   - Ctrl+B and Ctrl+Q: the batch and receipt-voucher pickers of the current line.
// The dialog keeps its filters, tabs (pages), edit rules, messages and keys.
//
// An error of the filter, of the head marks or of the listing of lines (also when OK lists them)
// is not the dialog's to deal with: it ends the dialog and reaches the owner's error trap. An
// error in any other handler goes as the dialog's policy says.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/kit/reference_dialog.h"
#include "dialogs/kit/stock_picker.h"
#include "module/fill_grid.h"
#include "module/grid_records.h"

namespace quillon::ado {
class Recordset;
}
namespace quillon::automation {
class Collection;
}
namespace quillon::components {
class PurchaseRefService;
}
namespace quillon::forms {
class CheckBox;
class MsSuperGrid;
}  // namespace quillon::forms

namespace quillon::dialogs::kit {

class LineGridDialog : public ReferenceDialog {
 public:
  ~LineGridDialog() override;

  // The stock reference the batch and receipt-voucher pickers work through; the owner hands it
  // in. Without one a picker raises error 91.
  void setStockReference(std::shared_ptr<StockReference> reference);

  // The state the dialog works with, for its owner's tests and diagnostics.
  const std::shared_ptr<ado::Recordset>& headRecordset() const { return heads_; }
  const std::shared_ptr<ado::Recordset>& lineRecordset() const { return lines_; }

 protected:
  LineGridDialog(std::string name, std::string caption, int width, int height);

  // A page of heads and their lines (one a tab, for a dialog with tabs).
  struct Page {
    forms::MsSuperGrid& heads;
    forms::MsSuperGrid& lines;
    module::LineGrid kind;     // what the lines are
    std::string_view headKey;  // the head field whose value lists a head's lines
    // The head field holding the head's number (cdlcode, cpoid, ccode): every line shows the
    // number of the head it came from, in a column of the view alone (none without the field).
    std::string_view headNumber = {};
  };
  // The controls the protocol works with, as the dialog declares them.
  struct Controls {
    forms::CommandButton& ok;
    forms::CommandButton& cancel;
    forms::CommandButton& lookupButton;  // the filter fields' (ReferenceDialog::filterField)
    forms::CheckBox& showLines;          // lists the lines of the marked heads
    forms::CheckBox& showClosed;         // lists heads executed in full and not closed too
    forms::TextBox& date;                // OK hands it on under "Date"
    forms::Menu& lineMenu;               // the line grids' pop-up menu and its items
    forms::Menu& copyLine;
    forms::Menu& clearMarks;
    forms::Menu& hideLine;
  };
  // How the dialog's protocol differs.
  struct Manner {
    std::string_view confirmTitle;  // the title of OK's question
    bool keysAllocate = false;      // Ctrl+B / Ctrl+Q allocate automatically, else they ask
  };
  // Called once by the dialog's constructor, after its controls.
  void bindLineDialog(const Controls& controls, std::vector<Page> pages, Manner manner);

  // ---- the dialog's steps

  // The page in front (the tab shown).
  virtual int pageShown() const { return 0; }
  // What Form_Load does that is the dialog's own, once the protocol's part is done.
  virtual void loadLineDialog() = 0;
  // The heads the filter boxes ask for (the dialog also keeps the filter text it used).
  virtual std::shared_ptr<ado::Recordset> queryHeads() = 0;
  // The lines of the head `headKey`; `singleHead` when a click has just marked it.
  virtual std::shared_ptr<ado::Recordset> queryLines(std::int32_t headKey, bool singleHead) = 0;
  // After lines were added to `page`'s line grid and laid out.
  virtual void linesListed(Page& page);

  // An edit of a line cell, after a date column's refusal of a text that is no date.
  struct LineEdit {
    forms::MsSuperGrid& grid;
    module::LineGrid kind;
    int row;
    int col;
    std::string caption;  // the column's
    std::string old;      // the cell's text before
    bool thisQuantity;    // this time's quantity column
    bool thisPieces;      // this time's pieces column
    bool dateColumn;      // an expiry or production date
  };
  // Sets `cancel` to refuse `text`, or changes `text` to what the cell takes.
  virtual void lineCellChange(const LineEdit& edit, std::string& text, bool& cancel) = 0;
  // A cell button that is not a unit's or a free item's.
  virtual void lineCellButton(forms::MsSuperGrid& grid, int row, int col) = 0;

  // OK's refusal without a current head.
  virtual std::string_view noHeadMessage() const = 0;
  // A collected line's record, being added: fields the dialog sets, or a refusal of OK.
  virtual std::optional<std::string> completeLine(ado::Recordset& record,
                                                  const module::GridRowRecord& read);
  // A collected head's record, being added.
  virtual void completeHead(ado::Recordset& record);
  // OK's own items after "Head", "Body" and "Date".
  virtual void addResults(automation::Collection& results);
  // What the dialog keeps of an accepted OK (its registry choices, its own flags), after the owner
  // has the rows.
  virtual void saveChoices() = 0;

  // ---- what the dialog's steps use

  Page& shownPage() { return pages_.at(static_cast<std::size_t>(pageShown())); }
  // The page whose line grid `lines` is.
  const Page& pageOf(const forms::MsSuperGrid& lines) const;
  components::PurchaseRefService& service() const;
  const module::GridNumberFormats& formats() const { return formats_; }
  const std::shared_ptr<ado::Recordset>& lines() const { return lines_; }
  // The user's rights, as lists for IN (...): departments, warehouses, inventories.
  const std::string& departments() const { return departments_; }
  const std::string& warehouses() const { return warehouses_; }
  const std::string& inventories() const { return inventories_; }
  // Form_Load has run: the check boxes' Click handlers filter and list only from then on.
  bool ready() const { return ready_; }

  // The filter: queryHeads shown and laid out, the lines listed again.
  void filter();
  // The lines of the marked heads, when the show-lines box is checked.
  void showLines();
  // The head and line recordsets let go, when the dialog empties its grids.
  void forgetRows();
  // Both layout flags cleared: the next fill lays the grids out again.
  static void clearLayoutFlags();

  // The line recordset's field in a line grid: its column (0 without one), a row's cell and its
  // number; a row as one record.
  int lineColumn(std::string_view field) const;
  std::string lineCell(const forms::MsSuperGrid& grid, int row, std::string_view field) const;
  double lineNumber(const forms::MsSuperGrid& grid, int row, std::string_view field) const;
  std::shared_ptr<ado::Recordset> lineRecordOf(const forms::MsSuperGrid& grid, int row) const;
  // A value chosen for a cell is an edit of the cell, under the cell's rules.
  void editCell(forms::MsSuperGrid& grid, int row, int col, std::string text);
  // EditWithUnitRoutine on a line grid.
  std::vector<std::string> editWithUnitRoutine(forms::MsSuperGrid& grid, int row, int col,
                                               const std::string& text, bool& cancel);
  // The pickers: on row `row`, or on the current line of the page in front (a beep without
  // lines; nothing on a hidden line or without the picker's column).
  PickResult pickForLine(forms::MsSuperGrid& grid, int row, StockPick pick, bool automatic);
  void pickForCurrentLine(StockPick pick, bool automatic);
  StockReference& stockReference() const;

  void Form_Load() override;
  void loadDialog() final;
  void Form_Unload(int& Cancel) override;
  void Form_KeyDown(int& KeyCode, int Shift) override;
  void okClicked() final;
  void cancelClicked() final;

 private:
  void headMouseUp(forms::MsSuperGrid& heads, int button);
  void lineMouseUp(forms::MsSuperGrid& lines, int button);
  // A scanned item code, batch or unit barcode: the line it names is marked and its this-time
  // quantity goes up by the count (of the unit, for a unit barcode) through the grid's edit rules.
  void scanLine(forms::MsSuperGrid& lines, const std::string& text, int& found);
  // The status line under a line grid: its rows, the marked ones, and the sums of this time's
  // quantity and pieces over the marked lines.
  std::string lineStatus(const forms::MsSuperGrid& lines) const;
  void cellChanged(forms::MsSuperGrid& grid, std::string& text, bool& cancel, int row, int col);
  void cellButton(forms::MsSuperGrid& grid, int row, int col);
  void appendLinesOf(int headRow, bool singleHead);
  // The head-number column of every line grid, shown or hidden (and remembered so).
  void showHeadNumbers(bool on, bool remember);
  std::shared_ptr<ado::Recordset> collect(forms::MsSuperGrid& grid, module::LineGrid kind,
                                          const std::shared_ptr<ado::Recordset>& source,
                                          std::optional<std::string>* refusal);

  std::vector<Page> pages_;
  std::optional<Controls> controls_;
  Manner manner_;
  std::shared_ptr<components::PurchaseRefService> service_;
  std::shared_ptr<StockReference> stockReference_;
  module::GridNumberFormats formats_;
  std::shared_ptr<ado::Recordset> heads_;
  std::shared_ptr<ado::Recordset> lines_;
  // The lines of each line grid a scan has counted into since the grid was last emptied.
  std::map<const forms::MsSuperGrid*, std::set<int>> scanned_;
  std::string departments_;
  std::string warehouses_;
  std::string inventories_;
  forms::Menu* headNumberItem_ = nullptr;
  bool ready_ = false;
};

}  // namespace quillon::dialogs::kit
