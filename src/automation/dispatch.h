// Late-bound dispatch: every object a host or a script can reach derives from Object and publishes
// a MemberTable. Members are found by name (compared without regard to ASCII case) or by DISPID.
//
// DISPID numbering: members are numbered 1, 2, 3 ... in the order they were declared in the table.
// A property's get/let/set handlers share one member and one DISPID. The member marked as default
// is also reachable as DISPID 0 (kDispIdValue), the way `obj(…)` and value conversions reach it.
//
// Argument binding (MemberTable::invoke):
//  - the caller passes its Variants; for property let/set the assigned value is the last one;
//  - an omitted optional argument arrives as Variant::missing() and is replaced by the declared
//    default when one was declared (otherwise the callee sees Missing and can test it);
//  - an omitted required argument raises 449, surplus arguments (or an assignment without a
//    value) raise 450, an unknown member or one used in a way it does not support (assigning a
//    read-only property) raises 438; a refused call never reaches the member;
//  - parameters declared by reference are written back into the caller's Variant after the call,
//    also when the member raises an error (unless the caller omitted them); by-value parameters
//    are copies the callee may change freely.
#pragma once

#include <concepts>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "automation/com_error.h"
#include "automation/variant.h"

namespace quillon::automation {

using DispId = std::int32_t;
inline constexpr DispId kDispIdValue = 0;     // the default member
inline constexpr DispId kDispIdUnknown = -1;  // what idOfName returns for an unknown name

enum class InvokeKind : std::uint8_t { Method, PropertyGet, PropertyLet, PropertySet };

// Name of an invoke kind as shown by the member printer: "Sub/Function", "Get", "Let", "Set".
std::string_view invokeKindName(InvokeKind kind);

struct ParamInfo {
  std::string name;
  std::string typeName;  // documentation only: "String", "Boolean", "Collection", ...
  bool optional = false;
  bool byRef = false;
  std::optional<Variant> defaultValue;  // only for optional parameters
};

// Short constructors for parameter lists: `in("sCode", "String")`, `ref("ErrMsg", "String")`,
// `opt("bOI", "Boolean", false)`, `optRef("sWhcode", "String", "")`.
ParamInfo in(std::string name, std::string typeName);
ParamInfo ref(std::string name, std::string typeName);
ParamInfo opt(std::string name, std::string typeName);
ParamInfo opt(std::string name, std::string typeName, Variant defaultValue);
ParamInfo optRef(std::string name, std::string typeName);
ParamInfo optRef(std::string name, std::string typeName, Variant defaultValue);

class Object;

// The object a Variant refers to: null for Nothing and for an omitted (Missing) argument; any
// other kind raises 13. toObjectAs also raises 13 when the object is of another class.
ObjectPtr toObject(const Variant& v);
template <class T>
std::shared_ptr<T> toObjectAs(const Variant& v);

// The arguments a handler sees, already bound to the declared parameters: index i is parameter i
// (omitted optional ones hold their default, or Missing). Writes to a by-reference parameter reach
// the caller. For property let/set, value() is the assigned value.
class Args {
 public:
  Args(std::vector<Variant> values, std::vector<bool> omitted, std::optional<Variant> assigned);

  std::size_t size() const { return values_.size(); }
  Variant& operator[](std::size_t i);
  const Variant& operator[](std::size_t i) const;
  bool omitted(std::size_t i) const;  // the caller left the argument out (Missing)

  // Typed reads with the platform's conversions (ComError 13 / 6 / 94 as Variant raises them).
  std::string str(std::size_t i) const { return (*this)[i].toString(); }
  double dbl(std::size_t i) const { return (*this)[i].toDouble(); }
  std::int32_t lng(std::size_t i) const { return (*this)[i].toLong(); }
  std::int16_t integer(std::size_t i) const { return (*this)[i].toInteger(); }
  bool boolean(std::size_t i) const { return (*this)[i].toBool(); }
  // Object argument (null for Nothing); 13 when the argument is not an object.
  ObjectPtr object(std::size_t i) const { return toObject((*this)[i]); }
  // Object argument of a given class: null for Nothing, 13 when it is another class.
  template <class T>
  std::shared_ptr<T> objectAs(std::size_t i) const {
    return toObjectAs<T>((*this)[i]);
  }

  const Variant& value() const;  // property let/set: the assigned value
  Variant& value();

  std::vector<Variant>& values() { return values_; }

