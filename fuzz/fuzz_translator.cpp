// The T-SQL dialect layer: any batch is translated or refused with ComError, never a crash; and
// a value quoted by the literal function changes only its literal: the statement it stands in
// writes exactly one row, with exactly that value.
#include <memory>
#include <string>

#include "automation/com_error.h"
#include "fuzz_input.h"
#include "sql/database.h"
#include "sql/sql_text.h"
#include "sql/translator.h"

namespace {

quillon::sql::Database& database() {
  static const auto db = [] {
    auto opened = quillon::sql::Database::open(":memory:");
    opened->execute("create table t (id int, name nvarchar(4000))");
    opened->execute(
        "insert into t values (1, 'a') insert into t values (2, 'b') "
        "insert into t values (3, 'c')");
    return opened;
  }();
  return *db;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillon;
  const std::string_view input = fuzz::textOf(data, size);
  try {
    (void)sql::Translator::translateUncached(input);
  } catch (const automation::ComError&) {
    // refused with a message: what a batch that is not T-SQL should get
  }

  // The engine reads a statement up to its first NUL, so a text value cannot carry one.
  std::string value(input);
  for (char& c : value) {
    if (c == '\0') c = ' ';
  }
  sql::Database& db = database();
  const std::string update = "update t set name = " + sql::literal(value) + " where id = 2";
  std::int64_t changed = -1;
  try {
    changed = db.execute(update);
  } catch (const automation::ComError& e) {
    fuzz::propertyFailed("a quoted value never breaks its statement", e.description());
  }
  fuzz::check(changed == 1, "a quoted value changes exactly the one row", update);
  const auto rows = db.query("select name from t where id = 2");
  fuzz::check(rows.size() == 1 && rows[0].rows.size() == 1 && rows[0].rows[0][0].text == value,
              "a quoted value reads back unchanged", value);
  const auto same =
      db.query("select count(*) from t where id = 2 and name = " + sql::literal(value));
  fuzz::check(same.at(0).rows.at(0).at(0).integer == 1, "a quoted value compares equal to itself",
              value);
  const auto others = db.query("select count(*) from t where id <> 2");
  fuzz::check(others.at(0).rows.at(0).at(0).integer == 2, "the other rows stay", update);
  return 0;
}
