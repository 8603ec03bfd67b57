// Conditions from outside: any text is accepted or refused by the condition check, never a
// crash; and a condition it accepts, put into a statement the ways the library puts host
// conditions ("… where id > 0 and (" + c + ") …", bare after "where", inside a subquery, on lines
// of its own), never adds a statement: the batch splits into exactly one statement that holds
// every token of the batch, its parentheses balance, no separator or GO appears, and no comment
// swallows what follows the condition. Run on the engine, the statement changes nothing.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/com_error.h"
#include "fuzz_input.h"
#include "sql/condition.h"
#include "sql/database.h"
#include "sql/splitter.h"
#include "sql/token.h"

namespace {

using quillon::sql::Tokens;

struct Wrapper {
  const char* prefix;
  const char* suffix;
};

// The library's shapes; each suffix ends in a word of its own, which must come through.
constexpr Wrapper kWrappers[] = {
    {"select id from t where id > 0 and (", ") and id < 100 order by id"},
    {"select id from t where ", " order by id"},
    {"select id from t where id in (select id from u where ", ") order by id"},
    {"select id from t where (\n", "\n) and 1 = 1 order by id"},
    {"select id from t where cInvCCode like N'01%' AND (", ")  order by id"},
};

quillon::sql::Database& database() {
  static const auto db = [] {
    auto opened = quillon::sql::Database::open(":memory:");
    opened->execute(
        "create table t (id int, name nvarchar(100), cInvCCode nvarchar(20)) "
        "create table u (id int) insert into t values (1, 'a', '01') "
        "insert into t values (2, 'b', '02') insert into u values (2)");
    return opened;
  }();
  return *db;
}

std::int64_t count(const char* table) {
  return database()
      .query(std::string("select count(*) from ") + table)
      .at(0)
      .rows.at(0)
      .at(0)
      .integer;
}

void checkWrapped(const Wrapper& w, std::string_view condition, const Tokens& own) {
  using namespace quillon;
  const std::string batch = std::string(w.prefix) + std::string(condition) + w.suffix;
  Tokens tokens;
  try {
    tokens = sql::tokenize(batch);
  } catch (const automation::ComError&) {
    fuzz::propertyFailed("an accepted condition tokenizes in its statement", batch);
  }
  const Tokens prefix = sql::tokenize(w.prefix);
  const Tokens suffix = sql::tokenize(w.suffix);
  fuzz::check(tokens.size() == prefix.size() + own.size() + suffix.size(),
              "the statement holds the prefix, the condition and the suffix, nothing merged or "
              "swallowed",
              batch);
  fuzz::check(tokens.back().text == suffix.back().text && tokens.back().kind == suffix.back().kind,
              "no comment reaches past the condition", batch);
  int depth = 0;
  for (const auto& t : tokens) {
    fuzz::check(!t.isOp(";"), "no statement separator or GO", batch);
    if (t.isOp("(")) ++depth;
    if (t.isOp(")")) --depth;
    fuzz::check(depth >= 0, "no parenthesis closed that was not opened", batch);
  }
  fuzz::check(depth == 0, "the parentheses balance", batch);
  std::vector<sql::StatementNode> statements;
  try {
    statements = sql::splitBatch(tokens);
  } catch (const automation::ComError&) {
    fuzz::propertyFailed("the statement splits", batch);
  }
  fuzz::check(statements.size() == 1, "exactly one statement", batch);
  fuzz::check(statements[0].kind == sql::StatementNode::Kind::Simple &&
                  statements[0].begin == 0 && statements[0].end == tokens.size(),
              "the one statement holds the whole batch", batch);

  // On the engine it reads or fails; it never writes.
  try {
    (void)database().query(batch);
  } catch (const automation::ComError&) {
    // a condition that is no valid expression fails as the engine says
  }
  fuzz::check(count("t") == 2 && count("u") == 1, "the statement changes nothing", batch);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillon;
  const std::string_view condition = fuzz::textOf(data, size);
  std::optional<std::string> fault;
  try {
    fault = sql::conditionFault(condition);
  } catch (...) {
    fuzz::propertyFailed("the check answers, it does not throw", condition);
  }
  bool thrown = false;
  try {
    sql::checkCondition(condition);
  } catch (const automation::ComError& e) {
    thrown = true;
    fuzz::check(e.number() == sql::kSqlErrorNumber &&
                    e.description().starts_with(sql::kConditionRefusedText),
                "a refused condition is the documented error", e.description());
  }
  fuzz::check(thrown == fault.has_value(), "the check and its error agree", condition);
  if (fault) return 0;
  const Tokens own = sql::tokenize(condition);
  for (const Wrapper& w : kWrappers) checkWrapped(w, condition, own);
  return 0;
}