 private:
  std::vector<Variant> values_;
  std::vector<bool> omitted_;
  std::optional<Variant> assigned_;
};

using Handler = std::function<Variant(Object& self, Args& args)>;

struct MemberInfo {
  std::string name;
  DispId dispId = kDispIdUnknown;
  std::string returnType;  // documentation only; empty for a Sub / write-only property
  std::vector<ParamInfo> params;
  Handler method;  // Sub / Function
  Handler get;     // Property Get
  Handler let;     // Property Let
  Handler set;     // Property Set

  bool has(InvokeKind kind) const;
};

// The member table of one class. Built once (typically a function-local static) and shared by
// every instance; immutable afterwards.
class MemberTable {
 public:
  explicit MemberTable(std::string className = {});

  const std::string& className() const { return className_; }
  const std::vector<MemberInfo>& members() const { return members_; }
  const MemberInfo* find(std::string_view name) const;  // without regard to case
  const MemberInfo* find(DispId id) const;              // 0 is the default member
  const MemberInfo* defaultMember() const;
  DispId idOfName(std::string_view name) const;  // kDispIdUnknown when absent

  // Binds `args` to the member's parameters and runs the handler for `kind`.
  // Method calls fall back to the property getter and vice versa (a late-bound `obj.Name`
  // cannot tell them apart); a let on a member with only a set handler (and the reverse) uses it.
  Variant invoke(Object& self, const MemberInfo& member, InvokeKind kind,
                 std::span<Variant> args) const;

  // Declaration. add() numbers the member; a name declared twice is a programming error and
  // throws std::logic_error. Handlers for an existing property name extend that property.
  MemberInfo& add(MemberInfo member);
  void setDefault(std::string_view name);

 private:
  std::string className_;
  std::vector<MemberInfo> members_;
  DispId defaultId_ = kDispIdUnknown;
};

// Conversion between member values and C++ field types, used by the builder's field().
template <class T>
struct VariantTraits;

template <>
struct VariantTraits<Variant> {
  static Variant to(const Variant& v) { return v; }
  static Variant from(const Variant& v) { return v; }
};
template <>
struct VariantTraits<std::string> {
  static Variant to(const std::string& v) { return Variant(v); }
  static std::string from(const Variant& v) { return v.toString(); }
};
template <>
struct VariantTraits<bool> {
  static Variant to(bool v) { return Variant(v); }
  static bool from(const Variant& v) { return v.toBool(); }
};
template <>
struct VariantTraits<std::int16_t> {
  static Variant to(std::int16_t v) { return Variant(v); }
  static std::int16_t from(const Variant& v) { return v.toInteger(); }
};
template <>
struct VariantTraits<std::int32_t> {
  static Variant to(std::int32_t v) { return Variant(v); }
  static std::int32_t from(const Variant& v) { return v.toLong(); }
};
template <>
struct VariantTraits<double> {
  static Variant to(double v) { return Variant(v); }
  static double from(const Variant& v) { return v.toDouble(); }
};
template <>
struct VariantTraits<DateValue> {
  static Variant to(DateValue v) { return Variant(v); }
  static DateValue from(const Variant& v) { return v.toDate(); }
};

// Fluent declaration of a class's members; T is the class the handlers work on:
//
//   static const MemberTable table = MemberBuilder<ProduceOrder>("ProduceOrder")
//       .method("load", {in("sProOrderId", "String"), ref("ErrMsg", "String"),
//                        opt("bOI", "Boolean", false)}, "Boolean",
//               [](ProduceOrder& self, Args& a) -> Variant { ... })
//       .field("sErrMsg", "String", &ProduceOrder::sErrMsg)
//       .objectField("oCollection", "Collection", &ProduceOrder::oCollection)
//       .build();
template <class T>
class MemberBuilder {
 public:
  using TypedHandler = std::function<Variant(T& self, Args& args)>;

  explicit MemberBuilder(std::string className) : table_(std::move(className)) {}

  // A Sub (returnType empty; the handler's result is ignored) or Function.
  MemberBuilder& method(std::string name, std::vector<ParamInfo> params, std::string returnType,
                        TypedHandler fn) {
    MemberInfo m;
    m.name = std::move(name);
    m.params = std::move(params);
    m.returnType = std::move(returnType);
    m.method = wrap(std::move(fn));
    table_.add(std::move(m));
    return *this;
  }

