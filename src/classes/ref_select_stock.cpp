#include "classes/ref_select_stock.h"

#include "ado/recordset.h"
#include "automation/collection.h"
#include "automation/com_error.h"
#include "classes/ref_select.h"
#include "components/marlin_login.h"
#include "components/session_context.h"
#include "module/module_state.h"

namespace quillon::classes {

namespace {

using dialogs::kit::StockPick;

// RefSelect's reference types: current stock by batch, receipt lines.
constexpr std::int32_t kBatchReference = 0;
constexpr std::int32_t kReceiptReference = 1;

class RefSelectStock : public dialogs::kit::StockReference {
 public:
  std::shared_ptr<ado::Recordset> choose(StockPick pick, const Line& line, const std::string& query,
                                         bool red, bool automatic, std::string* message) override {
    RefSelect::Request request;
    request.whCode = line.whCode;
    request.invCode = line.invCode;
    request.free = std::make_shared<automation::Collection>();
    for (const std::string& value : line.free) request.free->add(automation::Variant(value));
    request.quantity = line.quantity;
    request.num = line.pieces;
    request.exchRate = line.exchRate;
    request.refType = pick == StockPick::Batch ? kBatchReference : kReceiptReference;
    request.sql = query;
    request.isRedVouch = red;
    request.mutiSel = true;
    if (automatic) {
      // A message handed in asks for silence: it comes back as what the allocation said.
      std::string said = message != nullptr ? *message : std::string();
      ref_->AutoRefer(login(), request, said);
      if (message != nullptr) *message = said;
    } else {
      ref_->Refer(login(), request);
    }
    return ref_->ReturnData();
  }

  void workTable(StockPick pick, bool create) override {
    if (pick == StockPick::Batch) {
      ref_->CreateAndDropTmpCurrentStock(login(), create);
    } else {
      ref_->CreateAndDropTmpRdrecord(login(), create);
    }
  }

  std::string netOfWorkTable(StockPick pick, const std::string& query) override {
    std::string rewritten = query;
    return pick == StockPick::Batch ? ref_->GetAllBSQL(rewritten) : ref_->GetAllRDSSQL(rewritten);
  }

  void recordTaken(StockPick pick, std::int32_t id, double quantity, double pieces) override {
    if (pick == StockPick::Batch) {
      ref_->UpdateTmpCurrentStock(login(), quantity, pieces, id);
    } else {
      ref_->UpdateTmpRdrecords(login(), quantity, pieces, id);
    }
  }

  std::int32_t stockRowId(const std::string& whCode, const std::string& invCode,
                          const std::array<std::string, 10>& free,
                          const std::string& batch) override {
    return ref_->GetAutoID(login(), whCode, invCode, free, batch);
  }

 private:
  static automation::ObjectPtr login() {
    if (!module::gContext) throw automation::ComError::objectNotSet();
    return std::static_pointer_cast<automation::Object>(module::gContext->login());
  }

  std::shared_ptr<RefSelect> ref_ = std::make_shared<RefSelect>();
};

}  // namespace

std::shared_ptr<dialogs::kit::StockReference> NewStockReference() {
  return std::make_shared<RefSelectStock>();
}

}  // namespace quillon::classes
