#include "ado/fields.h"

#include "ado/ado_errors.h"

namespace quillon::ado {

using automation::Args;
using automation::MemberBuilder;
using automation::MemberTable;

// ---------------------------------------------------------------------------------------------
// Field

Field::Field(std::shared_ptr<RecordsetCore> core, std::size_t index, const RecordData* data)
    : core_(std::move(core)), index_(index), data_(data) {}

// A Field made for one set of rows does not silently read another after a Close and Open.
std::size_t Field::index() const {
  const RecordData* current = core_->isOpen() ? core_->data().get() : nullptr;
  if (current == nullptr) throwObjectClosed();
  if (current != data_) throwItemNotFound();
  return index_;
}

const FieldDef& Field::def() const {
  if (data_ == nullptr) {
    if (core_->isOpen() || index_ >= core_->pendingFields().size()) throwItemNotFound();
    return core_->pendingFields()[index_];
  }
  return core_->fieldDef(index());
}

void Field::setValue(const Variant& v) {
  core_->setValue(index(), v);
}
Variant Field::originalValue() const {
  return core_->originalValue(index());
}
std::int32_t Field::actualSize() const {
  return core_->actualSize(index());
}

const MemberTable& Field::memberTable() const {
  static const MemberTable table =
      MemberBuilder<Field>("Field")
          .property(
              "Value", "Variant", [](Field& f, Args&) -> Variant { return f.value(); },
              [](Field& f, Args& a) -> Variant {
                f.setValue(a.value());
                return {};
              })
          .getter("Name", "String", [](Field& f, Args&) -> Variant { return Variant(f.name()); })
          .getter("Type", "Long", [](Field& f, Args&) -> Variant { return Variant(f.type()); })
          .getter("DefinedSize", "Long",
                  [](Field& f, Args&) -> Variant { return Variant(f.definedSize()); })
          .getter("ActualSize", "Long",
                  [](Field& f, Args&) -> Variant { return Variant(f.actualSize()); })
          .getter("OriginalValue", "Variant",
                  [](Field& f, Args&) -> Variant { return f.originalValue(); })
          .getter("UnderlyingValue", "Variant",
                  [](Field& f, Args&) -> Variant { return f.value(); })
          .getter("Precision", "Byte",
                  [](Field& f, Args&) -> Variant {
                    return Variant(static_cast<std::int16_t>(f.precision()));
                  })
          .getter("NumericScale", "Byte",
                  [](Field& f, Args&) -> Variant {
                    return Variant(static_cast<std::int16_t>(f.numericScale()));
                  })
          .getter("Attributes", "Long",
                  [](Field& f, Args&) -> Variant { return Variant(f.attributes()); })
          .defaultMember("Value")
          .build();
  return table;
}

// ---------------------------------------------------------------------------------------------
// Fields

Fields::Fields(std::shared_ptr<RecordsetCore> core) : core_(std::move(core)) {}

// Field objects are made once per set of rows and handed out again, so reading rs(i) in a loop
// allocates nothing.
void Fields::refresh() const {
  const RecordData* data = core_->isOpen() ? core_->data().get() : nullptr;
  const std::size_t n = core_->fieldCount();
  if (data == builtFor_ && n == builtCount_ && items_.size() == n) return;
  items_.clear();
  items_.reserve(n);
  for (std::size_t i = 0; i < n; ++i) items_.push_back(std::make_shared<Field>(core_, i, data));
  builtFor_ = data;
  builtCount_ = n;
}

std::int32_t Fields::count() const {
  return static_cast<std::int32_t>(core_->fieldCount());
}

const std::shared_ptr<Field>& Fields::checkedItem(std::size_t index) const {
  refresh();
  if (index >= items_.size()) throwItemNotFound();
  return items_[index];
}

const std::shared_ptr<Field>& Fields::item(const Variant& nameOrIndex) const {
  return item(core_->resolveField(nameOrIndex));
}

void Fields::append(const std::string& name, std::int32_t type, std::int32_t definedSize,
                    std::int32_t attributes) {
  FieldDef def = fieldFromAdoType(name, type, definedSize);
  if (attributes != 0) def.attributes = attributes | adFldUpdatable;
  core_->appendFieldDef(std::move(def));
}

const MemberTable& Fields::memberTable() const {
  using automation::in;
  using automation::opt;
  static const MemberTable table =
      MemberBuilder<Fields>("Fields")
          .property("Item", "Field",
                    [](Fields& f, Args& a) -> Variant {
                      return Variant(std::static_pointer_cast<automation::Object>(f.item(a[0])));
                    },
                    nullptr, nullptr, {in("Index", "Variant")})
          .getter("Count", "Long", [](Fields& f, Args&) -> Variant { return Variant(f.count()); })
          .method("Append",
                  {in("Name", "String"), in("Type", "Long"), opt("DefinedSize", "Long", 0),
                   opt("Attrib", "Long", 0), opt("FieldValue", "Variant")},
                  "",
                  [](Fields& f, Args& a) -> Variant {
                    f.append(a.str(0), a.lng(1), a.lng(2), a.lng(3));
                    return {};
                  })
          .method("Refresh", {}, "", [](Fields&, Args&) -> Variant { return {}; })
          .defaultMember("Item")
          .build();
  return table;
}

}  // namespace quillon::ado
