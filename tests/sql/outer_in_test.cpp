// INs written as EXISTS for the server: `q.c IN (SELECT q.c FROM … WHERE …)` everywhere, other
// INs over a sub-select where only their truth counts. Which INs are rewritten, and that a
// rewritten one answers as the IN does, NULL and negation included, on an account file and on the
// test server in its half.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "sql/column_types.h"
#include "sql/database.h"
#include "sql/outer_in.h"
#include "sql/token.h"
#include "sql/translator.h"
#include "sql_test_support.h"

namespace quillon::sql {
namespace {

std::string rewritten(const std::string& sql) {
  return testing::spelled(existsForOuterIn(tokenize(sql)));
}

TEST(OuterIn, TheOuterColumnListedAloneIsWrittenAsExists) {
  // The outsourced lists' department condition.
  EXPECT_EQ(rewritten("select id from h P where ( (P.dep IN ( Select P.dep From d DD where "
                      "DD.code = P.dep and DD.active = 1) ) OR ISNULL(P.dep, '') = '' )"),
            "select id from h P where ( ( ( EXISTS ( SELECT 1 From d DD where DD . code = P . dep "
            "and DD . active = 1 ) AND P . dep = P . dep ) ) OR ISNULL ( P . dep ,  ) =  )");
  // DISTINCT changes nothing; names compare without regard to case or quotes; one inside
  // another's condition is rewritten too.
  EXPECT_EQ(rewritten("select 1 from h p where x = 1 and p.Dep in (select distinct [P].dep from d "
                      "where d.code = p.dep and not p.k in (select p.k from e))"),
            "select 1 from h p where x = 1 and ( EXISTS ( SELECT 1 from d where d . code = p . dep "
            "and not ( EXISTS ( SELECT 1 from e ) AND p . k = p . k ) ) AND p . Dep = p . Dep )");
  EXPECT_EQ(rewritten("if a.b in (select a.b from t) select 1"),
            "if ( EXISTS ( SELECT 1 from t ) AND a . b = a . b ) select 1");
}

TEST(OuterIn, OnlyWhereTheAnswerIsProvablyTheSame) {
  for (const char* same : {
           // an unqualified name is the sub-select's own column where its table has one
           "select 1 from h where dep in (select dep from d)",
           // another column, another table's, or more than the column
           "select 1 from h P where P.dep in (select P.code from d)",
           "select 1 from h P where P.dep in (select DD.dep from d DD)",
           "select 1 from h P where P.dep in (select P.dep, 1 from d)",
           "select 1 from h P where P.dep in (select P.dep + '' from d)",
           "select 1 from h P where P.dep in (select P.dep)",
           // the sub-select's FROM names the qualifier: q.c may be its own row's
           "select 1 from h P where P.dep in (select P.dep from d P)",
           "select 1 from h P where P.dep in (select P.dep from d join h P on 1 = 1)",
           "select 1 from h P where P.dep in (select P.dep from (select * from d P) x)",
           // what changes which rows the sub-select gives
           "select 1 from h P where P.dep in (select top 0 P.dep from d)",
           "select 1 from h P where P.dep in (select P.dep from d group by d.code)",
           "select 1 from h P where P.dep in (select P.dep from d having count(*) > 5)",
           "select 1 from h P where P.dep in (select P.dep from d union select 'x')",
           "select 1 from h P where P.dep in (select P.dep from d where 1 = 1 except select '')",
           // NOT IN, a list, an operand that is more than the column
           "select 1 from h P where P.dep not in (select P.dep from d)",
           "select 1 from h P where P.dep in ('a', 'b')",
           "select 1 from h P where 'x' + P.dep in (select P.dep from d)",
           "select 1 from h P where (P.dep) in (select P.dep from d)",
           "select 1 from h P where P.n between 1 and P.dep in (select P.dep from d)",
       }) {
    EXPECT_EQ(rewritten(same), testing::spelled(tokenize(same))) << same;
  }
  // Nested sub-selects of the WHERE keep their own clauses.
  EXPECT_NE(rewritten("select 1 from h P where P.dep in (select P.dep from d where d.code in "
                      "(select top 1 code from e group by code))"),
            testing::spelled(
                tokenize("select 1 from h P where P.dep in (select P.dep from d where d.code in "
                         "(select top 1 code from e group by code))")));
}

std::string correlated(const std::string& sql) {
  return testing::spelled(correlatedIn(tokenize(sql)));
}

TEST(CorrelatedIn, AnInWhoseTruthAloneCountsLooksItsSubSelectUp) {
  // The outsourced receipt heads' inspection condition, under OR.
  EXPECT_EQ(correlated("select 1 from h p where (m.b = 0 or (m.b = 1 and p.id in (select m2.id "
                       "from m m2 left join q on m2.k = q.k where q.t = 'OM02' or q.v > 0)))"),
            "select 1 from h p where ( m . b = 0 or ( m . b = 1 and EXISTS ( SELECT 1 from m m2 "
            "left join q on m2 . k = q . k WHERE ( q . t = OM02 or q . v > 0 ) AND m2 . id = p . "
            "id ) ) )");
  // No WHERE of its own; DISTINCT goes; one inside another; a negation outside the sub-select
  // that holds it does not count.
  EXPECT_EQ(correlated("select 1 from h P where P.x in (select distinct y from d)"),
            "select 1 from h P where EXISTS ( SELECT 1 from d WHERE y = P . x )");
  EXPECT_EQ(correlated("select 1 from h P where not exists (select 1 from e where e.k = P.k and "
                       "e.x in (select d.y from d where d.z in (select z from f)))"),
            "select 1 from h P where not exists ( select 1 from e where e . k = P . k and EXISTS "
            "( SELECT 1 from d WHERE ( EXISTS ( SELECT 1 from f WHERE z = d . z ) ) AND d . y = "
            "e . x ) )");
  EXPECT_EQ(correlated("if a.b in (select c from t) select 1"),
            "if EXISTS ( SELECT 1 from t WHERE c = a . b ) select 1");
  for (const char* same : {
           // negated: unknown and false would differ
           "select 1 from h P where not P.x in (select y from d)",
           "select 1 from h P where not (P.a = 1 or P.x in (select y from d))",
           "select 1 from h P where P.x not in (select y from d)",
           "select case when not (P.x in (select y from d)) then 1 end from h P",
           // the sub-select's rows would change, or it lists more than a column
           "select 1 from h P where P.x in (select top 1 y from d)",
           "select 1 from h P where P.x in (select y from d group by y)",
           "select 1 from h P where P.x in (select y from d union select 1)",
           "select 1 from h P where P.x in (select max(y) from d)",
           "select 1 from h P where P.x in (select y + 1 from d)",
           "select 1 from h P where P.x in (select * from d)",
           "select 1 from h P where P.x in (select y, z from d)",
           // the sub-select names the qualifier; an operand that is more than a column
           "select 1 from h P where P.x in (select y from d P)",
           "select 1 from h P where P.x + 1 in (select y from d)",
           "select 1 from h P where P.x in ('a', 'b')",
           // unqualified, and no schema to tell whose column it is
           "select 1 from h where x in (select y from d)",
       }) {
    EXPECT_EQ(correlated(same), testing::spelled(tokenize(same))) << same;
  }
}

TEST(CorrelatedIn, AnUnqualifiedOperandIsQualifiedByTheOneTableThatHasIt) {
  SchemaTypes schema;
  schema.add("h", {{"id", ValueType::Int}, {"dep", ValueType::Text}});
  schema.add("d", {{"code", ValueType::Text}, {"name", ValueType::Text}});
  schema.add("e", {{"id", ValueType::Int}, {"code", ValueType::Text}});
  const auto server = [&](const std::string& sql) {
    SchemaScope scope(&schema);
    return Translator::translateUncached(sql, Engine::PostgreSQL).at(0).sql;
  };
  // The outsourced issue heads' shape: two levels, each qualified by its own select's table.
  EXPECT_EQ(server("select P.id from h P left join d on d.code = P.dep where id in (select "
                   "distinct id from e where code in (select code from d where name > ''))"),
            server("select P.id from h P left join d on d.code = P.dep where EXISTS (SELECT 1 "
                   "from e WHERE ( EXISTS (SELECT 1 from d WHERE ( name > '' ) AND code = "
                   "e.code) ) AND id = P.id)"));
  // Two tables have the column, none has it, the table is unknown, or the IN is not in a WHERE:
  // left as an IN.
  for (const char* same : {"select 1 from h, e where id in (select id from e x)",
                           "select 1 from h where code2 in (select code from d)",
                           "select 1 from unknown where id in (select id from e)",
                           "select id in (select id from e) from h",
                           "select 1 from h join e x on id in (select id from e) where 1 = 1"}) {
    EXPECT_EQ(server(same).find("EXISTS"), std::string::npos) << same << "\n" << server(same);
  }
}

TEST(OuterIn, OnlyTheServerIsGivenExistsAndTheSourceStaysAsWritten) {
  const std::string sql = "select id from h P where P.dep in (select P.dep from d)";
  const Program server = Translator::translateUncached(sql, Engine::PostgreSQL);
  const Program file = Translator::translateUncached(sql, Engine::SQLite);
  ASSERT_EQ(server.size(), 1U);
  EXPECT_NE(server[0].sql.find("EXISTS"), std::string::npos) << server[0].sql;
  EXPECT_EQ(file[0].sql.find("EXISTS"), std::string::npos) << file[0].sql;
  EXPECT_EQ(server[0].source, sql);
  EXPECT_EQ(server[0].source, file[0].source);
}

// The heads: a NULL, an empty, a matching (also in another case), a non-matching code, and one
// of a department that is not active; the departments, one of them active twice over.
class OuterInAnswers : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string load =
        "create table h (id int not null primary key, dep nvarchar(12) null, n int null) "
        "create table d (code nvarchar(12) not null, active bit not null) "
        "insert into h values (1, null, 1) insert into h values (2, '', 2) "
        "insert into h values (3, 'A1', null) insert into h values (4, 'a1', 4) "
        "insert into h values (5, 'zz', 5) insert into h values (6, 'B2', 6) "
        "insert into h values (7, 'C3', 7) "
        "insert into d values ('a1', 1) insert into d values ('A1', 1) "
        "insert into d values ('B2', 0) insert into d values ('C3', 1)";
    for (auto& db : engines_) db->execute(load);
  }

