#include "classes/registration.h"

#include "automation/class_registry.h"
#include "classes/produce_order.h"

namespace quillon::classes {

void registerLibraryClasses(automation::ClassRegistry& registry) {
  // Each public class adds its own registration call here.
  registerProduceOrder(registry);
}

}  // namespace quillon::classes