  // A property with any of get / let / set (pass nullptr for an absent one); params are the
  // property's index arguments, the assigned value is Args::value().
  MemberBuilder& property(std::string name, std::string typeName, TypedHandler get,
                          TypedHandler let = nullptr, TypedHandler set = nullptr,
                          std::vector<ParamInfo> params = {}) {
    MemberInfo m;
    m.name = std::move(name);
    m.returnType = std::move(typeName);
    m.params = std::move(params);
    m.get = wrap(std::move(get));
    m.let = wrap(std::move(let));
    m.set = wrap(std::move(set));
    table_.add(std::move(m));
    return *this;
  }

  // A read-only property.
  MemberBuilder& getter(std::string name, std::string typeName, TypedHandler get) {
    return property(std::move(name), std::move(typeName), std::move(get));
  }

  // A public variable of a value type (Get + Let), converted with the platform's rules.
  template <class F>
  MemberBuilder& field(std::string name, std::string typeName, F T::*member) {
    return property(
        std::move(name), std::move(typeName),
        [member](T& self, Args&) -> Variant { return VariantTraits<F>::to(self.*member); },
        [member](T& self, Args& a) -> Variant {
          self.*member = VariantTraits<F>::from(a.value());
          return {};
        });
  }

  // A public object variable (Get + Set); the stored pointer may be of a derived class, in which
  // case a Set of another class raises 13.
  template <class O>
  MemberBuilder& objectField(std::string name, std::string typeName,
                             std::shared_ptr<O> T::*member) {
    return property(
        std::move(name), std::move(typeName),
        [member](T& self, Args&) -> Variant {
          return Variant(std::static_pointer_cast<Object>(self.*member));
        },
        nullptr,
        [member](T& self, Args& a) -> Variant {
          self.*member = toObjectAs<O>(a.value());
          return {};
        });
  }

  // Marks an already declared member as the default member (DISPID 0).
  MemberBuilder& defaultMember(std::string_view name) {
    table_.setDefault(name);
    return *this;
  }

  MemberTable build() { return std::move(table_); }

 private:
  static Handler wrap(TypedHandler fn) {
    if (!fn) return nullptr;
    return [fn = std::move(fn)](Object& self, Args& args) -> Variant {
      auto* typed = dynamic_cast<T*>(&self);
      if (typed == nullptr) throw ComError::typeMismatch();
      return fn(*typed, args);
    };
  }

  MemberTable table_;
};

// Base of every dispatchable object. Objects are always held by ObjectPtr (shared_ptr); create
// them with std::make_shared so that self() works.
class Object : public std::enable_shared_from_this<Object> {
 public:
  virtual ~Object() = default;
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  // The class's member table; the base class has an empty one.
  virtual const MemberTable& memberTable() const;
  const std::string& className() const { return memberTable().className(); }

  // Members a table cannot list in advance (settings read by name, fields of a record, ...).
  // Called for a name the table does not know; return std::nullopt to get 438.
  virtual std::optional<Variant> invokeDynamic(std::string_view name, InvokeKind kind,
                                               std::span<Variant> args);

  // Late-bound entry points. By-reference arguments write back into `args`.
  DispId idOfName(std::string_view name) const;
  Variant invoke(std::string_view name, InvokeKind kind, std::span<Variant> args);
  Variant invoke(DispId id, InvokeKind kind, std::span<Variant> args);

  // Conveniences for the library's own late-bound calls. call() passes arguments by value (use
  // invoke() with a span to see by-reference results).
  Variant call(std::string_view name, std::vector<Variant> args = {});
  Variant get(std::string_view name, std::vector<Variant> args = {});
  void let(std::string_view name, Variant value);
  void set(std::string_view name, ObjectPtr value);
  // The default member's value (DISPID 0, property get); 438 when the class has none.
  Variant value();

  ObjectPtr self() { return shared_from_this(); }

 protected:
  Object() = default;
};

template <class T>
std::shared_ptr<T> toObjectAs(const Variant& v) {
  ObjectPtr o = toObject(v);
  if (!o) return nullptr;
  auto typed = std::dynamic_pointer_cast<T>(o);
  if (!typed) throw ComError::typeMismatch();
  return typed;
}

// describeMember gives one line such as
//   "1 Function load(sProOrderId As String, ByRef ErrMsg As String, Optional bOI As Boolean =
//    False) As Boolean"  or  "4 Property Get/Let sErrMsg As String";
// describeMembers gives one such line per member in DISPID order, the default member marked
// " [default]", each ending in "\n".
std::string describeMember(const MemberInfo& member);
std::string describeMembers(const MemberTable& table);

}  // namespace quillon::automation
