// The declared types of a database's columns, as the translation for an engine that keeps no
// type with a value (the account file) needs them: T-SQL gives a CASE, COALESCE or ISNULL the
// type its results' declared types make, whatever type the value of the row has.
//
// The engine reads its schema into a SchemaTypes when the schema changes (once per table, each
// table's columns shared between readings while they stay the same); the translator reads it
// through the SchemaScope of the translation under way and notes the tables it read, so that a
// cached translation is used again only while those tables keep their columns' types.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quillon::sql {

// What a column's declared type makes of its values in expressions.
enum class ValueType : std::uint8_t { Unknown, Int, Bigint, Real, Text };

// The ValueType of a T-SQL base type ("int", "decimal", "varchar"; lower case).
ValueType valueTypeOf(std::string_view tsqlBase);

class SchemaTypes {
 public:
  // A table's columns by lower-case name.
  using Columns = std::unordered_map<std::string, ValueType>;
  using Table = std::shared_ptr<const Columns>;

  // Adds a table (lower-case name); a table of the same columns in `before` is shared from it.
  void add(std::string table, Columns columns, const SchemaTypes* before = nullptr);
  // The columns of a table (lower-case name), or null when there is no such table.
  Table table(const std::string& lowerName) const;
  bool empty() const { return tables_.empty(); }
  // Whether the columns bear their types; a schema of names only has every type Unknown, and a
  // translation reads it only to tell whose column a name is.
  bool typed() const { return typed_; }
  void setTyped(bool typed) { typed_ = typed; }
  // A schema read only once a translation asks for a table: `load` adds the tables to `fresh`
  // (with `before`, the tables read last time, to share those that kept their columns) and says
  // whether it could; until it could, it is asked again at each table asked for. stale() has the
  // tables read again at the next.
  using Load = std::function<bool(SchemaTypes& fresh, const SchemaTypes& before)>;
  void readWhenAsked(Load load) { load_ = std::move(load); }
  void stale() { loaded_ = false; }

 private:
  std::unordered_map<std::string, Table> tables_;
  bool typed_ = true;
  Load load_;
  mutable bool loaded_ = false;
};

// The schema a translation reads, set for the thread while one runs (none, or a null schema: the
// translation knows no column's type). Records each table it was asked for, found or not.
class SchemaScope {
 public:
  explicit SchemaScope(const SchemaTypes* schema);
  ~SchemaScope();
  SchemaScope(const SchemaScope&) = delete;
  SchemaScope& operator=(const SchemaScope&) = delete;

  // The scope of the translation under way on this thread, or null.
  static SchemaScope* current();
  // Whether the schema bears column types (SchemaTypes::typed).
  bool typed() const { return schema_ != nullptr && schema_->typed(); }
  // The columns of a table the statement names (lower case); null when there is none.
  SchemaTypes::Table table(const std::string& lowerName);
  // The tables read and what they were (null: absent).
  std::vector<std::pair<std::string, SchemaTypes::Table>> takeRead() { return std::move(read_); }

 private:
  const SchemaTypes* schema_;
  SchemaScope* outer_;
  std::vector<std::pair<std::string, SchemaTypes::Table>> read_;
};

}  // namespace quillon::sql
