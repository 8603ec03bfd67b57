#include "classes/produce_order.h"

#include "ado/connection.h"
#include "classes/class_kit.h"
#include "classes/order_dialog_front.h"
#include "components/production_order_service.h"
#include "components/registration.h"
#include "dialogs/frmCons/frm_cons.h"
#include "dialogs/frmProduceOrder/frm_produce_order.h"
#include "dialogs/frmStockOrder/frm_stock_order.h"
#include "module/module_ctl.h"

namespace quillon::classes {

using automation::Args;
using automation::ComError;
using automation::Variant;

ProduceOrder::ProduceOrder() = default;
ProduceOrder::~ProduceOrder() = default;

bool ProduceOrder::load(const std::string& sProOrderId, const Variant& oLogin, Variant& oCollReurn,
                        std::string& ErrMsg, bool bOI, std::int32_t sVoutype) {
  const auto unloadDialog = [&] {
    oCollReurn = Variant::nothing();
    if (produceDialog_ && produceDialog_->Loaded()) produceDialog_->Unload();
  };
  return trapInto(
      "ProduceOrder:load", ErrMsg,
      [&] {
        produceDialog_ = std::make_unique<dialogs::frmProduceOrder>();
        showReferenceDialog(*produceDialog_, {self(), conn_, filter_, oCollection}, oLogin,
                            sProOrderId, oCollReurn, [&] {
                              eVouchType = sVoutype;
                              module::gVouchType = sVoutype;
                              produceDialog_->bOI = bOI;
                            });
        return true;
      },
      unloadDialog);
}

bool ProduceOrder::WritefQuantity(std::int32_t sSubId, double lQuantity, std::string& ErrMsg,
                                  bool bOI, const std::string& cInvCode) {
  return trapInto("ProduceOrder:WritefQuantity", ErrMsg, [&] {
    writeBack_ = components::createAs<components::ProductionOrderService>(
        components::kProductionOrderServiceProgId);
    writeBack_->setContext(module::gContext);
    if (bOI) {
      writeBack_->writeOutQuantityOI(sSubId, cInvCode, lQuantity, conn_, ErrMsg, "");
    } else {
      writeBack_->writeOutQuantity(sSubId, cInvCode, lQuantity, conn_, ErrMsg, "");
    }
    return ErrMsg.empty();
  });
}

bool ProduceOrder::WritebThrow(std::int32_t sSubId, bool bThrow, std::string& ErrMsg) {
  return trapInto("ProduceOrder:WritebThrow", ErrMsg, [&] {
    if (!writeBack_) throw ComError::objectNotSet();
    writeBack_->writeClosed(sSubId, bThrow, conn_, ErrMsg, "");
    return ErrMsg.empty();
  });
}

bool ProduceOrder::loadStockOrder(const std::string& sStockOrderId, const Variant& oLogin,
                                  Variant& oCollReurn, std::string& ErrMsg, bool& bStockOrder) {
  return trapInto("loadStockOrder:load", ErrMsg, [&] {
    loadStockOrderDialog(dialogOwner(), sStockOrderId, oLogin, oCollReurn, bStockOrder);
    return true;
  });
}

bool ProduceOrder::loadConsignment(const std::string& sConsId, const Variant& oLogin,
                                   Variant& oCollReurn, std::string& ErrMsg) {
  return trapInto("loadStockOrder:load", ErrMsg, [&] {
    loadConsignmentDialog(dialogOwner(), sConsId, oLogin, oCollReurn, ErrMsg);
    return true;
  });
}

void ProduceOrder::ShowForm(bool bFormName) {
  showKeptDialog(dialogOwner(), bFormName);
}

void ProduceOrder::UnLoadForm(bool bFormName) {
  unloadKeptDialog(dialogOwner(), bFormName);
}

OrderDialogOwner ProduceOrder::dialogOwner() {
  return {{self(), conn_, filter_, oCollection}, stockDialog_, consDialog_, sErrMsg};
}

bool ProduceOrder::WritefDispQuantity(std::int32_t sSubId, double lQuantity, std::string& ErrMsg,
                                      double lNum) {
  return trapInto("ProduceOrder:WritefQuantity", ErrMsg,
                  [&] { return writeDispatchQuantity(conn_, sSubId, lQuantity, lNum, ErrMsg); });
}

// ---- late binding

namespace {

using automation::in;
using automation::opt;
using automation::ref;

}  // namespace

const automation::MemberTable& ProduceOrder::memberTable() const {
  using Self = ProduceOrder;
  static const automation::MemberTable table = [] {
    automation::MemberBuilder<Self> b("ProduceOrder");
    addOrderFrontMembers(b, [](automation::MemberBuilder<Self>& members) {
      members.method("WritefQuantity",
                     {in("sSubId", "Long"), in("lQuantity", "Double"), ref("ErrMsg", "String"),
                      opt("bOI", "Boolean", Variant(false)), opt("cInvCode", "String")},
                     "Boolean", [](Self& self, Args& a) -> Variant {
                       return withErrMsg(a, 2, [&](std::string& err) {
                         return self.WritefQuantity(a.lng(0), a.dbl(1), err, a.boolean(3),
                                                    optionalText(a, 4));
                       });
                     });
    });
    return b.objectField("oCollection", "Collection", &Self::oCollection)
        .field("eVouchType", "eVouchType", &Self::eVouchType)
        .field("sErrMsg", "String", &Self::sErrMsg)
        .build();
  }();
  return table;
}

void registerProduceOrder(automation::ClassRegistry& registry) {
  registerOnce<ProduceOrder>(registry, kProduceOrderProgId, kProduceOrderClsid);
}

}  // namespace quillon::classes
