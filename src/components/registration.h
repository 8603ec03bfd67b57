// The creatable classes of the suite's components, their ProgIDs, and typed creation through the
// process's class registry (so that a host or a test that registers a substitute under a ProgID
// gets it used by the library).
#pragma once

#include <memory>
#include <string_view>

#include "automation/class_registry.h"
#include "automation/com_error.h"

namespace quillon::components {

inline constexpr std::string_view kLoginProgId = "Quillon.Suite.Login";
inline constexpr std::string_view kSessionContextProgId = "Quillon.Suite.SessionContext";
inline constexpr std::string_view kSessionContextBuilderProgId =
    "Quillon.Suite.SessionContextBuilder";
inline constexpr std::string_view kSessionProfileProgId = "Quillon.Suite.SessionProfile";
inline constexpr std::string_view kSuiteUtilityProgId = "Quillon.Suite.Utility";
inline constexpr std::string_view kDefineItemServiceProgId = "Quillon.Suite.DefineItemService";
inline constexpr std::string_view kUnitQuantityProgId = "Quillon.Suite.UnitQuantity";
inline constexpr std::string_view kInvPositionServiceProgId = "Quillon.Suite.InvPositionService";
inline constexpr std::string_view kInvPositionProgId = "Quillon.Suite.InvPosition";
// Services and lists: kProductionOrderServiceProgId, kOutsourcedOrderServiceProgId,
// kDispatchQuantityServiceProgId, kMarlinColSetProgId beside their interfaces.
// Archives: archiveProgId() / archiveItemProgId() in components/archive.h.
// Desktop style: kXPStyleProgId in components/xp_style.h.

// Registers every creatable class of this layer.
void registerClasses(automation::ClassRegistry& registry);

// A new object of a registered class, as the interface T; 429 when the class is unknown, 13 when
// it does not implement T.
template <class T>
std::shared_ptr<T> createAs(std::string_view progId,
                            automation::ClassRegistry& registry = automation::classRegistry()) {
  auto typed = std::dynamic_pointer_cast<T>(registry.create(progId));
  if (!typed) throw automation::ComError::typeMismatch();
  return typed;
}

}  // namespace quillon::components
