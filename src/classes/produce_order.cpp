#include "classes/produce_order.h"

#include "ado/connection.h"
#include "automation/error_info.h"
#include "components/dispatch_quantity_service.h"
#include "components/marlin_login.h"
#include "components/production_order_service.h"
#include "components/registration.h"
#include "dialogs/frmProduceOrder/frm_produce_order.h"
#include "forms/constants.h"
#include "module/module_ctl.h"
#include "sql/sql_text.h"

namespace quillon::classes {

using automation::Args;
using automation::ComError;
using automation::Variant;

namespace {

// The trapped-error text of a member: prefix, number, CR LF, description.
std::string trapped(const char* prefix) {
  automation::trapCurrentException(*module::gErrInfo);
  return automation::trappedMessage(prefix, *module::gErrInfo);
}

[[noreturn]] void raiseDialogMissing(const char* form) {
  throw ComError(automation::err::kCantCreateObject,
                 std::string("The dialog ") + form + " is not available in this library");
}

}  // namespace

ProduceOrder::ProduceOrder() = default;
ProduceOrder::~ProduceOrder() = default;

bool ProduceOrder::load(const std::string& sProOrderId, const Variant& oLogin, Variant& oCollReurn,
                        std::string& ErrMsg, bool bOI, std::int32_t sVoutype) {
  try {
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
  } catch (...) {
    ErrMsg = trapped("ProduceOrder:load");
    oCollReurn = Variant::nothing();
    if (produceDialog_ && produceDialog_->Loaded()) produceDialog_->Unload();
    return false;
  }
}

bool ProduceOrder::WritefQuantity(std::int32_t sSubId, double lQuantity, std::string& ErrMsg,
                                  bool bOI, const std::string& cInvCode) {
  try {
    writeBack_ = components::createAs<components::ProductionOrderService>(
        components::kProductionOrderServiceProgId);
    writeBack_->setContext(module::gContext);
    if (bOI) {
      writeBack_->writeOutQuantityOI(sSubId, cInvCode, lQuantity, conn_, ErrMsg, "");
    } else {
      writeBack_->writeOutQuantity(sSubId, cInvCode, lQuantity, conn_, ErrMsg, "");
    }
    return ErrMsg.empty();
  } catch (...) {
    ErrMsg = trapped("ProduceOrder:WritefQuantity");
    return false;
  }
}

bool ProduceOrder::WritebThrow(std::int32_t sSubId, bool bThrow, std::string& ErrMsg) {
  try {
    if (!writeBack_) throw ComError::objectNotSet();
    writeBack_->writeClosed(sSubId, bThrow, conn_, ErrMsg, "");
    return ErrMsg.empty();
  } catch (...) {
    ErrMsg = trapped("ProduceOrder:WritebThrow");
    return false;
  }
}

bool ProduceOrder::loadStockOrder(const std::string& /*sStockOrderId*/, const Variant& /*oLogin*/,
                                  Variant& /*oCollReurn*/, std::string& ErrMsg,
                                  bool& /*bStockOrder*/) {
  try {
    raiseDialogMissing("frmStockOrder");
  } catch (...) {
    ErrMsg = trapped("loadStockOrder:load");
    return false;
  }
}

bool ProduceOrder::loadConsignment(const std::string& /*sConsId*/, const Variant& /*oLogin*/,
                                   Variant& /*oCollReurn*/, std::string& ErrMsg) {
  try {
    raiseDialogMissing("frmCons");
  } catch (...) {
    ErrMsg = trapped("loadStockOrder:load");
    return false;
  }
}

// No order or delivery dialog has been loaded by this instance, so there is none to show or
// unload: the platform's error for a missing object reaches the caller.
void ProduceOrder::ShowForm(bool /*bFormName*/) {
  throw ComError::objectNotSet();
}

void ProduceOrder::UnLoadForm(bool /*bFormName*/) {
  throw ComError::objectNotSet();
}

bool ProduceOrder::WritefDispQuantity(std::int32_t sSubId, double lQuantity, std::string& ErrMsg,
                                      double lNum) {
  try {
    auto service = components::createAs<components::DispatchQuantityService>(
        components::kDispatchQuantityServiceProgId);
    service->write(conn_, sSubId, "", lQuantity, lNum, ErrMsg);
    return ErrMsg.empty();
  } catch (...) {
    ErrMsg = trapped("ProduceOrder:WritefQuantity");
    return false;
  }
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
                    std::string err = a[3].toString();
                    const std::int32_t type = a[5].isMissing() ? 0 : a.lng(5);
                    const bool ok = self.load(a.str(0), a[1], a[2], err, a.boolean(4), type);
                    a[3] = Variant(err);
                    return Variant(ok);
                  })
          .method("WritefQuantity",
                  {in("sSubId", "Long"), in("lQuantity", "Double"), ref("ErrMsg", "String"),
                   opt("bOI", "Boolean", Variant(false)), opt("cInvCode", "String")},
                  "Boolean",
                  [](Self& self, Args& a) -> Variant {
                    std::string err = a[2].toString();
                    const bool ok = self.WritefQuantity(a.lng(0), a.dbl(1), err, a.boolean(3),
                                                        optionalText(a, 4));
                    a[2] = Variant(err);
                    return Variant(ok);
                  })
          .method("WritebThrow",
                  {in("sSubId", "Long"), in("bThrow", "Boolean"), ref("ErrMsg", "String")},
                  "Boolean",
                  [](Self& self, Args& a) -> Variant {
                    std::string err = a[2].toString();
                    const bool ok = self.WritebThrow(a.lng(0), a.boolean(1), err);
                    a[2] = Variant(err);
                    return Variant(ok);
                  })
          .method("loadStockOrder",
                  {in("sStockOrderId", "String"), in("oLogin", "Object"),
                   ref("oCollReurn", "Collection"), ref("ErrMsg", "String"),
                   optRef("bStockOrder", "Boolean", Variant(true))},
                  "Boolean",
                  [](Self& self, Args& a) -> Variant {
                    std::string err = a[3].toString();
                    bool flag = a.boolean(4);
                    const bool ok = self.loadStockOrder(a.str(0), a[1], a[2], err, flag);
                    a[3] = Variant(err);
                    a[4] = Variant(flag);
                    return Variant(ok);
                  })
          .method("loadConsignment",
                  {in("sConsId", "String"), in("oLogin", "Object"),
                   ref("oCollReurn", "Collection"), ref("ErrMsg", "String")},
                  "Boolean",
                  [](Self& self, Args& a) -> Variant {
                    std::string err = a[3].toString();
                    const bool ok = self.loadConsignment(a.str(0), a[1], a[2], err);
                    a[3] = Variant(err);
                    return Variant(ok);
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
                    std::string err = a[2].toString();
                    const double num = a[3].isMissing() ? 0.0 : a.dbl(3);
                    const bool ok = self.WritefDispQuantity(a.lng(0), a.dbl(1), err, num);
                    a[2] = Variant(err);
                    return Variant(ok);
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
  if (registry.find(kProduceOrderProgId) != nullptr) return;
  registry.add<ProduceOrder>(kProduceOrderProgId, kProduceOrderClsid);
}

}  // namespace quillon::classes
