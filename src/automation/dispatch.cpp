#include "automation/dispatch.h"

#include <stdexcept>

#include "automation/names.h"

namespace quillon::automation {
namespace {

const Handler& handlerFor(const MemberInfo& m, InvokeKind kind, const std::optional<Variant>& v) {
  switch (kind) {
    case InvokeKind::Method:
      return m.method ? m.method : m.get;
    case InvokeKind::PropertyGet:
      return m.get ? m.get : m.method;
    case InvokeKind::PropertyLet:
      if (m.let) return m.let;
      // A let of an object (or Nothing) to an object-only property is the same assignment.
      if (v && v->isObject()) return m.set;
      return m.let;
    case InvokeKind::PropertySet:
      return m.set ? m.set : m.let;
  }
  return m.method;
}

std::string describeParam(const ParamInfo& p) {
  std::string s;
  if (p.optional) s += "Optional ";
  if (p.byRef) s += "ByRef ";
  s += p.name;
  if (!p.typeName.empty()) s += " As " + p.typeName;
  if (p.defaultValue) {
    const Variant& d = *p.defaultValue;
    s += " = ";
    s += d.isString() ? "\"" + d.asString() + "\"" : d.displayText();
  }
  return s;
}

}  // namespace

std::string_view invokeKindName(InvokeKind kind) {
  switch (kind) {
    case InvokeKind::Method:
      return "Sub/Function";
    case InvokeKind::PropertyGet:
      return "Get";
    case InvokeKind::PropertyLet:
      return "Let";
    case InvokeKind::PropertySet:
      return "Set";
  }
  return "?";
}

ParamInfo in(std::string name, std::string typeName) {
  return ParamInfo{std::move(name), std::move(typeName), false, false, std::nullopt};
}
ParamInfo ref(std::string name, std::string typeName) {
  return ParamInfo{std::move(name), std::move(typeName), false, true, std::nullopt};
}
ParamInfo opt(std::string name, std::string typeName) {
  return ParamInfo{std::move(name), std::move(typeName), true, false, std::nullopt};
}
ParamInfo opt(std::string name, std::string typeName, Variant defaultValue) {
  return ParamInfo{std::move(name), std::move(typeName), true, false, std::move(defaultValue)};
}
ParamInfo optRef(std::string name, std::string typeName) {
  return ParamInfo{std::move(name), std::move(typeName), true, true, std::nullopt};
}
ParamInfo optRef(std::string name, std::string typeName, Variant defaultValue) {
  return ParamInfo{std::move(name), std::move(typeName), true, true, std::move(defaultValue)};
}

ObjectPtr toObject(const Variant& v) {
  if (v.isMissing()) return nullptr;
  if (!v.isObject()) throw ComError::typeMismatch();
  return v.asObject();
}

Args::Args(std::vector<Variant> values, std::vector<bool> omitted, std::optional<Variant> assigned)
    : values_(std::move(values)), omitted_(std::move(omitted)), assigned_(std::move(assigned)) {
  omitted_.resize(values_.size(), false);
}

Variant& Args::operator[](std::size_t i) {
  if (i >= values_.size()) {
    throw ComError::argumentNotOptional();
  }
  return values_[i];
}

const Variant& Args::operator[](std::size_t i) const {
  if (i >= values_.size()) {
    throw ComError::argumentNotOptional();
  }
  return values_[i];
}

bool Args::omitted(std::size_t i) const {
  return i >= omitted_.size() || omitted_[i];
}

const Variant& Args::value() const {
  if (!assigned_) throw ComError::argumentNotOptional();
  return *assigned_;
}

Variant& Args::value() {
  if (!assigned_) throw ComError::argumentNotOptional();
  return *assigned_;
}

bool MemberInfo::has(InvokeKind kind) const {
  switch (kind) {
    case InvokeKind::Method:
      return static_cast<bool>(method);
    case InvokeKind::PropertyGet:
      return static_cast<bool>(get);
    case InvokeKind::PropertyLet:
      return static_cast<bool>(let);
    case InvokeKind::PropertySet:
      return static_cast<bool>(set);
  }
  return false;
}

MemberTable::MemberTable(std::string className) : className_(std::move(className)) {}

const MemberInfo* MemberTable::find(std::string_view name) const {
  for (const MemberInfo& m : members_) {
    if (sameName(m.name, name)) return &m;
  }
  return nullptr;
}

const MemberInfo* MemberTable::find(DispId id) const {
  if (id == kDispIdValue) id = defaultId_;
  if (id < 1 || static_cast<std::size_t>(id) > members_.size()) return nullptr;
  return &members_[static_cast<std::size_t>(id) - 1];
}

const MemberInfo* MemberTable::defaultMember() const {
  return find(kDispIdValue);
}

DispId MemberTable::idOfName(std::string_view name) const {
  const MemberInfo* m = find(name);
  return m ? m->dispId : kDispIdUnknown;
}

MemberInfo& MemberTable::add(MemberInfo member) {
  for (MemberInfo& existing : members_) {
    if (!sameName(existing.name, member.name)) continue;
    // A property declared in pieces (get here, let there) extends one member; anything else
    // would make one name mean two things.
    bool clash = (existing.method || member.method) || (existing.get && member.get) ||
                 (existing.let && member.let) || (existing.set && member.set);
    if (clash) throw std::logic_error("member declared twice: " + className_ + "." + member.name);
    if (member.get) existing.get = std::move(member.get);
    if (member.let) existing.let = std::move(member.let);
    if (member.set) existing.set = std::move(member.set);
    if (existing.returnType.empty()) existing.returnType = std::move(member.returnType);
    return existing;
  }
  member.dispId = static_cast<DispId>(members_.size() + 1);
  members_.push_back(std::move(member));
  return members_.back();
}

void MemberTable::setDefault(std::string_view name) {
  const MemberInfo* m = find(name);
  if (!m)
    throw std::logic_error("default member not declared: " + className_ + "." + std::string(name));
  defaultId_ = m->dispId;
}

Variant MemberTable::invoke(Object& self, const MemberInfo& member, InvokeKind kind,
                            std::span<Variant> args) const {
  const bool assigns = kind == InvokeKind::PropertyLet || kind == InvokeKind::PropertySet;
  std::optional<Variant> assigned;
  std::span<Variant> positional = args;
  if (assigns) {
    if (args.empty()) {
      throw ComError::wrongNumberOfArguments();
    }
    assigned = args.back();
    positional = args.first(args.size() - 1);
  }
  const Handler& handler = handlerFor(member, kind, assigned);
  // The name exists but not for this use (a read-only property assigned, ...): to a late-bound
  // caller that is the same as a missing member.
  if (!handler) throw ComError::memberNotFound();

  const std::vector<ParamInfo>& params = member.params;
  if (positional.size() > params.size()) {
    throw ComError::wrongNumberOfArguments();
  }
  std::vector<Variant> values;
  std::vector<bool> omitted;
  values.reserve(params.size());
  omitted.reserve(params.size());
  for (std::size_t i = 0; i < params.size(); ++i) {
    const ParamInfo& p = params[i];
    const bool given = i < positional.size() && !positional[i].isMissing();
    if (given) {
      values.push_back(positional[i]);
      omitted.push_back(false);
      continue;
    }
    if (!p.optional) throw ComError::argumentNotOptional();
    values.push_back(p.defaultValue ? *p.defaultValue : Variant::missing());
    omitted.push_back(true);
  }

  Args bound(std::move(values), std::move(omitted), std::move(assigned));
  // By-reference arguments are the caller's variables: what the member wrote into them before
  // an error stays written, as it would had it written them directly.
  const auto writeBack = [&] {
    for (std::size_t i = 0; i < params.size() && i < positional.size(); ++i) {
      if (params[i].byRef && !bound.omitted(i)) positional[i] = std::move(bound.values()[i]);
    }
  };
  Variant result;
  try {
    result = handler(self, bound);
  } catch (...) {
    writeBack();
    throw;
  }
  writeBack();
  // A Sub has no result, however it is reached.
  if (&handler == &member.method && member.returnType.empty()) return {};
  return result;
}

const MemberTable& Object::memberTable() const {
  static const MemberTable empty;
  return empty;
}

std::optional<Variant> Object::invokeDynamic(std::string_view, InvokeKind, std::span<Variant>) {
  return std::nullopt;
}

DispId Object::idOfName(std::string_view name) const {
  return memberTable().idOfName(name);
}

Variant Object::invoke(std::string_view name, InvokeKind kind, std::span<Variant> args) {
  const MemberTable& table = memberTable();
  if (const MemberInfo* m = table.find(name)) return table.invoke(*this, *m, kind, args);
  if (auto v = invokeDynamic(name, kind, args)) return std::move(*v);
  throw ComError::memberNotFound();
}

Variant Object::invoke(DispId id, InvokeKind kind, std::span<Variant> args) {
  const MemberTable& table = memberTable();
  if (const MemberInfo* m = table.find(id)) return table.invoke(*this, *m, kind, args);
  throw ComError::memberNotFound();
}

Variant Object::call(std::string_view name, std::vector<Variant> args) {
  return invoke(name, InvokeKind::Method, args);
}

Variant Object::get(std::string_view name, std::vector<Variant> args) {
  return invoke(name, InvokeKind::PropertyGet, args);
}

void Object::let(std::string_view name, Variant value) {
  std::vector<Variant> args{std::move(value)};
  invoke(name, InvokeKind::PropertyLet, args);
}

void Object::set(std::string_view name, ObjectPtr value) {
  std::vector<Variant> args{Variant(std::move(value))};
  invoke(name, InvokeKind::PropertySet, args);
}

Variant Object::value() {
  std::span<Variant> none;
  return invoke(kDispIdValue, InvokeKind::PropertyGet, none);
}

std::string describeMember(const MemberInfo& m) {
  std::string s = std::to_string(m.dispId) + " ";
  if (m.method) {
    s += m.returnType.empty() ? "Sub " : "Function ";
  } else {
    s += "Property ";
    std::string kinds;
    if (m.get) kinds += "Get";
    if (m.let) kinds += kinds.empty() ? "Let" : "/Let";
    if (m.set) kinds += kinds.empty() ? "Set" : "/Set";
    s += kinds + " ";
  }
  s += m.name;
  if (m.method || !m.params.empty()) {
    s += "(";
    for (std::size_t i = 0; i < m.params.size(); ++i) {
      if (i) s += ", ";
      s += describeParam(m.params[i]);
    }
    s += ")";
  }
  if (!m.returnType.empty()) s += " As " + m.returnType;
  return s;
}

std::string describeMembers(const MemberTable& table) {
  std::string out;
  const MemberInfo* def = table.defaultMember();
  for (const MemberInfo& m : table.members()) {
    out += describeMember(m);
    if (&m == def) out += " [default]";
    out += "\n";
  }
  return out;
}

}  // namespace quillon::automation
