#include "classes/produce_order.h"

#include "ado/connection.h"
#include "classes/class_kit.h"
#include "components/dispatch_quantity_service.h"
#include "components/marlin_login.h"
#include "components/production_order_service.h"
#include "components/registration.h"
#include "dialogs/frmCons/frm_cons.h"
#include "dialogs/frmProduceOrder/frm_produce_order.h"
#include "dialogs/frmStockOrder/frm_stock_order.h"
#include "forms/constants.h"
#include "module/module_ctl.h"
#include "sql/sql_text.h"

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
        conn_ = module::OpenSession(automation::toObjectAs<components::MarlinLogin>(oLogin));
        eVouchType = sVoutype;
        module::gVouchType = sVoutype;
        produceDialog_->setConnection(conn_);
        if (!sProOrderId.empty()) filter_ = "cCode = " + sql::literal(sProOrderId);
        produceDialog_->setFilterText(filter_);
        produceDialog_->bOI = bOI;
        produceDialog_->setOwner(self());
        oCollection.reset();
        produceDialog_->Show(forms::vbModal);
        oCollReurn = Variant(std::static_pointer_cast<automation::Object>(oCollection));
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
    stockDialog_ = std::make_unique<dialogs::frmStockOrder>();
    conn_ = module::OpenSession(automation::toObjectAs<components::MarlinLogin>(oLogin));
    stockDialog_->setConnection(conn_);
    // Handed over as to the other dialogs; the order dialog replaces it before any query.
    if (!sStockOrderId.empty()) filter_ = "cCode = " + sql::literal(sStockOrderId);
    stockDialog_->setFilterText(filter_);
    stockDialog_->setOwner(self());
    oCollection.reset();
    stockDialog_->Show(forms::vbModal);
    bStockOrder = stockDialog_->bStockOrder;
    oCollReurn = Variant(std::static_pointer_cast<automation::Object>(oCollection));
    return true;
  });
}

bool ProduceOrder::loadConsignment(const std::string& sConsId, const Variant& oLogin,
                                   Variant& oCollReurn, std::string& ErrMsg) {
  return trapInto("loadStockOrder:load", ErrMsg, [&] {
    consDialog_ = std::make_unique<dialogs::frmCons>();
    conn_ = module::OpenSession(automation::toObjectAs<components::MarlinLogin>(oLogin));
    consDialog_->setConnection(conn_);
    if (!sConsId.empty()) filter_ = "cCode = " + sql::literal(sConsId);
    consDialog_->setFilterText(filter_);
    consDialog_->oLogin = oLogin.isObject() ? oLogin.asObject() : nullptr;
    consDialog_->setOwner(self());
    oCollection.reset();
    sErrMsg.clear();
    consDialog_->Show(forms::vbModal);
    ErrMsg = sErrMsg;
    oCollReurn = Variant(std::static_pointer_cast<automation::Object>(oCollection));
    return true;
  });
}

// True names the order dialog of the last loadStockOrder, False the delivery-note dialog of the
// last loadConsignment. Without the dialog the platform's error for a missing object reaches the
// caller.
void ProduceOrder::ShowForm(bool bFormName) {
  forms::Form* dialog = bFormName ? static_cast<forms::Form*>(stockDialog_.get())
                                  : static_cast<forms::Form*>(consDialog_.get());
  if (dialog == nullptr) throw ComError::objectNotSet();
  dialog->Show(forms::vbModal);
}

void ProduceOrder::UnLoadForm(bool bFormName) {
  forms::Form* dialog = bFormName ? static_cast<forms::Form*>(stockDialog_.get())
                                  : static_cast<forms::Form*>(consDialog_.get());
  if (dialog == nullptr) throw ComError::objectNotSet();
  if (dialog->Loaded()) dialog->Unload();
}

bool ProduceOrder::WritefDispQuantity(std::int32_t sSubId, double lQuantity, std::string& ErrMsg,
                                      double lNum) {
  return trapInto("ProduceOrder:WritefQuantity", ErrMsg, [&] {
    auto service = components::createAs<components::DispatchQuantityService>(
        components::kDispatchQuantityServiceProgId);
    service->write(conn_, sSubId, "", lQuantity, lNum, ErrMsg);
    return ErrMsg.empty();
  });
}

// ---- late binding

