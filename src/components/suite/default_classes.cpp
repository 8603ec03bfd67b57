#include "components/registration.h"

#include "components/filter.h"
#include "components/inventory_query_service.h"
#include "components/purchase_ref_service.h"
#include "components/suite/archive_items.h"
#include "components/suite/archives.h"
#include "components/suite/define_items.h"
#include "components/suite/dispatch_quantity_object.h"
#include "components/suite/inv_positions.h"
#include "components/suite/lists/column_set.h"
#include "components/suite/login.h"
#include "components/suite/outsourcing/outsourced_order_object.h"
#include "components/suite/production_order_object.h"
#include "components/suite/session_objects.h"
#include "components/suite/unit_quantity_object.h"
#include "components/suite/xp_style_proxy.h"
#include "components/suite_utility.h"
#include "components/xp_style.h"

namespace quillon::components {

namespace {

struct ArchiveClsids {
  ArchiveKind kind;
  const char* archive;
  const char* item;
};

constexpr ArchiveClsids kArchiveClsids[] = {
    {ArchiveKind::Warehouse, "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B301}",
     "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B311}"},
    {ArchiveKind::Customer, "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B302}",
     "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B312}"},
    {ArchiveKind::Department, "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B303}",
     "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B313}"},
    {ArchiveKind::Person, "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B304}",
     "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B314}"},
    {ArchiveKind::Vendor, "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B305}",
     "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B315}"},
    {ArchiveKind::Inventory, "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B306}",
     "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B316}"},
};

}  // namespace

void registerClasses(automation::ClassRegistry& registry) {
  using namespace suite;
  registry.add<Login>(std::string(kLoginProgId), "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B001}");
  registry.add<SuiteSessionContext>(std::string(kSessionContextProgId),
                                    "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B002}");
  registry.add<SuiteSessionContextBuilder>(std::string(kSessionContextBuilderProgId),
                                           "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B003}");
  registry.add<SuiteSessionProfile>(std::string(kSessionProfileProgId),
                                    "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B004}");
  // The utility object is created once per process; asking for it again gives the same one.
  registry.add(std::string(kSuiteUtilityProgId), "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B005}",
               [] { return automation::ObjectPtr(suiteUtility()); });
  registry.add<DefineItemServiceObject>(std::string(kDefineItemServiceProgId),
                                        "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B006}");
  registry.add<UnitQuantityObject>(std::string(kUnitQuantityProgId),
                                   "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B007}");
  registry.add<InvPositionServiceObject>(std::string(kInvPositionServiceProgId),
                                         "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B008}");
  registry.add<InvPositionObject>(std::string(kInvPositionProgId),
                                  "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B009}");
  registry.add<ProductionOrderServiceObject>(std::string(kProductionOrderServiceProgId),
                                             "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B00B}");
  registry.add<DispatchQuantityServiceObject>(std::string(kDispatchQuantityServiceProgId),
                                              "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B00C}");
  // One service for the process: the dialogs share its ShowClosed switch.
  registry.add(std::string(kPurchaseRefServiceProgId), "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B00D}",
               [] { return automation::ObjectPtr(purchaseRefService()); });
  registry.add<OutsourcedOrderServiceObject>(std::string(kOutsourcedOrderServiceProgId),
                                             "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B031}");
  registry.add<ColumnSetObject>(std::string(kMarlinColSetProgId),
                                "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B032}");
  registry.add<XPStyleProxy>(std::string(kXPStyleProgId), "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B00A}");
  registerFilterClasses(registry);
  registerInventoryQueryService(registry);
  for (const auto& c : kArchiveClsids) {
    const ArchiveKind kind = c.kind;
    registry.add(archiveProgId(kind), c.archive,
                 [kind] { return automation::ObjectPtr(newArchive(kind)); });
    registry.add(archiveItemProgId(kind), c.item,
                 [kind] { return automation::ObjectPtr(newArchiveItem(kind)); });
  }
}

}  // namespace quillon::components
