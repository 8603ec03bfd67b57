#include "classes/registration.h"

#include "automation/class_registry.h"
#include "classes/produce_order.h"
#include "classes/ref_select.h"
#include "classes/track_set.h"
#include "components/stock_queries.h"

namespace quillon::classes {

void registerLibraryClasses(automation::ClassRegistry& registry) {
  // Each public class adds its own registration call here.
  registerProduceOrder(registry);
  registerRefSelect(registry);
  registerTrackSet(registry);
  components::registerStockQueries(registry);
}

}  // namespace quillon::classes
