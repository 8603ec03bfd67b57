#include "classes/order_dialog_front.h"

#include "ado/connection.h"
#include "automation/com_error.h"
#include "classes/ref_select_stock.h"
#include "components/dispatch_quantity_service.h"
#include "components/registration.h"
#include "dialogs/frmCons/frm_cons.h"
#include "dialogs/frmStockOrder/frm_stock_order.h"
#include "forms/constants.h"

namespace quillon::classes {

using automation::ComError;
using automation::Variant;

void loadStockOrderDialog(const OrderDialogOwner& owner, const std::string& sStockOrderId,
                          const Variant& oLogin, Variant& oCollReurn, bool& bStockOrder) {
  owner.dialog = std::make_unique<dialogs::frmStockOrder>();
  // The filter is handed over as to the other dialogs; the order dialog replaces it before any
  // query.
  showReferenceDialog(*owner.dialog, owner, oLogin, sStockOrderId, oCollReurn,
                      [&] { owner.dialog->setStockReference(NewStockReference()); });
  bStockOrder = owner.dialog->bStockOrder;
}

void loadConsignmentDialog(const OrderDialogOwner& owner, const std::string& sConsId,
                           const Variant& oLogin, Variant& oCollReurn, std::string& ErrMsg) {
  owner.consDialog = std::make_unique<dialogs::frmCons>();
  showReferenceDialog(*owner.consDialog, owner, oLogin, sConsId, oCollReurn, [&] {
    owner.consDialog->oLogin = oLogin.isObject() ? oLogin.asObject() : nullptr;
    owner.consDialog->setStockReference(NewStockReference());
    owner.sErrMsg.clear();
  });
  ErrMsg = owner.sErrMsg;
}

namespace {

forms::Form& keptDialog(const OrderDialogOwner& owner, bool bFormName) {
  forms::Form* dialog = bFormName ? static_cast<forms::Form*>(owner.dialog.get())
                                  : static_cast<forms::Form*>(owner.consDialog.get());
  if (dialog == nullptr) throw ComError::objectNotSet();
  return *dialog;
}

}  // namespace

void showKeptDialog(const OrderDialogOwner& owner, bool bFormName) {
  keptDialog(owner, bFormName).Show(forms::vbModal);
}

void unloadKeptDialog(const OrderDialogOwner& owner, bool bFormName) {
  forms::Form& dialog = keptDialog(owner, bFormName);
  if (dialog.Loaded()) dialog.Unload();
}

bool writeDispatchQuantity(std::shared_ptr<ado::Connection>& conn, std::int32_t subId,
                           double quantity, double pieces, std::string& ErrMsg) {
  auto service = components::createAs<components::DispatchQuantityService>(
      components::kDispatchQuantityServiceProgId);
  service->write(conn, subId, "", quantity, pieces, ErrMsg);
  return ErrMsg.empty();
}

std::string optionalText(const automation::Args& a, std::size_t i) {
  return a[i].isMissing() ? std::string() : a.str(i);
}

}  // namespace quillon::classes