  // Each head's id and the condition's truth on it: T, F or U (unknown).
  std::string truths(Database& db, const std::string& condition) {
    return testing::rows(db, "select id, case when " + condition + " then 'T' when not (" +
                                 condition + ") then 'F' else 'U' end from h P order by id");
  }

  testing::ScratchEngines scratch_{"outerin"};
  std::vector<std::unique_ptr<Database>>& engines_ = scratch_.all();
};

TEST_F(OuterInAnswers, ExistsAnswersAsTheInItReplaces) {
  // Each condition is rewritten; "(P.dep) IN" is the same IN, left as written.
  const struct {
    std::string sub;  // the sub-select after "SELECT P.dep"
    std::string expected;
  } cases[] = {
      {"from d DD where DD.code = P.dep and DD.active = 1", "1|F;2|F;3|T;4|T;5|F;6|F;7|T"},
      // an empty sub-select is false, also for a NULL operand
      {"from d DD where DD.active = 2", "1|F;2|F;3|F;4|F;5|F;6|F;7|F"},
      // not correlated: every row has one, so a NULL operand is unknown
      {"from d DD where DD.active = 1", "1|U;2|T;3|T;4|T;5|T;6|T;7|T"},
      // correlated by another column
      {"from d DD where DD.code = 'C3' and P.n > 4", "1|F;2|F;3|F;4|F;5|T;6|T;7|T"},
  };
  for (const auto& c : cases) {
    const std::string in = "P.dep in (select P.dep " + c.sub + ")";
    const std::string asWritten = "(P.dep) in (select P.dep " + c.sub + ")";
    ASSERT_NE(rewritten("where " + in), testing::spelled(tokenize("where " + in)));
    ASSERT_EQ(rewritten("where " + asWritten), testing::spelled(tokenize("where " + asWritten)));
    for (auto& db : engines_) {
      EXPECT_EQ(truths(*db, in), c.expected) << c.sub;
      EXPECT_EQ(truths(*db, asWritten), c.expected) << c.sub;
      // The dialogs' shape: or an empty code, and with a list of permitted codes before it.
      EXPECT_EQ(testing::rows(*db, "select id from h P where ( (" + in +
                                       ") OR ISNULL(P.dep, '') = '' ) order by id"),
                testing::rows(*db, "select id from h P where ( (" + asWritten +
                                       ") OR ISNULL(P.dep, '') = '' ) order by id"))
          << c.sub;
      EXPECT_EQ(testing::rows(*db, "select id from h P where ( (P.dep IN('A1', 'zz', 'c3') AND " +
                                       in + ") OR ISNULL(P.dep, '') = '' ) order by id"),
                testing::rows(*db, "select id from h P where ( (P.dep IN('A1', 'zz', 'c3') AND " +
                                       asWritten + ") OR ISNULL(P.dep, '') = '' ) order by id"))
          << c.sub;
    }
  }
}

