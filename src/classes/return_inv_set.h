// ReturnInvSet: the picker of a set of inventories, for example the items a return setting applies
// to ("Quillon.ReturnInvSet").
//
// frmShow opens a session for the login (it becomes gContext), keeps the host condition sWhere for
// the picker while this instance lives (its release clears it) and shows frmReturnInvSet modally
// (ShowMode 1) or modeless (0). What the user confirmed is in RecordsetValue, one recordset for
// the whole library: every instance reads and sets the same one; Nothing after Quit or a
// confirmation without any inventory.
//
// Nothing is trapped: a login that is none, a failing session and a host condition the database
// refuses reach the host as the call's error. A host condition that is not one expression
// (sql::checkCondition) is refused before anything else happens.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "automation/dispatch.h"

namespace quillon::ado {
class Recordset;
}
namespace quillon::automation {
class ClassRegistry;
}
namespace quillon::dialogs {
class frmReturnInvSet;
}

namespace quillon::classes {

inline constexpr const char* kReturnInvSetProgId = "Quillon.ReturnInvSet";
inline constexpr const char* kReturnInvSetClsid = "{AC83D9F4-1180-4026-AFC7-BEF7D10632F8}";

class ReturnInvSet : public automation::Object {
 public:
  ReturnInvSet();
  ~ReturnInvSet() override;

  const automation::MemberTable& memberTable() const override;

  static std::shared_ptr<ado::Recordset> RecordsetValue();
  static void setRecordsetValue(std::shared_ptr<ado::Recordset> rs);

  void frmShow(const automation::ObjectPtr& oLogin, std::int16_t ShowMode,
               const std::string& sWhere = {});

  // The picker of the last frmShow (it stays readable after it closed).
  const std::shared_ptr<dialogs::frmReturnInvSet>& form() const { return form_; }

 private:
  std::shared_ptr<dialogs::frmReturnInvSet> form_;
  bool keepsWhere_ = false;
};

void registerReturnInvSet(automation::ClassRegistry& registry);

}  // namespace quillon::classes
