// frmRefSelect: the current-stock selection dialog. It shows the candidate stock rows (or receipt
// lines) of one voucher line in `spgList` and distributes the line's requested quantity over them,
// by hand (a click in the mark column takes a row) or automatically by the account's allocation
// rule. After OK `DataFrom` is limited to the chosen rows, each carrying the quantity and pieces
// taken this time in its this-time fields; after cancel, a closed window or OK with nothing chosen
// it is Nothing.
//
// The owner sets the public members, then shows the form (Refer) or loads it without showing it
// and calls AutoMatch and TaskRun("ok") (AutoRefer). The form reads its formats and allocation
// rules from the session context in gContext. A candidate query without the fields of its layout
// (ref_select_queries.h) makes Form_Load raise an error naming the field. Errors in its event
// handlers are not trapped: they reach the caller that drives the dialog (RefSelect, its host).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/vb_format.h"
#include "forms/controls.h"
#include "forms/dialog_shell.h"

namespace quillon::ado {
class Recordset;
}
namespace quillon::automation {
class Collection;
}
namespace quillon::components {
class InventoryItem;
}
namespace quillon::forms {
class RecordsetRows;
}

namespace quillon::dialogs {

class frmRefSelect : public forms::DialogShell {
 public:
  frmRefSelect();
  ~frmRefSelect() override;

  // Public members, set by the owner before the form loads.
  std::int32_t RefType = 0;
  std::shared_ptr<ado::Recordset> DataFrom;
  std::string WhCode;
  std::string InvCode;
  double Quantity = 0;
  double Num = 0;
  std::shared_ptr<automation::Collection> Free;
  double ExchRate = 0;
  bool IsRedVouch = false;
  bool MutiSel = true;
  std::string RefFrom;
  // The line's inventory; when left null, Form_Load looks `InvCode` up in the inventory archive.
  std::shared_ptr<components::InventoryItem> Inventory;
  // Whether Form_Load fills the grid; automatic allocation on a form never shown fills it
  // itself, in the rule's order, and needs no fill before.
  bool FillOnLoad = true;
  // Whether AutoMatch takes the rows a column at a time rather than row by row; both give the
  // same cells, fields and edit state (false for comparing the two).
  bool TakeByColumns = true;

  // Refills `grid` from `rs` with the rows the show-check-boxes let through.
  void FillGrid(forms::MsSuperGrid& grid, ado::Recordset& rs);
  // Automatic allocation; a non-empty `message` asks for silent mode (the outcome is put into it
  // instead of a message box). The result is always Empty.
  void AutoMatch(std::string& message);
  // "ok", "auto", "cancel" (any case); "all" and "none" do nothing.
  void TaskRun(std::string key);
  // Takes or gives back one data row.
  void RowToggle(int row);
  void SetToolbarIcon();

  // What is still wanted, and whether OK confirmed the selection.
  double remainingQuantity() const { return remaining_; }
  double remainingPieces() const { return remainingNum_; }
  bool confirmed() const { return confirmed_; }
  // Grid columns of the stock and this-time fields (0 when absent).
  int stockColumn() const { return colStock_; }
  int stockPiecesColumn() const { return colStockNum_; }
  int thisQuantityColumn() const { return colThis_; }
  int thisPiecesColumn() const { return colThisNum_; }

