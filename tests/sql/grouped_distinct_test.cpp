// SELECT DISTINCT written as GROUP BY for the server: which statements are rewritten, and that a
// rewritten one gives the rows DISTINCT gives, NULLs and case included, on an account file and on
// the test server in its half.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "sql/database.h"
#include "sql/grouped_distinct.h"
#include "sql/token.h"
#include "sql/translator.h"
#include "sql_test_support.h"

namespace quillon::sql {
namespace {

std::string grouped(const std::string& sql) {
  return testing::spelled(distinctAsGrouping(tokenize(sql)));
}

TEST(GroupedDistinct, TheListsExpressionsBecomeTheKeys) {
  // The outsourced receipt heads' shape: aliases in their three forms, a look-up, constants.
  EXPECT_EQ(grouped("select distinct P.ID AS ID, (select V.n from v V where V.c = P.c) AS n, "
                    "P.c c, x = P.d, 0 AS z, 'k', -1 from h P left join l m on m.id = P.ID where "
                    "m.q > 0 order by 1"),
            "select P . ID AS ID , ( select V . n from v V where V . c = P . c ) AS n , P . c c , "
            "x = P . d , 0 AS z , k , - 1 from h P left join l m on m . id = P . ID where m . q > "
            "0 GROUP BY P . ID , ( select V . n from v V where V . c = P . c ) , P . c , P . d "
            "order by 1");
  EXPECT_EQ(grouped("select distinct top 5 a from t;"), "select top 5 a from t GROUP BY a ;");
  // Literals, signed or in parentheses, are no keys: the server takes a number there for a
  // column's place.
  EXPECT_EQ(grouped("select distinct - - 3 AS x, (-(2.5)), ('t'), a from t"),
            "select - - 3 AS x , ( - ( 2.5 ) ) , ( t ) , a from t GROUP BY a");
  // A sub-select's aggregate is its own; a CASE names no alias.
  EXPECT_EQ(grouped("select distinct (select max(b) from u where u.a = t.a) m, case when a > 0 "
                    "then 1 end from t"),
            "select ( select max ( b ) from u where u . a = t . a ) m , case when a > 0 then 1 "
            "end from t GROUP BY ( select max ( b ) from u where u . a = t . a ) , case when a > 0 "
            "then 1 end");
  for (const char* same : {
           "select a from t",
           "select distinct * from t",
           "select distinct t.* from t",
           "select distinct a * 2 from t",
           "select distinct count(*) from t",
           "select distinct a, sum(b) over () from t",
           "select distinct a from t group by a",
           "select distinct a from t union select b from u",
           "select distinct @v = a from t",
           "select distinct 1",
           "select distinct 1, 'x' from t",
           "select distinct top 5 with ties a from t order by a",
       }) {
    EXPECT_EQ(grouped(same), testing::spelled(tokenize(same))) << same;
  }
}

TEST(GroupedDistinct, OnlyTheServerGroupsAndTheSourceStaysAsWritten) {
  const std::string sql = "select distinct a, b from t order by a";
  const Program server = Translator::translateUncached(sql, Engine::PostgreSQL);
  const Program file = Translator::translateUncached(sql, Engine::SQLite);
  ASSERT_EQ(server.size(), 1U);
  EXPECT_NE(server[0].sql.find("GROUP BY"), std::string::npos) << server[0].sql;
  EXPECT_EQ(server[0].sql.find("DISTINCT"), std::string::npos) << server[0].sql;
  EXPECT_EQ(file[0].sql.find("GROUP BY"), std::string::npos) << file[0].sql;
  EXPECT_EQ(server[0].source, sql);
  EXPECT_EQ(server[0].source, file[0].source);
}

TEST(GroupedDistinct, GroupsGiveTheRowsDistinctGives) {
  testing::ScratchEngines scratch("distinct");
  for (auto& db : scratch.all()) {
    db->execute(
        "create table g (id int not null primary key, c nvarchar(10) null, n int null) "
        "insert into g values (1, 'a', 1) insert into g values (2, 'A', 1) "
        "insert into g values (3, null, null) insert into g values (4, null, null) "
        "insert into g values (5, 'b', 2) insert into g values (6, 'b', null)");
  }
  // The rows as a set: without ORDER BY, and where the engines sort NULLs apart.
  const auto rowSet = [](Database& db, const std::string& sql) {
    std::vector<std::string> rows;
    const std::string all = testing::rows(db, sql);
    for (std::size_t b = 0, e = 0; b <= all.size(); b = e + 1) {
      e = std::min(all.find(';', b), all.size());
      rows.push_back(all.substr(b, e - b));
    }
    std::sort(rows.begin(), rows.end());
    std::string out;
    for (const std::string& r : rows) out += (out.empty() ? "" : ";") + r;
    return out;
  };
  const struct {
    std::string sql;
    std::string expected;
  } cases[] = {
      // NULLs are one value; a look-up and a constant in the list
      {"select distinct upper(c), n from g", "A|1;B|2;B|NULL;NULL|NULL"},
      {"select distinct n as m, (select max(h.id) from g h where h.n = g.n) top_id, 'k' from g",
       "1|2|k;2|5|k;NULL|NULL|k"},
      {"select distinct top 2 n from g where n is not null order by n desc", "1;2"},
      // a key inside a longer one: "n + id" is grouped whole, not as "n" and an ungrouped id
      {"select distinct n, n + id, - - 3 from g where id < 3", "1|2|3;1|3|3"},
  };
  for (const auto& c : cases) {
    ASSERT_NE(Translator::translateUncached(c.sql, Engine::PostgreSQL)[0].sql.find("GROUP BY"),
              std::string::npos)
        << c.sql;
    for (auto& db : scratch.all()) EXPECT_EQ(rowSet(*db, c.sql), c.expected) << c.sql;
  }
  // Texts compare without regard to case: 'a' and 'A' are one.
  for (auto& db : scratch.all()) {
    const std::string one = testing::rows(*db, "select distinct c from g where n = 1");
    EXPECT_TRUE(one == "a" || one == "A") << one;
  }
}

}  // namespace
}  // namespace quillon::sql
