#include "sql/translator.h"

#include <gtest/gtest.h>

#include <string>

#include "automation/com_error.h"

namespace quillon::sql {
namespace {

std::string describe(const Program& program) {
  std::string out;
  for (const auto& op : program) {
    if (!out.empty()) out += " | ";
    switch (op.kind) {
      case Op::Kind::Exec:
      case Op::Kind::DropTable:
        out += op.sql;
        break;
      case Op::Kind::Noop:
        out += "<noop>";
        break;
      case Op::Kind::SelectInto:
        out += "<into " + op.target + "> " + op.sql;
        break;
      case Op::Kind::If:
        out += "<if " + op.sql + " then " + describe(op.body);
        if (!op.elseBody.empty()) out += " else " + describe(op.elseBody);
        out += ">";
        break;
    }
  }
  return out;
}

std::string tr(std::string_view sql) {
  return describe(Translator::translateUncached(sql));
}

std::string errorOf(std::string_view sql) {
  try {
    Translator::translateUncached(sql);
  } catch (const automation::ComError& e) {
    return e.description();
  }
  return "<no error>";
}

TEST(Translator, SplitsBatchesWithoutSeparators) {
  EXPECT_EQ(
      tr(" if  exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[A_CurrentS]') "
         "and "
         "OBJECTPROPERTY(id, N'IsUserTable') = 1) drop table A_CurrentS create table A_CurrentS ( "
         "AutoID int , "
         "fSumOutQ decimal(20,6)) insert into A_CurrentS select Autoid,0 from CurrentStock "),
      "<if SELECT CASE WHEN exists (select * from sysobjects where id = "
      "object_id('[dbo].[A_CurrentS]') and "
      "OBJECTPROPERTY(id, 'IsUserTable') = 1) THEN 1 ELSE 0 END then DROP TABLE A_CurrentS> | "
      "CREATE TABLE A_CurrentS (AutoID INT INTEGER, fSumOutQ DECIMAL REAL(20,6)) | "
      "insert into A_CurrentS select Autoid, 0 from CurrentStock");
  // INSERT … SELECT, UNION and UPDATE … SET stay whole; VALUES ends the insert.
  EXPECT_EQ(
      tr("insert into t (a) select 1 union all select 2 insert t values (3) select * from t update "
         "t set a = 1 "
         "set nocount on delete t where a = 2"),
      "insert into t(a) select 1 union all select 2 | insert into t values (3) | select * from t | "
      "update t set a = 1 | <noop> | delete from t where a = 2");
  // Separators, GO lines, blocks with CASE … END inside, IF … ELSE.
  EXPECT_EQ(tr("select 1;;select 2\nGO\nif 1 = 1 begin select case when 1 = 1 then 'a' end as x "
               "select 3 end "
               "else select 4 print 'x'"),
            "select 1 | select 2 | <if SELECT CASE WHEN 1 = 1 THEN 1 ELSE 0 END then select CASE "
            "when 1 = 1 then 'a' "
            "END as x | select 3 else select 4> | <noop>");
  EXPECT_EQ(tr("if object_id('tempdb..#w') is not null drop table #w"),
            "<if SELECT CASE WHEN object_id('tempdb..#w') is not null THEN 1 ELSE 0 END then DROP "
            "TABLE temp.\"#w\">");
  EXPECT_EQ(tr("create view v as select a from t select * from v"),
            "CREATE VIEW v AS select a from t | select * from v");
  EXPECT_EQ(tr("   -- nothing but a comment\n"), "");
}

TEST(Translator, MalformedBatchesAreErrors) {
  EXPECT_NE(errorOf("begin select 1").find("BEGIN without END"), std::string::npos);
  EXPECT_NE(errorOf("if exists (select 1)").find("IF without a statement"), std::string::npos);
  EXPECT_NE(errorOf("select 1 end").find("END without BEGIN"), std::string::npos);
  EXPECT_NE(errorOf("select (1").find("unbalanced"), std::string::npos);
  EXPECT_NE(errorOf("select case when 1 = 1 then 2").find("CASE without END"), std::string::npos);
}

TEST(Translator, TableDefinitions) {
  EXPECT_EQ(tr("CREATE TABLE [dbo].[S] ([AutoID] [int] IDENTITY (1, 1) NOT NULL, [c] [nvarchar] "
               "(20) NOT NULL "
               "DEFAULT (''), [d] [datetime] NULL DEFAULT (getdate()), [q] [numeric](18, 2) NULL, "
               "[b] bit "
               "CONSTRAINT DF_b DEFAULT 0, CONSTRAINT [PK_S] PRIMARY KEY CLUSTERED ([AutoID]) WITH "
               "(PAD_INDEX = OFF) "
               "ON [PRIMARY]) ON [PRIMARY] TEXTIMAGE_ON [PRIMARY]"),
            "CREATE TABLE \"S\" (\"AutoID\" INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, \"c\" "
            "NVARCHAR TEXT(20) NOT "
            "NULL DEFAULT ('') COLLATE NOCASE, \"d\" DATETIME TEXT NULL DEFAULT "
            "(datetime('now','localtime')) COLLATE TSQLDATE CHECK (\"d\" IS NULL OR "
            "tsql_datetime(\"d\") IS NOT "
            "NULL), "
            "\"q\" NUMERIC REAL(18,2) NULL, \"b\" BIT INTEGER DEFAULT (0))");
  // A key over other columns next to an identity column stays a unique key.
  EXPECT_EQ(tr("create table k (id int identity, code varchar(max), primary key (code, id))"),
            "CREATE TABLE k (id INTEGER PRIMARY KEY AUTOINCREMENT, code VARCHAR TEXT(-1) COLLATE "
            "NOCASE, UNIQUE (code, "
            "id))");
  EXPECT_EQ(
      tr("create table #t (a char(2) collate Chinese_PRC_CS_AS, b money) select a into #u from #t"),
      "CREATE TABLE temp.\"#t\" (a CHAR TEXT(2) COLLATE BINARY, b MONEY REAL) | <into temp.\"#u\"> "
      "select a from "
      "temp.\"#t\"");
  EXPECT_EQ(tr("create unique nonclustered index ix on #t (a desc) include (b) with (fillfactor = "
               "90) on [primary]"),
            "CREATE UNIQUE INDEX temp.\"ix\" ON \"#t\" (a desc)");
  EXPECT_EQ(tr("alter table t add c1 int null, c2 varchar(5) drop table a, [b]"),
            "ALTER TABLE t ADD COLUMN c1 INT INTEGER NULL | ALTER TABLE t ADD COLUMN c2 VARCHAR "
            "TEXT(5) COLLATE NOCASE "
            "| DROP TABLE a | DROP TABLE \"b\"");
  EXPECT_EQ(tr("truncate table tempdb..w begin tran commit transaction rollback"),
            "DELETE FROM temp.\"w\" | BEGIN | COMMIT | ROLLBACK");
}

TEST(Translator, ExpressionRewrites) {
  EXPECT_EQ(
      tr("select top 5 a from t where b = (select top 1 c from u order by c desc) order by a"),
      "select a from t where b = (select c from u order by c desc LIMIT 1) order by a LIMIT 5");
  EXPECT_EQ(
      tr("select isnull(a,'') + '-' + b, x + y, x + 1, 'n' + convert(varchar(8), d, 112) from t"),
      "select ifnull(a, '') || '-' || b, tsql_add(x, y), tsql_plus(x, 1), 'n' || "
      "tsql_convert_text(d, 112, 8) from t");
  EXPECT_EQ(tr("select a * 2 + 'x', (a + b) + c from t"),
            "select (tsql_times(a, 2)) || 'x', tsql_add((tsql_add(a, b)), c) from t");
  EXPECT_EQ(
      tr("select left(a, 2), right(a, 1), ceiling(q), len(a), getdate(), cast(q as decimal(10, "
         "3)), "
         "datediff(day, d, getdate()) from t with (nolock) left outer join u (nolock) on u.a = "
         "t.a"),
      "select tsql_left(a, 2), tsql_right(a, 1), ceil(q), len(a), datetime('now','localtime'), "
      "round(CAST(q AS REAL), 3), tsql_datediff('day', d, datetime('now','localtime')) from t left "
      "outer join "
      "u on u.a = t.a");
  EXPECT_EQ(tr("select distinct 数量 = isnull(q, 0), b, [c d] = x + 1, 'e' = (select top 1 y from "
               "u where y = 2) "
               "from t where a = 1 select 1 union select v = 2"),
            "select distinct ifnull(q, 0) AS \"数量\", b, tsql_plus(x, 1) AS \"c d\", (select y "
            "from u where "
            "y = 2 LIMIT 1) AS "
            "\"e\" from t where a = 1 | select 1 union select 2 AS \"v\"");
  EXPECT_EQ(tr("select [结存 数量], tempdb..#x.a, @@identity from [dbo].[表] where c !< 1"),
            "select \"结存 数量\", temp.\"#x\".a, last_insert_rowid() from \"表\" where c >= 1");
}

TEST(Translator, ArithmeticFollowsTheServersPrecedence) {
  // Signs stay with their operand, which they make a number, so the chain adds; the engine
  // binds signs tightest too, so they are written as they stand. Sums, differences and
  // products are functions that check an int result against the int range.
  EXPECT_EQ(tr("select - a + b, -(a) + b * - c, a + b * + + b from t"),
            "select tsql_plus(- a, b), tsql_plus(- (a), tsql_times(b, - c)), "
            "tsql_plus(a, tsql_times(b, b)) from t");
  EXPECT_EQ(tr("select 'n' + -x, +a + b from t where - a + b = 2"),
            "select 'n' || (- x), tsql_add(a, b) from t where tsql_plus(- a, b) = 2");
  // & and | bind like + and -, which the engine ranks above them; ^ is a function.
  EXPECT_EQ(tr("select a & b + 1, a + b | c, a ^ b - 1, ~a & 1 from t"),
            "select tsql_plus((a & b), 1), (tsql_add(a, b) | c), tsql_minus(tsql_bitxor(a, b), 1), "
            "(~ a & 1) from t");
  // After TOP the sign is a sign, not a subtraction from the row count.
  EXPECT_EQ(tr("select top 5 - a + b from t"), "select tsql_plus(- a, b) from t LIMIT 5");
  // A bigint among the results of a CASE or COALESCE makes it a bigint.
  EXPECT_EQ(tr("select case when a > 0 then cast(a as bigint) else b end * 2, "
               "coalesce(a, convert(bigint, b)), case when a > 0 then a else b end from t"),
            "select tsql_times(tsql_widen(CASE when a > 0 then "
            "tsql_bigint(CAST(tsql_decimal(a) AS INTEGER)) else b END), 2), "
            "tsql_widen(coalesce(a, tsql_bigint(CAST(tsql_decimal(b) AS INTEGER)))), "
            "CASE when a > 0 then a else b END from t");
  // A decimal or float among them makes it a real, whatever the conditions compare.
  EXPECT_EQ(tr("select case when a > 1.5 then a else 0 end, coalesce(a, 2.5) / 2, "
               "case when a > 0 then cast(b as float) else cast(a as bigint) end from t"),
            "select CASE when a > 1.5 then a else 0 END, tsql_divide(tsql_real(coalesce(a, 2.5)), "
            "2), tsql_real(CASE when a > 0 then CAST(b AS REAL) else "
            "tsql_bigint(CAST(tsql_decimal(a) AS INTEGER)) END) from t");
}

TEST(Translator, CommonTableExpressionsStayOneStatement) {
  EXPECT_EQ(tr("select 1; with x (a) as (select 1 union select 2), y as (select a from x) "
               "select a from y where a > 1 select 3"),
            "select 1 | WITH x(a) AS (select 1 union select 2), y AS (select a from x) select a "
            "from y where a > 1 | select 3");
  EXPECT_EQ(tr(";with x as (select 1 as a) insert into t select a from x update t set a = 2"),
            "WITH x AS (select 1 as a) insert into t select a from x | update t set a = 2");
  // A recursive one counts its levels in a helper under another name.
  EXPECT_EQ(tr("with c as (select 1 as n union all select n + 1 from c where n < 3) select n "
               "from c option (maxrecursion 10)"),
            "WITH \"c$levels\"(\"n\", \"$level\") AS (select 1 as n, 0 UNION ALL select "
            "tsql_plus(n, 1), tsql_recursion_level(tsql_plus(\"$level\", 1), 10) from "
            "\"c$levels\" where n < 3), c(\"n\") AS "
            "(SELECT \"n\" FROM \"c$levels\") select n from c");
}

TEST(Translator, CacheReturnsTheSameTranslationAndStaysBounded) {
  Translator t(2);
  const auto a = t.translate("select 1");
  EXPECT_EQ(t.translate("select 1"), a);
  const auto b = t.translate("select 2");
  t.translate("select 1");  // a becomes the most recent
  t.translate("select 3");  // evicts b
  EXPECT_EQ(t.cacheSize(), 2u);
  EXPECT_EQ(t.translate("select 1"), a);
  EXPECT_NE(t.translate("select 2"), b);
  t.clearCache();
  EXPECT_EQ(t.cacheSize(), 0u);
  EXPECT_NE(t.translate("select 1"), a);
  // A failing translation is not cached and fails again.
  EXPECT_THROW(t.translate("exec x"), automation::ComError);
  EXPECT_THROW(t.translate("exec x"), automation::ComError);
}

}  // namespace
}  // namespace quillon::sql