  forms::Toolbar& tbrTool = add<forms::Toolbar>("tbrTool", {0, 0, 9600, 420});
  forms::CTBCtrl& CTBCtrl1 = add<forms::CTBCtrl>("CTBCtrl1", {0, 0, 9600, 420});
  forms::HeadItem& hdiWhcode = add<forms::HeadItem>("hdiWhcode", {120, 480, 2900, 300}, "仓库");
  forms::HeadItem& hdiInvCode =
      add<forms::HeadItem>("hdiInvCode", {3240, 480, 2900, 300}, "存货编码");
  forms::HeadItem& hdiQuantity = add<forms::HeadItem>("hdiQuantity", {120, 840, 2900, 300}, "数量");
  forms::HeadItem& hdiNum = add<forms::HeadItem>("hdiNum", {3240, 840, 2900, 300}, "件数");
  forms::HeadItem& hdiExchRate =
      add<forms::HeadItem>("hdiExchRate", {6360, 840, 2900, 300}, "换算率");
  std::vector<forms::HeadItem*> hdiFree;  // elements 1 to 10 (index 0 unused)
  forms::CheckBox& chkShowMax =
      add<forms::CheckBox>("chkShowMax", {120, 2220, 1800, 300}, "显示结存>0");
  forms::CheckBox& chkShowZero =
      add<forms::CheckBox>("chkShowZero", {2040, 2220, 1800, 300}, "显示结存=0");
  forms::CheckBox& chkShowMin =
      add<forms::CheckBox>("chkShowMin", {3960, 2220, 1800, 300}, "显示结存<0");
  forms::MsSuperGrid& spgList = add<forms::MsSuperGrid>("spgList", {120, 2580, 9360, 3900});
  // With shared holds on: what other desks hold of the listed rows (hidden otherwise).
  forms::Label& lblOtherHolds = add<forms::Label>("lblOtherHolds", {6000, 2220, 3480, 300});

 protected:
  void Form_Load() override;
  void Form_Resize() override;
  void Form_Unload(int& Cancel) override;

 private:
  void checkLayout();
  void loadInventory();
  void showHeader();
  void arrangeFreeItems();
  void setActiveStates();
  void fixColumns(int cols);
  // The this-time quantity a data row's cell holds, read when first needed.
  double rowQty(int row);
  // What goes into a this-time cell: a text, or a value shown through a format (the text made
  // when the cell is read); and the number the cell then reads as (nothing: not a number).
  struct CellValue {
    std::string text;
    const automation::NumberFormat* format = nullptr;
    double value = 0;
    std::optional<double> number;
    static CellValue ofText(std::string text);
    // Kept as the value when the format tells what its text reads as, else as the text.
    static CellValue formatted(double value, const automation::NumberFormat& format);
    bool blank() const;
  };
  // A quantity or pieces value as the dialog writes it, formatted.
  CellValue qtyCell(double value) const;
  CellValue numCell(double value) const;
  void writeCell(int col, int row, const CellValue& cell);
  void cellChange(std::string& text, bool& cancel, int row, int col);
  // The cell rule for a value entered in (or written into) a this-time cell.
  bool applyCellRule(int row, int col, const CellValue& cell);
  // Whether a typed this-time amount goes above the row's stock on an account that allows no
  // negative stock, and saying so (naming the row and its stock) when it does.
  bool refusesOverStock(int row, int col, double value);
  // The status line under spgList: rows, marked rows, requested, allocated and still needed.
  std::string statusLine() const;
  // Whether the voucher refuses a value of that sign, and saying so when it does.
  bool wrongSign(double value) const;
  bool refusesSign(double value) const;
  // The row's rate of quantity to pieces (its stock's, or the line's without stock pieces), 0
  // when the row has none.
  double rowRate(int row);
  // `marked` is whether the row is marked, when the caller knows.
  void setQtyCell(int row, const CellValue& cell, std::optional<bool> marked = std::nullopt);
  // Each returns what it wrote into the this-time quantity cell, if anything.
  std::optional<CellValue> deselectRow(int row);
  std::optional<CellValue> selectRow(int row);
  std::int32_t positionOf(int row) const;  // the record's AbsolutePosition
  // Writes a this-time field of the grid row's record; the record's place and the field's may be
  // given by a caller that writes several.
  void writeField(int row, const std::string& name, double value);
  std::size_t fieldPlace(const std::string& name);
  // `writtenCol`: a grid column whose cell of the row the caller has just written, which needs
  // no pin to the text it was filled with.
  void writeFieldAt(int row, std::int32_t position, std::size_t field, double value,
                    int writtenCol = 0);
  // Takes a row as the fill left it (not marked, its this-time cell showing its record) as
  // RowToggle would, with fewer steps. False, with nothing changed, when the row needs RowToggle:
  // a take of nothing, a value kept as text, a sign the voucher refuses.
  bool takeFilledRow(int row);
  // takeFilledRow of rows first, first + 1, ... up to `last`, going on while the allocation does
  // (allocateRows' test), a column at a time: the stock columns read once, the shares worked out
  // over them, then the marks, the this-time cells and the this-time fields written in one pass
  // each. Right after a fill only. Stops before a row it cannot take so (one takeFilledRow
  // would not take, a cell that does not read as a plain number, a layout that needs pins);
  // returns the row after the last taken and sets `more` to whether the allocation goes on.
  int takeFilledRows(int first, int last, bool& more);
  // The this-time fields of a quantity just written into the row's cell, with its pieces at
  // `rate` (none at 0); and the pieces at the line's rate, where only that rate counts.
  // `qtyCellWritten`: the quantity was written into the this-time cell just before.
  void writeThisTime(int row, std::int32_t position, double qty, double rate,
                     bool qtyCellWritten = false);
  // Whether the this-time pieces follow the voucher's rate (a rate given, pieces not requested).
  bool piecesAtExchRate() const;
  void writePiecesAtExchRate(int row, std::int32_t position, double qty);
  void gridClick();
  void showOtherHolds();
  void ClearSelection(int except);
  void CollectSelection();
  // The requested quantity or pieces edited in the header.
  enum class Amount { Quantity, Pieces };
  struct HeadAmount;
  HeadAmount headAmount(Amount which);
  void requestChange(Amount which, bool& cancel);
  void rateChange(bool& cancel);
  bool piecesToo() const;
  void report(std::string& message, bool silent);
  void resetRows();

