// WWProduceOrder: the public class a host creates ("Quillon.WWProduceOrder") to let the user pick
// outsourced production-order headers, product lines (receipt) and material lines (issue), and to
// write received and issued quantities and the closing of a line back when it saves.
//
// Late-bound members, DISPIDs 1..12 in this order: oCollection, eVouchType, sErrMsg, load,
// WritefQuantity, WritebThrow, loadStockOrder, loadConsignment, ShowForm, WritefDispQuantity,
// UnLoadForm, bIsSTQc. Every member taking ErrMsg traps run-time errors: False with ErrMsg =
// label + error number + "\r\n" + error text from gErrInfo, the labels "WWProduceOrder:load",
// "WWProduceOrder:WritefQuantity" (also WritefDispQuantity), "WWProduceOrder:WritebThrow" and
// "loadStockOrder:load" (loadStockOrder, loadConsignment); a refusal of the write-back service
// comes back in ErrMsg unchanged, with False. ShowForm, UnLoadForm and bIsSTQc trap nothing.
//
// The order filter of the last load with an order number stays for later loads without one; the
// number is one literal in it, whatever quotes it holds. bIsSTQc is kept per instance and, for
// the dialog, library-wide (the last assignment of any instance).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "automation/class_registry.h"
#include "automation/collection.h"
#include "automation/dispatch.h"

namespace quillon::ado {
class Connection;
}
namespace quillon::components {
class OutsourcedOrderService;
}
namespace quillon::dialogs {
class frmCons;
class frmWWProduceOrder;
class frmStockOrder;
}  // namespace quillon::dialogs

namespace quillon::classes {

struct OrderDialogOwner;

inline constexpr const char* kWWProduceOrderProgId = "Quillon.WWProduceOrder";
inline constexpr const char* kWWProduceOrderClsid = "{3D544A0A-3258-45AD-B026-879CAAF86D34}";

class WWProduceOrder : public automation::Object {
 public:
  WWProduceOrder();
  ~WWProduceOrder() override;

  const automation::MemberTable& memberTable() const override;

  // Public variables.
  std::shared_ptr<automation::Collection> oCollection;
  std::int32_t eVouchType = 0;
  std::string sErrMsg;

  bool load(const std::string& sProOrderId, const automation::Variant& oLogin,
            automation::Variant& oCollReurn, std::string& ErrMsg, bool bOI, std::int32_t sVoutype);
  bool WritefQuantity(std::int32_t sSubId, double lQuantity, double& liTookQuantity,
                      double& liInvalidQuantity, std::string& ErrMsg, bool bOI,
                      const std::string& cInvCode);
  bool WritebThrow(std::int32_t sSubId, bool bThrow, std::string& ErrMsg);
  bool loadStockOrder(const std::string& sStockOrderId, const automation::Variant& oLogin,
                      automation::Variant& oCollReurn, std::string& ErrMsg, bool& bStockOrder);
  bool loadConsignment(const std::string& sConsId, const automation::Variant& oLogin,
                       automation::Variant& oCollReurn, std::string& ErrMsg);
  void ShowForm(bool bFormName);
  bool WritefDispQuantity(std::int32_t sSubId, double lQuantity, std::string& ErrMsg, double lNum);
  void UnLoadForm(bool bFormName);
  bool bIsSTQc() const { return isSTQc_; }
  void setbIsSTQc(bool value);

  // The order filter the last load call with an order number built, and the connection opened.
  const std::string& filterText() const { return filter_; }
  const std::shared_ptr<ado::Connection>& connection() const { return conn_; }
  // The outsourced-order dialog of the last load call (unloaded once load has returned).
  const dialogs::frmWWProduceOrder* orderDialog() const { return wwDialog_.get(); }

 private:
  // What the order and delivery-note dialogs work with of this object.
  OrderDialogOwner dialogOwner();

  std::string filter_;
  std::shared_ptr<ado::Connection> conn_;
  std::shared_ptr<components::OutsourcedOrderService> writeBack_;
  std::unique_ptr<dialogs::frmWWProduceOrder> wwDialog_;
  std::unique_ptr<dialogs::frmStockOrder> stockDialog_;
  std::unique_ptr<dialogs::frmCons> consDialog_;
  bool isSTQc_ = false;
};

// Adds "Quillon.WWProduceOrder" to the registry unless it is there already.
void registerWWProduceOrder(automation::ClassRegistry& registry);

}  // namespace quillon::classes
