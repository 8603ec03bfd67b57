// StockReference: what the batch and receipt-voucher pickers of a line grid (stock_picker.h) ask
// of the stock reference — the choice of current-stock rows or receipt lines for one line, in the
// selection dialog or by the account's allocation rule, and the workstation's work table that
// keeps what the lines of one automatic run have taken, so that the next line is offered the rest.
//
// The public classes provide it (classes/ref_select_stock.h); the owner of a line-grid dialog
// hands it in (LineGridDialog::setStockReference). Every member works with the session's login
// (module::gContext) and lets the errors of its statements and of the selection dialog reach the
// caller.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace quillon::ado {
class Recordset;
}

namespace quillon::dialogs::kit {

// What a picker takes for a line: current stock by batch, or the receipt lines a return goes back
// to or an issue is taken from.
enum class StockPick { Batch, ReceiptVoucher };

class StockReference {
 public:
  // What one line asks for.
  struct Line {
    std::string whCode;
    std::string invCode;
    std::array<std::string, 10> free;  // free items 1 to 10
    double quantity = 0;
    double pieces = 0;
    double exchRate = 0;
  };

  virtual ~StockReference() = default;

  // The rows of `query` (current stock for Batch, receipt lines otherwise) offered for `line`, as
  // a red voucher when `red`, several allowed: the selection dialog, or with `automatic` the
  // account's allocation rule without it. A non-null `message` asks an automatic allocation for
  // silence: it comes in as the run's start text and is left as what the allocation said ("" when
  // allocated in full). Returns the chosen rows; null or empty when nothing was chosen.
  virtual std::shared_ptr<ado::Recordset> choose(StockPick pick, const Line& line,
                                                 const std::string& query, bool red, bool automatic,
                                                 std::string* message) = 0;

  // Makes (`create`) or drops the work table of `pick`'s rows.
  virtual void workTable(StockPick pick, bool create) = 0;
  // `query` rewritten to offer what the work table leaves of each row.
  virtual std::string netOfWorkTable(StockPick pick, const std::string& query) = 0;
  // Adds what a line took to the work table's row `id` (a current-stock row's or a receipt
  // line's id).
  virtual void recordTaken(StockPick pick, std::int32_t id, double quantity, double pieces) = 0;
  // The id of the current-stock row of a warehouse, item, free items and batch; 0 without one.
  virtual std::int32_t stockRowId(const std::string& whCode, const std::string& invCode,
                                  const std::array<std::string, 10>& free,
                                  const std::string& batch) = 0;
};

}  // namespace quillon::dialogs::kit
