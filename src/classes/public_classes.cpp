#include "classes/public_classes.h"

#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "classes/position_set.h"
#include "classes/produce_order.h"
#include "classes/ref_select.h"
#include "classes/return_inv_set.h"
#include "classes/track_set.h"
#include "classes/ww_produce_order.h"
#include "components/registration.h"
#include "components/stock_queries.h"
#include "platform/terminal_session.h"

namespace quillon::classes {

void registerLibraryClasses(automation::ClassRegistry& registry) {
  // Each public class adds its own registration call here.
  registerProduceOrder(registry);
  registerRefSelect(registry);
  registerTrackSet(registry);
  registerPositionSet(registry);
  registerReturnInvSet(registry);
  registerWWProduceOrder(registry);
  components::registerStockQueries(registry);
}

void registerAllClasses(automation::ClassRegistry& registry) {
  automation::registerAutomationClasses(registry);
  platform::registerPlatformClasses(registry);
  ado::registerAdoClasses(registry);
  components::registerClasses(registry);
  registerLibraryClasses(registry);
}

}  // namespace quillon::classes
