#include "sql/column_types.h"

#include <algorithm>

#include "sql/type_name.h"

namespace quillon::sql {

ValueType valueTypeOf(std::string_view base) {
  if (base == "int" || base == "smallint" || base == "tinyint" || base == "bit")
    return ValueType::Int;
  if (base == "bigint") return ValueType::Bigint;
  if (base == "decimal" || base == "numeric" || base == "money" || base == "smallmoney" ||
      base == "float" || base == "real")
    return ValueType::Real;
  if (isCharacterType(base)) return ValueType::Text;
  return ValueType::Unknown;
}

void SchemaTypes::add(std::string table, Columns columns, const SchemaTypes* before) {
  if (before != nullptr) {
    if (auto old = before->table(table); old != nullptr && *old == columns) {
      tables_[std::move(table)] = std::move(old);
      return;
    }
  }
  tables_[std::move(table)] = std::make_shared<const Columns>(std::move(columns));
}

SchemaTypes::Table SchemaTypes::table(const std::string& lowerName) const {
  if (load_ && !loaded_) {
    loaded_ = true;  // while the tables are read, the ones read before answer
    SchemaTypes fresh;
    loaded_ = load_(fresh, *this);
    // Read in place: the schema is this object, made const only for those who read it.
    if (loaded_) const_cast<SchemaTypes*>(this)->tables_ = std::move(fresh.tables_);
  }
  const auto it = tables_.find(lowerName);
  return it == tables_.end() ? nullptr : it->second;
}

namespace {
thread_local SchemaScope* currentScope = nullptr;
}  // namespace

SchemaScope::SchemaScope(const SchemaTypes* schema) : schema_(schema), outer_(currentScope) {
  // Without a schema there is nothing to read: the translation goes on as without a scope.
  if (schema_ != nullptr) currentScope = this;
}

SchemaScope::~SchemaScope() {
  if (schema_ != nullptr) currentScope = outer_;
}

SchemaScope* SchemaScope::current() {
  return currentScope;
}

SchemaTypes::Table SchemaScope::table(const std::string& lowerName) {
  SchemaTypes::Table found = schema_ != nullptr ? schema_->table(lowerName) : nullptr;
  const bool noted =
      std::any_of(read_.begin(), read_.end(), [&](const auto& r) { return r.first == lowerName; });
  if (!noted) read_.emplace_back(lowerName, found);
  return found;
}

}  // namespace quillon::sql
