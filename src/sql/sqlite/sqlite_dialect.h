// The embedded engine's dialect: names quoted as written (the engine keeps their case and
// compares them without regard to it), temporary tables in its schema "temp", the dialect
// layer's functions registered on each connection under "tsql_…" (functions.h), columns declared
// with the T-SQL type and the affinity the server's semantics need (declared_type.h), and
// collations that compare text without regard to case and dates as dates.
#pragma once

#include "sql/dialect.h"

namespace quillon::sql {

class SqliteDialect final : public Dialect {
 public:
  Engine engine() const override { return Engine::SQLite; }

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
  bool caseHasOneType() const override { return false; }
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
  bool keepsWrittenNames() const override { return false; }
  bool nestsFlatChains() const override { return true; }
  bool prefersExistsForOuterIn() const override { return false; }
  bool groupsDistinct() const override { return false; }
  std::string noteNames(std::string_view kind, const std::string& object,
                        const std::string& noted) const override;
  std::string noteAddedColumn(const std::string& table, const std::string& written) const override;
};

// The one SqliteDialect.
const Dialect& embeddedDialect();

}  // namespace quillon::sql