  std::string formatQty(double v) const;
  std::string formatNum(double v) const;
  std::string formatRate(double v) const;
  double cellNumber(int col, int row) const;
  // A stock cell of the row being toggled is read once, for the take and for the rate.
  double stockCell(int col, int row);
  // The amount cells of a listed row, asked into the cache a few rows before the allocation
  // reads and writes them.
  void prefetchRow(int row) const;

  // Formats and options of the account, read at load.
  automation::NumberFormat qtyFormat_;
  automation::NumberFormat numFormat_;
  automation::NumberFormat rateFormat_;
  bool usesPieces_ = false;
  // The account option "bStockNegative": an issue may take more than a row holds.
  bool stockNegative_ = true;
  // Which free items (1 to 10) the inventory uses; index 0 unused.
  std::array<bool, 11> freeUsed_{};

  std::string colStockName_;
  std::string colStockNumName_;
  std::string colThisName_;
  std::string colThisNumName_;
  int colStock_ = 0;
  int colStockNum_ = 0;
  int colThis_ = 0;
  int colThisNum_ = 0;

  double remaining_ = 0;
  double remainingNum_ = 0;
  bool confirmed_ = false;

  // The rows bound to spgList by the last fill (they give each data row its record's
  // AbsolutePosition), and per grid row (index = row) the this-time quantity its cell holds, NaN
  // until it is first read. `allocated_` is the sum of the quantities of marked rows, kept as
  // rows change so that recomputing what is still wanted never walks the grid.
  std::shared_ptr<const forms::RecordsetRows> listed_;
  // Places of the this-time fields in the rows DataFrom was open on at their first write.
  const void* placesIn_ = nullptr;
  std::optional<std::size_t> thisField_;
  std::optional<std::size_t> thisNumField_;
  std::vector<double> rowQty_;
  double allocated_ = 0;
  struct ToggledStock {
    int row = 0;
    std::optional<double> stock;
    std::optional<double> stockNum;
    // The pieces the row took, written into its cell after the cell rule unless the rule puts
    // its own there (one write instead of two).
    std::optional<double> pieces;
  };
  ToggledStock toggled_;
};

}  // namespace quillon::dialogs
