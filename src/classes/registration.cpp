#include "classes/registration.h"

#include "automation/class_registry.h"

namespace quillon::classes {

void registerLibraryClasses(automation::ClassRegistry& registry) {
  // Each public class adds its own registration call here.
  (void)registry;
}

}  // namespace quillon::classes
