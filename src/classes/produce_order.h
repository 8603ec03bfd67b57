// ProduceOrder: the public class a host creates ("Quillon.ProduceOrder") to let the user pick
// production-order heads, product lines and materials, and to write issued quantities and the
// closed flag back to the order lines when it saves.
//
// Late-bound members, DISPIDs 1..8 in this order: load, WritefQuantity, WritebThrow,
// loadStockOrder, loadConsignment, ShowForm, WritefDispQuantity, UnLoadForm; then the public
// variables oCollection, eVouchType, sErrMsg. Every member taking ErrMsg traps run-time errors:
// it returns False with ErrMsg = prefix + error number + "\r\n" + error text from gErrInfo.
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
class MarlinLogin;
class ProductionOrderService;
}  // namespace quillon::components
namespace quillon::dialogs {
class frmCons;
class frmProduceOrder;
class frmStockOrder;
}  // namespace quillon::dialogs

namespace quillon::classes {

struct OrderDialogOwner;

inline constexpr const char* kProduceOrderProgId = "Quillon.ProduceOrder";
inline constexpr const char* kProduceOrderClsid = "{44D5F505-DDB2-476F-95C5-AD368DD8711D}";

class ProduceOrder : public automation::Object {
 public:
  ProduceOrder();
  ~ProduceOrder() override;

  const automation::MemberTable& memberTable() const override;

  // Public variables.
  std::shared_ptr<automation::Collection> oCollection;
  std::int32_t eVouchType = 0;
  std::string sErrMsg;

  bool load(const std::string& sProOrderId, const automation::Variant& oLogin,
            automation::Variant& oCollReurn, std::string& ErrMsg, bool bOI, std::int32_t sVoutype);
  bool WritefQuantity(std::int32_t sSubId, double lQuantity, std::string& ErrMsg, bool bOI,
                      const std::string& cInvCode);
  bool WritebThrow(std::int32_t sSubId, bool bThrow, std::string& ErrMsg);
  bool loadStockOrder(const std::string& sStockOrderId, const automation::Variant& oLogin,
                      automation::Variant& oCollReurn, std::string& ErrMsg, bool& bStockOrder);
  bool loadConsignment(const std::string& sConsId, const automation::Variant& oLogin,
                       automation::Variant& oCollReurn, std::string& ErrMsg);
  void ShowForm(bool bFormName);
  bool WritefDispQuantity(std::int32_t sSubId, double lQuantity, std::string& ErrMsg, double lNum);
  void UnLoadForm(bool bFormName);

  // The filter text the last load call built, and the connection it opened.
  const std::string& filterText() const { return filter_; }
  const std::shared_ptr<ado::Connection>& connection() const { return conn_; }
  // The production-order dialog of the last load call (unloaded once load has returned).
  const dialogs::frmProduceOrder* produceDialog() const { return produceDialog_.get(); }
  // The order dialog of the last loadStockOrder call, kept for ShowForm and UnLoadForm.
  dialogs::frmStockOrder* stockOrderDialog() const { return stockDialog_.get(); }
  // The delivery-note dialog of the last loadConsignment call, kept for ShowForm and UnLoadForm.
  dialogs::frmCons* consignmentDialog() const { return consDialog_.get(); }

 private:
  // What the order and delivery-note dialogs work with of this object.
  OrderDialogOwner dialogOwner();

  std::string filter_;
  std::shared_ptr<ado::Connection> conn_;
  std::shared_ptr<components::ProductionOrderService> writeBack_;
  std::unique_ptr<dialogs::frmProduceOrder> produceDialog_;
  std::unique_ptr<dialogs::frmStockOrder> stockDialog_;
  std::unique_ptr<dialogs::frmCons> consDialog_;
};

// Adds "Quillon.ProduceOrder" to the registry unless it is there already.
void registerProduceOrder(automation::ClassRegistry& registry);

}  // namespace quillon::classes
