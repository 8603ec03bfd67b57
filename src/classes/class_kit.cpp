#include "classes/class_kit.h"

#include "ado/connection.h"
#include "automation/collection.h"
#include "automation/error_info.h"
#include "components/marlin_login.h"
#include "dialogs/kit/reference_dialog.h"
#include "forms/constants.h"
#include "module/module_state.h"
#include "module/session.h"
#include "sql/sql_text.h"

namespace quillon::classes {

std::string trappedErrMsg(std::string_view prefix) {
  automation::trapCurrentException(*module::gErrInfo);
  return automation::trappedMessage(prefix, *module::gErrInfo);
}

bool trapInto(std::string_view prefix, std::string& ErrMsg, const std::function<bool()>& member,
              const std::function<void()>& onError) {
  try {
    return member();
  } catch (...) {
    ErrMsg = trappedErrMsg(prefix);
    if (onError) onError();
    return false;
  }
}

automation::Variant withErrMsg(automation::Args& a, std::size_t at,
                               const std::function<bool(std::string& ErrMsg)>& member,
                               std::optional<std::string_view> trapPrefix) {
  std::string err = a.str(at);
  bool ok = false;
  if (trapPrefix) {
    ok = trapInto(*trapPrefix, err, [&] { return member(err); });
  } else {
    ok = member(err);
  }
  a[at] = automation::Variant(err);
  return automation::Variant(ok);
}

void showReferenceDialog(dialogs::kit::ReferenceDialog& dialog, const DialogOwner& owner,
                         const automation::Variant& oLogin, const std::string& code,
                         automation::Variant& oCollReurn, const std::function<void()>& prepare) {
  owner.connection = module::OpenSession(automation::toObjectAs<components::MarlinLogin>(oLogin));
  dialog.setConnection(owner.connection);
  if (!code.empty()) owner.filter = "cCode = " + sql::literal(code);
  dialog.setFilterText(owner.filter);
  if (prepare) prepare();
  dialog.setOwner(owner.self);
  owner.oCollection.reset();
  dialog.Show(forms::vbModal);
  oCollReurn = automation::Variant(std::static_pointer_cast<automation::Object>(owner.oCollection));
}

}  // namespace quillon::classes
