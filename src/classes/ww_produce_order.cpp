#include "classes/ww_produce_order.h"

#include "ado/connection.h"
#include "classes/class_kit.h"
#include "classes/order_dialog_front.h"
#include "components/outsourced_order_service.h"
#include "components/registration.h"
#include "dialogs/frmCons/frm_cons.h"
#include "dialogs/frmStockOrder/frm_stock_order.h"
#include "dialogs/frmWWProduceOrder/frm_ww_produce_order.h"
#include "module/module_ctl.h"

namespace quillon::classes {

using automation::Args;
using automation::ComError;
using automation::Variant;

WWProduceOrder::WWProduceOrder() = default;
WWProduceOrder::~WWProduceOrder() = default;

bool WWProduceOrder::load(const std::string& sProOrderId, const Variant& oLogin,
                          Variant& oCollReurn, std::string& ErrMsg, bool bOI,
                          std::int32_t sVoutype) {
  const auto unloadDialog = [&] {
    oCollReurn = Variant::nothing();
    if (wwDialog_ && wwDialog_->Loaded()) wwDialog_->Unload();
  };
  return trapInto(
      "WWProduceOrder:load", ErrMsg,
      [&] {
        wwDialog_ = std::make_unique<dialogs::frmWWProduceOrder>();
        showReferenceDialog(*wwDialog_, {self(), conn_, filter_, oCollection}, oLogin, sProOrderId,
                            oCollReurn, [&] {
                              eVouchType = sVoutype;
                              module::gVouchType = sVoutype;
                              wwDialog_->bOI = bOI;
                            });
        return true;
      },
      unloadDialog);
}

bool WWProduceOrder::WritefQuantity(std::int32_t sSubId, double lQuantity, double& liTookQuantity,
                                    double& liInvalidQuantity, std::string& ErrMsg, bool bOI,
                                    const std::string& cInvCode) {
  return trapInto("WWProduceOrder:WritefQuantity", ErrMsg, [&] {
    writeBack_ = components::createAs<components::OutsourcedOrderService>(
        components::kOutsourcedOrderServiceProgId);
    writeBack_->setContext(module::gContext);
    if (bOI) {
      writeBack_->writeReceipt(sSubId, cInvCode, lQuantity, liTookQuantity, liInvalidQuantity,
                               conn_, ErrMsg, "", Variant());
    } else {
      writeBack_->writeIssue(sSubId, cInvCode, lQuantity, conn_, ErrMsg, "", Variant());
    }
    return ErrMsg.empty();
  });
}

bool WWProduceOrder::WritebThrow(std::int32_t sSubId, bool bThrow, std::string& ErrMsg) {
  return trapInto("WWProduceOrder:WritebThrow", ErrMsg, [&] {
    if (!writeBack_) throw ComError::objectNotSet();
    writeBack_->writeClosed(sSubId, bThrow, conn_, ErrMsg, "", Variant());
    return ErrMsg.empty();
  });
}

bool WWProduceOrder::loadStockOrder(const std::string& sStockOrderId, const Variant& oLogin,
                                    Variant& oCollReurn, std::string& ErrMsg, bool& bStockOrder) {
  return trapInto(
      "loadStockOrder:load", ErrMsg,
      [&] {
        loadStockOrderDialog(dialogOwner(), sStockOrderId, oLogin, oCollReurn, bStockOrder);
        return true;
      },
      [&] { oCollReurn = Variant::nothing(); });
}

bool WWProduceOrder::loadConsignment(const std::string& sConsId, const Variant& oLogin,
                                     Variant& oCollReurn, std::string& ErrMsg) {
  return trapInto(
      "loadStockOrder:load", ErrMsg,
      [&] {
        loadConsignmentDialog(dialogOwner(), sConsId, oLogin, oCollReurn, ErrMsg);
        return true;
      },
      [&] { oCollReurn = Variant::nothing(); });
}

void WWProduceOrder::ShowForm(bool bFormName) {
  showKeptDialog(dialogOwner(), bFormName);
}

void WWProduceOrder::UnLoadForm(bool bFormName) {
  unloadKeptDialog(dialogOwner(), bFormName);
}

OrderDialogOwner WWProduceOrder::dialogOwner() {
  return {{self(), conn_, filter_, oCollection}, stockDialog_, consDialog_, sErrMsg};
}

bool WWProduceOrder::WritefDispQuantity(std::int32_t sSubId, double lQuantity, std::string& ErrMsg,
                                        double lNum) {
  return trapInto("WWProduceOrder:WritefQuantity", ErrMsg,
                  [&] { return writeDispatchQuantity(conn_, sSubId, lQuantity, lNum, ErrMsg); });
}

void WWProduceOrder::setbIsSTQc(bool value) {
  isSTQc_ = value;
  module::gIsSTQc = value;
}

// ---- late binding

namespace {

using automation::in;
using automation::opt;
using automation::ref;

// A by-reference Double the member reads and may change; the host's variable is written only
// when it did, so what the service leaves alone reaches the host as the host passed it.
struct DoubleArg {
  Args& a;
  std::size_t at;
  double before;
  double value;
  DoubleArg(Args& args, std::size_t i)
      : a(args), at(i), before(args[i].isEmpty() ? 0.0 : args.dbl(i)), value(before) {}
  void writeBack() {
    if (value != before) a[at] = Variant(value);
  }
};

}  // namespace

const automation::MemberTable& WWProduceOrder::memberTable() const {
  using Self = WWProduceOrder;
  static const automation::MemberTable table = [] {
    automation::MemberBuilder<Self> b("WWProduceOrder");
    b.objectField("oCollection", "Collection", &Self::oCollection)
        .field("eVouchType", "eVouchType", &Self::eVouchType)
        .field("sErrMsg", "String", &Self::sErrMsg);
    addOrderFrontMembers(b, [](automation::MemberBuilder<Self>& members) {
      members.method(
          "WritefQuantity",
          {in("sSubId", "Long"), in("lQuantity", "Double"), ref("liTookQuantity", "Double"),
           ref("liInvalidQuantity", "Double"), ref("ErrMsg", "String"),
           opt("bOI", "Boolean", Variant(false)), opt("cInvCode", "String")},
          "Boolean", [](Self& self, Args& a) -> Variant {
            return withErrMsg(
                a, 4,
                [&](std::string& err) {
                  DoubleArg took(a, 2);
                  DoubleArg invalid(a, 3);
                  const bool ok = self.WritefQuantity(a.lng(0), a.dbl(1), took.value, invalid.value,
                                                      err, a.boolean(5), optionalText(a, 6));
                  took.writeBack();
                  invalid.writeBack();
                  return ok;
                },
                "WWProduceOrder:WritefQuantity");
          });
    });
    return b
        .property(
            "bIsSTQc", "Boolean",
            [](Self& self, Args&) -> Variant { return Variant(self.bIsSTQc()); },
            [](Self& self, Args& a) -> Variant {
              self.setbIsSTQc(a.value().toBool());
              return {};
            })
        .build();
  }();
  return table;
}

void registerWWProduceOrder(automation::ClassRegistry& registry) {
  registerOnce<WWProduceOrder>(registry, kWWProduceOrderProgId, kWWProduceOrderClsid);
}

}  // namespace quillon::classes
