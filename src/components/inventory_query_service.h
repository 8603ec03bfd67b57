// InventoryQueryService: the suite's inventory list. Given a session and a condition it gives a
// client-side recordset of the inventories the condition chooses, read on the session's
// connection.
//
// Late-bound members (suite implementation, ProgID "Quillon.Suite.InventoryQueryService"):
//   Init(oSession)                       ' the SessionContext whose connection and user count
//   GetInventoryList(sWhere) As Recordset
// The condition names the columns of Inventory unqualified (cInvCode, cInvName, cInvStd,
// cInvCCode, iId, ...) and may end in " order by …"; without one the rows come in code order.
// The recordset has cInvCode, cInvName, cInvStd, cInvCCode, cInvCName (the class name),
// cComUnitName (the main unit). Only the inventories the user may use (his "inventory"
// permission list for right "W") are offered. A condition that is not one expression (with its
// trailing order by; sql::checkCondition) raises that error before anything runs, a condition
// the database refuses raises the database's error;
// GetInventoryList before Init raises 91.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "automation/dispatch.h"
#include "components/session_context.h"

namespace quillon::ado {
class Recordset;
}
namespace quillon::automation {
class ClassRegistry;
}

namespace quillon::components {

inline constexpr std::string_view kInventoryQueryServiceProgId =
    "Quillon.Suite.InventoryQueryService";

class InventoryQueryService : public automation::Object {
 public:
  virtual void init(std::shared_ptr<SessionContext> session) = 0;
  virtual std::shared_ptr<ado::Recordset> inventories(const std::string& condition) = 0;
};

// Registers the suite's inventory list service.
void registerInventoryQueryService(automation::ClassRegistry& registry);

}  // namespace quillon::components