TEST_F(OuterInAnswers, ALookedUpInAnswersAsTheInItReplaces) {
  // A sub-select that gives a NULL: the IN is unknown, never true, where it finds no match.
  for (auto& db : engines_) {
    db->execute(
        "create table e (code nvarchar(12) null) insert into e values ('A1') "
        "insert into e values (null) insert into e values ('zz')");
  }
  const struct {
    std::string condition;  // with "@in" for the IN
    std::string in;
    std::string expected;
  } cases[] = {
      {"@in", "P.dep in (select code from e)", "3;4;5"},
      {"@in or P.n = 1", "P.dep in (select code from e)", "1;3;4;5"},
      {"(P.n > 2 and @in) or P.dep = ''", "P.dep in (select DD.code from d DD where DD.active = 1)",
       "2;4;7"},
      {"not (P.n = 5) and @in", "P.dep in (select code from e where code <> 'zz')", "4"},
      {"not exists (select 1 from h Q where Q.id = P.id + 1 and @in)",
       "Q.dep in (select code from e)", "1;5;6;7"},
  };
  for (const auto& c : cases) {
    auto with = [&](const std::string& in) {
      std::string sql = "select id from h P where " + c.condition + " order by id";
      sql.replace(sql.find("@in"), 3, in);
      return sql;
    };
    // "(q.c) IN" is the same IN, left as written.
    std::string asWritten = c.in;
    asWritten.insert(asWritten.find(" in "), ")");
    asWritten.insert(0, "(");
    ASSERT_NE(correlated(with(c.in)), testing::spelled(tokenize(with(c.in)))) << c.in;
    ASSERT_EQ(correlated(with(asWritten)), testing::spelled(tokenize(with(asWritten))))
        << asWritten;
    for (auto& db : engines_) {
      EXPECT_EQ(testing::rows(*db, with(c.in)), c.expected) << c.condition;
      EXPECT_EQ(testing::rows(*db, with(asWritten)), c.expected) << c.condition;
    }
  }
}

TEST_F(OuterInAnswers, TheServerReadsWhoseColumnANameIsAndReadsAgainAfterATableChanges) {
  for (auto& db : engines_) {
    if (db->engine() != Engine::PostgreSQL) continue;
    const auto server = [&](const std::string& sql) {
      return db->translator().translate(sql)->at(0).sql;
    };
    const std::string sql = "select id from h where n = 1 or dep in (select code from d)";
    EXPECT_NE(server(sql).find("EXISTS"), std::string::npos) << server(sql);
    // A table made after the names were read: its column is known at the next translation, and
    // one that makes a name two tables' is left as an IN.
    db->execute("create table k (id int null, kcode nvarchar(12) null)");
    EXPECT_NE(server("select id from h P where n = 1 or P.id in (select id from k where kcode in "
                     "(select code from d))")
                  .find("EXISTS (SELECT 1 from d WHERE"),
              std::string::npos);
    db->execute("alter table d add n int null");
    const std::string twice =
        "select h.id from h join d on d.code = h.dep where n = 1 or n in "
        "(select id from k)";
    EXPECT_EQ(server(twice).find("EXISTS"), std::string::npos) << server(twice);
  }
}

}  // namespace
}  // namespace quillon::sql
