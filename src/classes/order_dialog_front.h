// What the classes that front the order and delivery-note dialogs (ProduceOrder, WWProduceOrder)
// do alike: loadStockOrder's and loadConsignment's work once their error trap is set, ShowForm and
// UnLoadForm on the kept dialogs, the dispatched-quantity write and the optional text argument.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "automation/collection.h"
#include "automation/dispatch.h"

namespace quillon::ado {
class Connection;
}
namespace quillon::dialogs {
class frmCons;
class frmStockOrder;
}
namespace quillon::forms {
class Form;
}

namespace quillon::classes {

// The owner's state the order and delivery-note dialogs work with.
struct OrderDialogOwner {
  automation::ObjectPtr self;
  std::unique_ptr<dialogs::frmStockOrder>& dialog;
  std::unique_ptr<dialogs::frmCons>& consDialog;
  std::shared_ptr<ado::Connection>& connection;
  std::string& filter;
  std::shared_ptr<automation::Collection>& oCollection;
  std::string& sErrMsg;
};

// Opens the session, shows a new order dialog kept in `owner.dialog` (with the filter of
// `sStockOrderId`, which the dialog replaces before any query), and hands back its flag and
// the owner's collection (Nothing when the user cancelled).
void loadStockOrderDialog(const OrderDialogOwner& owner, const std::string& sStockOrderId,
                          const automation::Variant& oLogin, automation::Variant& oCollReurn,
                          bool& bStockOrder);

// Opens the session and shows a new delivery-note dialog kept in `owner.consDialog`; hands back
// the owner's collection (Nothing when the user cancelled) and, in ErrMsg, the owner's sErrMsg as
// the dialog left it.
void loadConsignmentDialog(const OrderDialogOwner& owner, const std::string& sConsId,
                           const automation::Variant& oLogin, automation::Variant& oCollReurn,
                           std::string& ErrMsg);

// True names the kept order dialog, False the kept delivery-note dialog. Without the dialog the
// platform's error for a missing object (91) reaches the caller.
void showKeptDialog(const OrderDialogOwner& owner, bool bFormName);
void unloadKeptDialog(const OrderDialogOwner& owner, bool bFormName);

// WritefDispQuantity's work: the dispatched quantity (and pieces) of line `subId` through a new
// DispatchQuantityService on `conn`; True exactly when the service leaves ErrMsg empty.
bool writeDispatchQuantity(std::shared_ptr<ado::Connection>& conn, std::int32_t subId,
                           double quantity, double pieces, std::string& ErrMsg);

// An optional text argument: "" when it was omitted.
std::string optionalText(const automation::Args& a, std::size_t i);

}  // namespace quillon::classes
