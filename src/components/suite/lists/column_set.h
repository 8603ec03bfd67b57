// The suite's column sets on the account database: rows of ColumnSet per table and user ('' is
// the account default). Rules in components/marlin_col_set.h. Late-bound members: Init(sFirst,
// sSecond, oConnection), Bind(sTable), TableName, FieldList, ColumnDefinitions, ShowSettings.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "components/marlin_col_set.h"

namespace quillon::components::suite {

// One field of a column set, as ColumnSet keeps it.
struct ColumnSetField {
  std::string name;
  std::string expr;
  std::string caption;
  int width = 1000;
  bool visible = true;
  std::string format;  // "quantity", "number", "exchrate" or ""
};

// The tables the outsourced-order lists bind their sets to.
inline constexpr const char* kColumnSetTables[] = {"OM_ProductPO", "qm_ncheckvoucher", "OM_POMain",
                                                   "OM_PODetails"};

class ColumnSetObject final : public MarlinColSet {
 public:
  void initialise(std::string_view firstText, std::string_view secondText,
                  std::shared_ptr<ado::Connection> connection) override;
  void bind(std::string_view tableName) override;
  std::string tableName() const override { return table_; }
  std::string fieldList() const override;
  std::string columnDefinitions() override;
  bool showSettings() override;
  void keepWidth(std::string_view field, int width) override;

  const std::vector<ColumnSetField>& fields() const { return fields_; }
  // True when the fields are the user's own set rather than the account default.
  bool ownSet() const { return ownSet_; }
  const std::string& user() const { return user_; }
  const std::string& accountKey() const { return accountKey_; }

  const automation::MemberTable& memberTable() const override;

 private:
  std::vector<ColumnSetField> read(const std::string& table, const std::string& user) const;
  void save(const std::vector<ColumnSetField>& fields);
  void requireBound() const;

  std::string user_;
  std::string accountKey_;
  std::shared_ptr<ado::Connection> connection_;
  std::string table_;
  std::vector<ColumnSetField> fields_;
  bool ownSet_ = false;
};

// The user's edit of a set's definitions applied to its fields: the edited order, captions,
// widths and visibility; fields the text leaves out follow, hidden. kErrBadArgument for a field
// the set lacks or one named twice.
std::vector<ColumnSetField> applyEditedDefinitions(const std::vector<ColumnSetField>& fields,
                                                   std::string_view edited);

}  // namespace quillon::components::suite
