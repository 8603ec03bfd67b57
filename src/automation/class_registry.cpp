#include "automation/class_registry.h"

#include <stdexcept>

#include "automation/collection.h"
#include "automation/error_info.h"
#include "automation/text_compare.h"
#include "automation/vb_strings.h"

namespace quillon::automation {
namespace {

bool isHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

}  // namespace

bool ClassRegistry::isClsid(std::string_view t) {
  if (t.size() != 38 || t.front() != '{' || t.back() != '}') return false;
  for (std::size_t i = 1; i < 37; ++i) {
    const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
    if (dash ? t[i] != '-' : !isHex(t[i])) return false;
  }
  return true;
}

void ClassRegistry::add(std::string progId, std::string clsid, ObjectFactory factory) {
  if (progId.empty()) throw std::invalid_argument("class registered without a ProgID");
  if (!factory) throw std::invalid_argument("class " + progId + " registered without a factory");
  if (!clsid.empty() && !isClsid(clsid)) {
    throw std::invalid_argument("class " + progId + " has a malformed CLSID: " + clsid);
  }
  for (ClassInfo& c : classes_) {
    if (!clsid.empty() && equalsNoCase(c.clsid, clsid) && !equalsNoCase(c.progId, progId)) {
      throw std::invalid_argument("CLSID " + clsid + " already belongs to " + c.progId);
    }
  }
  for (ClassInfo& c : classes_) {
    if (equalsNoCase(c.progId, progId)) {
      c = ClassInfo{std::move(progId), std::move(clsid), std::move(factory)};
      return;
    }
  }
  classes_.push_back(ClassInfo{std::move(progId), std::move(clsid), std::move(factory)});
}

const ClassInfo* ClassRegistry::find(std::string_view name) const {
  const bool byClsid = !name.empty() && name.front() == '{';
  for (const ClassInfo& c : classes_) {
    if (byClsid ? (!c.clsid.empty() && equalsNoCase(c.clsid, name))
                : equalsNoCase(c.progId, name)) {
      return &c;
    }
  }
  return nullptr;
}

ObjectPtr ClassRegistry::create(std::string_view name) const {
  const ClassInfo* c = find(name);
  if (!c) throw ComError::cantCreateObject();
  ObjectPtr o = c->factory();
  if (!o) throw ComError::cantCreateObject();
  return o;
}

bool ClassRegistry::remove(std::string_view name) {
  const ClassInfo* c = find(name);
  if (!c) return false;
  classes_.erase(classes_.begin() + (c - classes_.data()));
  return true;
}

ClassRegistry& classRegistry() {
  static ClassRegistry registry;
  return registry;
}

ObjectPtr CreateObject(std::string_view progIdOrClsid) {
  return classRegistry().create(progIdOrClsid);
}

void registerAutomationClasses(ClassRegistry& registry) {
  registry.add<Collection>("Collection");
  registry.add<ErrorInfo>("ErrorInfo");
}

}  // namespace quillon::automation
