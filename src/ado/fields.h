// Fields and Field: a recordset's columns as dispatchable objects. A Field reads and writes the
// recordset's current row, so one Field object serves every row.
//
// Late-bound: Fields.Count, Fields.Item(name or 0-based index) (the default member),
// Fields.Append(Name, Type, [DefinedSize], [Attrib], [FieldValue]) (only while the recordset is
// closed), Fields.Delete, Fields.Refresh; Field.Name, Value (the default member), Type,
// DefinedSize, ActualSize, OriginalValue, UnderlyingValue, Precision, NumericScale, Attributes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ado/recordset_core.h"
#include "automation/dispatch.h"

namespace quillon::ado {

class Field : public automation::Object {
 public:
  Field(std::shared_ptr<RecordsetCore> core, std::size_t index, const RecordData* data);

  const automation::MemberTable& memberTable() const override;

  const std::string& name() const { return def().name; }
  std::int32_t type() const { return def().type; }
  std::int32_t definedSize() const { return def().definedSize; }
  std::int32_t precision() const { return def().precision; }
  std::int32_t numericScale() const { return def().numericScale; }
  std::int32_t attributes() const { return def().attributes; }

  Variant value() const {
    if (data_ != nullptr && core_->dataPtr() == data_) return core_->value(index_);
    return core_->value(index());
  }
  void setValue(const Variant& v);
  Variant originalValue() const;
  std::int32_t actualSize() const;

 private:
  const FieldDef& def() const;
  std::size_t index() const;  // checks the field still belongs to the open rows

  std::shared_ptr<RecordsetCore> core_;
  std::size_t index_;
  const RecordData* data_;  // the rows this field was made for; null for an appended field
};

class Fields : public automation::Object {
 public:
  explicit Fields(std::shared_ptr<RecordsetCore> core);

  const automation::MemberTable& memberTable() const override;

  std::int32_t count() const;
  // 3265 when out of range.
  const std::shared_ptr<Field>& item(std::size_t index) const {
    if (builtFor_ != nullptr && builtFor_ == core_->dataPtr() && index < items_.size())
      return items_[index];
    return checkedItem(index);
  }
  const std::shared_ptr<Field>& item(const Variant& nameOrIndex) const;
  // Adds a field definition before the recordset is opened; 3219 while it is open.
  void append(const std::string& name, std::int32_t type, std::int32_t definedSize = 0,
              std::int32_t attributes = 0);

 private:
  void refresh() const;
  const std::shared_ptr<Field>& checkedItem(std::size_t index) const;

  std::shared_ptr<RecordsetCore> core_;
  mutable std::vector<std::shared_ptr<Field>> items_;
  mutable const RecordData* builtFor_ = nullptr;
  mutable std::size_t builtCount_ = 0;
};

}  // namespace quillon::ado
