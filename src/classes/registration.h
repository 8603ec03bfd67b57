#pragma once

namespace quillon::automation {
class ClassRegistry;
}

namespace quillon::classes {

// Registers every public class of the library (by ProgID and CLSID) with `registry`. Safe to call
// more than once: classes already present are left as they are.
void registerLibraryClasses(automation::ClassRegistry& registry);

}  // namespace quillon::classes
