// The class registry: creatable classes under a ProgID ("Quillon.ProduceOrder") and a CLSID
// ("{44D5F505-DDB2-476F-95C5-AD368DD8711D}"), both compared without regard to case.
// CreateObject takes either; a name nobody registered raises 429 "ActiveX component can't create
// object".
//
// Registration is explicit: each layer offers a `register...Classes(ClassRegistry&)` function and
// the program calls them from one place at start-up. Static constructors would not do, because
// the linker drops an object file of a static library that nothing references.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "automation/dispatch.h"

namespace quillon::automation {

using ObjectFactory = std::function<ObjectPtr()>;

struct ClassInfo {
  std::string progId;
  std::string clsid;  // may be empty for classes reachable by ProgID only
  ObjectFactory factory;
};

class ClassRegistry {
 public:
  // Registers (or replaces, when the ProgID is already known) a class. A CLSID must have the
  // form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (hex digits) or be empty; a CLSID already used
  // by another ProgID, an empty ProgID or a null factory throw std::invalid_argument.
  void add(std::string progId, std::string clsid, ObjectFactory factory);

  template <class T>
  void add(std::string progId, std::string clsid = {}) {
    add(std::move(progId), std::move(clsid), [] { return ObjectPtr(std::make_shared<T>()); });
  }

  // A registered class by ProgID or CLSID (a text starting with "{"), or null.
  const ClassInfo* find(std::string_view progIdOrClsid) const;
  // A new object; 429 when the name is unknown or the factory gives nothing.
  ObjectPtr create(std::string_view progIdOrClsid) const;
  bool remove(std::string_view progIdOrClsid);
  const std::vector<ClassInfo>& classes() const { return classes_; }

  static bool isClsid(std::string_view text);

 private:
  std::vector<ClassInfo> classes_;
};

// The registry of this process, which CreateObject uses.
ClassRegistry& classRegistry();

ObjectPtr CreateObject(std::string_view progIdOrClsid);

// The automation layer's own creatable classes: "Collection" and "ErrorInfo".
void registerAutomationClasses(ClassRegistry& registry);

}  // namespace quillon::automation
