#include "ww_fixture.h"

#include "ado/recordset.h"
#include "classes/public_classes.h"
#include "components/suite/lists/column_set.h"
#include "support/demo_account.h"

namespace quillon::dialogs::ww_testing {

const std::string& demoPath() {
  return test_support::demoAccount(classes::registerAllClasses).path();
}

std::string demoCopy(const std::string& name) {
  return test_support::demoAccount(classes::registerAllClasses).copy(name);
}

std::shared_ptr<ado::Connection> connect(const std::string& path) {
  return test_support::connect(path);
}

std::string fieldsOf(const std::shared_ptr<ado::Connection>& conn, std::string_view table,
                     const std::string& user) {
  components::suite::ColumnSetObject set;
  set.initialise(user, "", conn);
  set.bind(table);
  return set.fieldList();
}

std::set<int> keysOf(const std::shared_ptr<ado::Connection>& conn, const std::string& sql,
                     const char* field) {
  auto rs = std::make_shared<ado::Recordset>();
  rs->open(sql, conn);
  std::set<int> keys;
  if (!rs->isOpen() || (rs->bof() && rs->eof())) return keys;
  for (rs->moveFirst(); !rs->eof(); rs->moveNext()) keys.insert(rs->value(field).toLong());
  return keys;
}

int rowCount(const std::shared_ptr<ado::Connection>& conn, const std::string& sql) {
  auto rs = std::make_shared<ado::Recordset>();
  rs->open(sql, conn);
  return rs->isOpen() ? rs->recordCount() : 0;
}

}  // namespace quillon::dialogs::ww_testing
