// The creatable classes a test binary's tests reach, registered with the process's registry.
#pragma once

namespace quillon::automation {
class ClassRegistry;
}

namespace quillon::test_support {

using Registration = void (*)(automation::ClassRegistry&);

// Runs `registration` on the process's registry the first time it is passed, never again: a test
// that swaps a class for one of its own keeps the swap when a later fixture call comes by.
void registerClassesOnce(Registration registration);

// The runtime's, the platform's, the data access layer's and the suite components' classes:
// everything below the library's own.
void registerSuiteClasses(automation::ClassRegistry& registry);

}  // namespace quillon::test_support