namespace {

using automation::in;
using automation::opt;
using automation::optRef;
using automation::ref;

std::string optionalText(const Args& a, std::size_t i) {
  return a[i].isMissing() ? std::string() : a.str(i);
}

}  // namespace

const automation::MemberTable& ProduceOrder::memberTable() const {
  using Self = ProduceOrder;
  static const automation::MemberTable table =
      automation::MemberBuilder<Self>("ProduceOrder")
          .method("load",
                  {in("sProOrderId", "String"), in("oLogin", "Object"),
                   ref("oCollReurn", "Collection"), ref("ErrMsg", "String"),
                   opt("bOI", "Boolean", Variant(false)), opt("sVoutype", "eVouchType")},
                  "Boolean",
                  [](Self& self, Args& a) -> Variant {
                    return withErrMsg(a, 3, [&](std::string& err) {
                      const std::int32_t type = a[5].isMissing() ? 0 : a.lng(5);
                      return self.load(a.str(0), a[1], a[2], err, a.boolean(4), type);
                    });
                  })
          .method("WritefQuantity",
                  {in("sSubId", "Long"), in("lQuantity", "Double"), ref("ErrMsg", "String"),
                   opt("bOI", "Boolean", Variant(false)), opt("cInvCode", "String")},
                  "Boolean",
                  [](Self& self, Args& a) -> Variant {
                    return withErrMsg(a, 2, [&](std::string& err) {
                      return self.WritefQuantity(a.lng(0), a.dbl(1), err, a.boolean(3),
                                                 optionalText(a, 4));
                    });
                  })
          .method("WritebThrow",
                  {in("sSubId", "Long"), in("bThrow", "Boolean"), ref("ErrMsg", "String")},
                  "Boolean",
                  [](Self& self, Args& a) -> Variant {
                    return withErrMsg(a, 2, [&](std::string& err) {
                      return self.WritebThrow(a.lng(0), a.boolean(1), err);
                    });
                  })
          .method("loadStockOrder",
                  {in("sStockOrderId", "String"), in("oLogin", "Object"),
                   ref("oCollReurn", "Collection"), ref("ErrMsg", "String"),
                   optRef("bStockOrder", "Boolean", Variant(true))},
                  "Boolean",
                  [](Self& self, Args& a) -> Variant {
                    return withErrMsg(a, 3, [&](std::string& err) {
                      bool flag = a.boolean(4);
                      const bool ok = self.loadStockOrder(a.str(0), a[1], a[2], err, flag);
                      a[4] = Variant(flag);
                      return ok;
                    });
                  })
          .method("loadConsignment",
                  {in("sConsId", "String"), in("oLogin", "Object"),
                   ref("oCollReurn", "Collection"), ref("ErrMsg", "String")},
                  "Boolean",
                  [](Self& self, Args& a) -> Variant {
                    return withErrMsg(a, 3, [&](std::string& err) {
                      return self.loadConsignment(a.str(0), a[1], a[2], err);
                    });
                  })
          .method("ShowForm", {opt("bFormName", "Boolean", Variant(true))}, "",
                  [](Self& self, Args& a) -> Variant {
                    self.ShowForm(a.boolean(0));
                    return {};
                  })
          .method("WritefDispQuantity",
                  {in("sSubId", "Long"), in("lQuantity", "Double"), ref("ErrMsg", "String"),
                   opt("lNum", "Double")},
                  "Boolean",
                  [](Self& self, Args& a) -> Variant {
                    return withErrMsg(a, 2, [&](std::string& err) {
                      const double num = a[3].isMissing() ? 0.0 : a.dbl(3);
                      return self.WritefDispQuantity(a.lng(0), a.dbl(1), err, num);
                    });
                  })
          .method("UnLoadForm", {opt("bFormName", "Boolean", Variant(true))}, "",
                  [](Self& self, Args& a) -> Variant {
                    self.UnLoadForm(a.boolean(0));
                    return {};
                  })
          .objectField("oCollection", "Collection", &Self::oCollection)
          .field("eVouchType", "eVouchType", &Self::eVouchType)
          .field("sErrMsg", "String", &Self::sErrMsg)
          .build();
  return table;
}

void registerProduceOrder(automation::ClassRegistry& registry) {
  registerOnce<ProduceOrder>(registry, kProduceOrderProgId, kProduceOrderClsid);
}

}  // namespace quillon::classes
