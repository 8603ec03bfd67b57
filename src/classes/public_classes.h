#pragma once

namespace quillon::automation {
class ClassRegistry;
}

namespace quillon::classes {

// Registers every public class of the library (by ProgID and CLSID) with `registry`. Safe to call
// more than once: classes already present are left as they are.
void registerLibraryClasses(automation::ClassRegistry& registry);

// Registers every creatable class a host can reach: the runtime's, the platform's, the data
// access layer's, the suite components' and the library's own. What a program calls once at start.
void registerAllClasses(automation::ClassRegistry& registry);

}  // namespace quillon::classes
