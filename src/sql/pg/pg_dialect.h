// The server's dialect: names in lower case (the server folds the names it is not given quoted;
// the names as written are noted on the tables and views, keepsWrittenNames), temporary tables in
// "pg_temp", the dialect layer's functions in the schema "tsql" (pg_functions.sql), columns typed
// by domains named after their T-SQL type (tsql."nvarchar(20)") over citext, so that text compares
// without regard to case by its type.
#pragma once

#include "sql/dialect.h"

namespace quillon::sql {

class PgDialect final : public Dialect {
 public:
  Engine engine() const override { return Engine::PostgreSQL; }

  std::string name(std::string_view written) const override;
  std::string temporaryName(std::string_view written) const override;
  std::string temporaryCatalogue() const override;
  bool reserves(std::string_view lowerWord) const override;
  std::string identity() const override;
  std::string rowCount() const override;
  std::string indexName(std::string_view written, bool onTemporaryTable) const override;
  std::string indexedTable(const Token& table) const override;

  std::string helper(std::string_view name) const override;
  std::optional<std::string> call(std::string_view name, const CallArguments& args) const override;
  std::string dateFunction(std::string_view name) const override;
  std::string convert(const TypeName& type, const std::string& expr,
                      const std::string& style) const override;
  std::string divide(const std::string& left, const std::string& right,
                     bool remainder) const override;
  std::string arithmetic(char op, const std::string& left, const std::string& right) const override;
  std::string bigint(const std::string& expr) const override;
  std::string isnullOfFirstType(const std::string& first, const std::string& second,
                                bool real) const override;
  std::string caseBlind(const std::string& operand, bool evident) const override;
  std::string real(const std::string& expr) const override;
  std::string bitXor(const std::string& left, const std::string& right) const override;
  bool caseHasOneType() const override { return true; }
  std::string collate(bool ignoresCase) const override;
  std::string like(const Token& op) const override;
  std::optional<std::string> likePattern(std::string_view pattern) const override;
  std::string with(bool recursive) const override;

  ColumnType columnType(const TypeName& type) const override;
  std::string identityColumn(std::string_view base) const override;
  std::string columnCollation(const std::string& written, std::string_view collation,
                              std::string_view base) const override;
  std::string columnRules(const std::string& column, std::string_view base,
                          bool collated) const override;
  bool keepsWrittenNames() const override { return true; }
  bool nestsFlatChains() const override { return false; }
  bool prefersExistsForOuterIn() const override { return true; }
  bool groupsDistinct() const override { return true; }
  std::string noteNames(std::string_view kind, const std::string& object,
                        const std::string& noted) const override;
  std::string noteAddedColumn(const std::string& table, const std::string& written) const override;

 private:
  static std::string roundCall(const std::string& value, const std::string& places);
};

// The one PgDialect.
const Dialect& serverDialect();

}  // namespace quillon::sql
