// What the classes that front the order and delivery-note dialogs (ProduceOrder, WWProduceOrder)
// do alike: loadStockOrder's and loadConsignment's work once their error trap is set, ShowForm and
// UnLoadForm on the kept dialogs, the dispatched-quantity write and the optional text argument.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "automation/collection.h"
#include "automation/dispatch.h"
#include "classes/class_kit.h"

namespace quillon::ado {
class Connection;
}
namespace quillon::dialogs {
class frmCons;
class frmStockOrder;
}  // namespace quillon::dialogs
namespace quillon::forms {
class Form;
}

namespace quillon::classes {

// The owner's state the order and delivery-note dialogs work with: what every reference dialog's
// owner keeps, the two dialogs kept for ShowForm and UnLoadForm, and the owner's sErrMsg.
struct OrderDialogOwner : DialogOwner {
  std::unique_ptr<dialogs::frmStockOrder>& dialog;
  std::unique_ptr<dialogs::frmCons>& consDialog;
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

// The late-bound members both classes have, in their slot order: load, WritefQuantity (added by
// `addWritefQuantity`, whose arguments differ), WritebThrow, loadStockOrder, loadConsignment,
// ShowForm, WritefDispQuantity, UnLoadForm.
template <class T, class AddWritefQuantity>
automation::MemberBuilder<T>& addOrderFrontMembers(automation::MemberBuilder<T>& b,
                                                   AddWritefQuantity addWritefQuantity) {
  using automation::Args;
  using automation::in;
  using automation::opt;
  using automation::optRef;
  using automation::ref;
  using automation::Variant;
  b.method("load",
           {in("sProOrderId", "String"), in("oLogin", "Object"), ref("oCollReurn", "Collection"),
            ref("ErrMsg", "String"), opt("bOI", "Boolean", Variant(false)),
            opt("sVoutype", "eVouchType")},
           "Boolean", [](T& self, Args& a) -> Variant {
             return withErrMsg(a, 3, [&](std::string& err) {
               const std::int32_t type = a[5].isMissing() ? 0 : a.lng(5);
               return self.load(a.str(0), a[1], a[2], err, a.boolean(4), type);
             });
           });
  addWritefQuantity(b);
  b.method("WritebThrow", {in("sSubId", "Long"), in("bThrow", "Boolean"), ref("ErrMsg", "String")},
           "Boolean",
           [](T& self, Args& a) -> Variant {
             return withErrMsg(a, 2, [&](std::string& err) {
               return self.WritebThrow(a.lng(0), a.boolean(1), err);
             });
           })
      .method(
          "loadStockOrder",
          {in("sStockOrderId", "String"), in("oLogin", "Object"), ref("oCollReurn", "Collection"),
           ref("ErrMsg", "String"), optRef("bStockOrder", "Boolean", Variant(true))},
          "Boolean",
          [](T& self, Args& a) -> Variant {
            return withErrMsg(a, 3, [&](std::string& err) {
              bool flag = a.boolean(4);
              const bool ok = self.loadStockOrder(a.str(0), a[1], a[2], err, flag);
              a[4] = Variant(flag);
              return ok;
            });
          })
      .method("loadConsignment",
              {in("sConsId", "String"), in("oLogin", "Object"), ref("oCollReurn", "Collection"),
               ref("ErrMsg", "String")},
              "Boolean",
              [](T& self, Args& a) -> Variant {
                return withErrMsg(a, 3, [&](std::string& err) {
                  return self.loadConsignment(a.str(0), a[1], a[2], err);
                });
              })
      .method("ShowForm", {opt("bFormName", "Boolean", Variant(true))}, "",
              [](T& self, Args& a) -> Variant {
                self.ShowForm(a.boolean(0));
                return {};
              })
      .method("WritefDispQuantity",
              {in("sSubId", "Long"), in("lQuantity", "Double"), ref("ErrMsg", "String"),
               opt("lNum", "Double")},
              "Boolean",
              [](T& self, Args& a) -> Variant {
                return withErrMsg(a, 2, [&](std::string& err) {
                  const double num = a[3].isMissing() ? 0.0 : a.dbl(3);
                  return self.WritefDispQuantity(a.lng(0), a.dbl(1), err, num);
                });
              })
      .method("UnLoadForm", {opt("bFormName", "Boolean", Variant(true))}, "",
              [](T& self, Args& a) -> Variant {
                self.UnLoadForm(a.boolean(0));
                return {};
              });
  return b;
}

}  // namespace quillon::classes
