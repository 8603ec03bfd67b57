// RefSelect's work tables, query rewrites and stock-row lookup on a copy of the demo account, and
// its late-bound surface as a host reaches it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "automation/com_error.h"
#include "classes/public_classes.h"
#include "classes/ref_select.h"
#include "components/suite/login.h"
#include "module/settings.h"
#include "support/demo_account.h"

namespace quillon::classes {
namespace {

using automation::ComError;
using automation::ObjectPtr;
using automation::Variant;

class RefSelectWork : public ::testing::Test {
 protected:
  void SetUp() override {
    path = test_support::demoAccount(registerAllClasses)
               .copy(::testing::UnitTest::GetInstance()->current_test_info()->name());
    login = test_support::loginAs("demo", path);
    connection = test_support::connect(path);
    prefix = module::WorkTableSuffix();
  }

  double number(const std::string& sql) {
    auto rs = connection->execute(sql);
    return rs->value(std::size_t{0}).toDouble();
  }

  // A late-bound call with by-reference arguments, as a host makes it.
  Variant call(automation::Object& object, const char* member, std::vector<Variant>& args) {
    return object.invoke(member, automation::InvokeKind::Method, args);
  }

  std::string path;
  ObjectPtr login;
  std::shared_ptr<ado::Connection> connection;
  std::string prefix;
};

TEST_F(RefSelectWork, WorkTablesCreateAfreshAndDrop) {
  auto object = automation::CreateObject("Quillon.RefSelect");
  std::vector<Variant> args = {Variant(login), Variant(true)};
  EXPECT_EQ(call(*object, "CreateAndDropTmpCurrentStock", args), Variant(false));
  connection->execute("update " + prefix + "_CurrentS set fSumOutQ = 9");
  EXPECT_EQ(call(*object, "CreateAndDropTmpCurrentStock", args), Variant(false));
  EXPECT_EQ(number("select count(*) from " + prefix + "_CurrentS"),
            number("select count(*) from CurrentStock"));
  EXPECT_EQ(number("select sum(fSumOutQ) from " + prefix + "_CurrentS"), 0);

  // Two updates of the same row add up.
  auto& refSelect = dynamic_cast<RefSelect&>(*object);
  const auto first = static_cast<std::int32_t>(number("select min(AutoID) from CurrentStock"));
  for (double q : {5.0, 3.0}) {
    std::vector<Variant> update = {Variant(login), Variant(q), Variant(0.5), Variant(first)};
    EXPECT_EQ(call(*object, "UpdateTmpCurrentStock", update), Variant(false));
  }
  EXPECT_EQ(number("select fSumOutQ from " + prefix +
                   "_CurrentS where AutoID = " + std::to_string(first)),
            8);
  EXPECT_EQ(number("select fSumOutN from " + prefix +
                   "_CurrentS where AutoID = " + std::to_string(first)),
            1);

  // False issues only the drop; a second drop fails with the database's error.
  args[1] = Variant(false);
  EXPECT_EQ(call(*object, "CreateAndDropTmpCurrentStock", args), Variant(false));
  EXPECT_THROW(connection->execute("select count(*) from " + prefix + "_CurrentS"), ComError);
  EXPECT_THROW(call(*object, "CreateAndDropTmpCurrentStock", args), ComError);

  // The receipt-line table the same way.
  refSelect.CreateAndDropTmpRdrecord(login, true);
  refSelect.UpdateTmpRdrecords(login, 2.5, 0, 1);
  refSelect.UpdateTmpRdrecords(login, 1.25, 0, 1);
  EXPECT_EQ(number("select fSumOutQ from " + prefix + "_TmpRdRecords where AutoID = 1"), 3.75);
  EXPECT_EQ(number("select count(*) from " + prefix + "_TmpRdRecords"),
            number("select count(*) from rdrecords"));
  refSelect.CreateAndDropTmpRdrecord(login, false);
  EXPECT_THROW(refSelect.CreateAndDropTmpRdrecord(login, false), ComError);
}

// Each desk's work table has its own sums, even where the desks share the place the sums are
// kept; a table of the name left from before (filled with a row per stock row) is replaced; hosts
// find, join and update the table by name; and nothing of a desk is left once it has dropped it.
TEST_F(RefSelectWork, WorkTablesOfTwoDesksStayApart) {
  RefSelect refSelect;
  const auto id = static_cast<std::int32_t>(number("select min(AutoID) from CurrentStock"));
  const std::string where = " where AutoID = " + std::to_string(id);
  auto desk = [](const char* session) {
    ::setenv("QUILLON_TERMINAL_SESSION", session, 1);
    return module::WorkTableSuffix() + "_CurrentS";
  };
  const std::string one = desk("1");
  connection->execute("create table " + one +
                      " ( AutoID int , fSumOutQ decimal(20,6),fSumOutN decimal(20,6))"
                      " insert into " +
                      one + " select Autoid,7,0 from CurrentStock");
  refSelect.CreateAndDropTmpCurrentStock(login, true);
  EXPECT_EQ(number("select sum(fSumOutQ) from " + one), 0);
  refSelect.UpdateTmpCurrentStock(login, 4, 0, id);

  const std::string two = desk("2");
  refSelect.CreateAndDropTmpCurrentStock(login, true);
  refSelect.UpdateTmpCurrentStock(login, 1, 0.5, id);
  connection->execute("update " + two + " set fSumOutQ = fSumOutQ + 2" + where);
  EXPECT_EQ(number("select fSumOutQ from " + one + where), 4);
  EXPECT_EQ(number("select fSumOutQ from " + two + where), 3);
  EXPECT_EQ(number("select fSumOutN from " + two + where), 0.5);
  EXPECT_EQ(number("select count(*) from sysobjects where name = N'" + two + "'"), 1);
  EXPECT_EQ(number("select count(*) from CurrentStock c inner join " + two +
                   " t on t.AutoID = c.AutoID where t.fSumOutQ > 0"),
            1);
  // A stock row added while the voucher is entered has its row, with nothing taken.
  connection->execute(
      "insert into CurrentStock (cWhCode, cInvCode, cBatch, iQuantity) values ('T9', 'X1', '', "
      "5)");
  EXPECT_EQ(number("select count(*) from " + two), number("select count(*) from CurrentStock"));
  EXPECT_EQ(number("select sum(fSumOutQ) from " + two), 3);

  // Desk two's drop leaves desk one's sums; made again, desk two's table starts from zero.
  refSelect.CreateAndDropTmpCurrentStock(login, false);
  EXPECT_THROW(connection->execute("select count(*) from " + two), ComError);
  EXPECT_EQ(number("select sum(fSumOutQ) from " + one), 4);
  refSelect.CreateAndDropTmpCurrentStock(login, true);
  EXPECT_EQ(number("select sum(fSumOutQ) from " + two), 0);
  refSelect.CreateAndDropTmpCurrentStock(login, false);
  desk("1");
  refSelect.CreateAndDropTmpCurrentStock(login, false);
  ::unsetenv("QUILLON_TERMINAL_SESSION");
  EXPECT_EQ(number("select count(*) from sysobjects where name like '%CurrentS%' and name <> "
                   "'CurrentStock'"),
            0);
  EXPECT_EQ(number("select count(*) from ST_WorkSums"), 0);
}

// A host's own code finds the work table as a user table and replaces it with the classic
// "drop it if it is a user table, then create it" batch, or drops it and selects into its name:
// the drop takes the desk's sums along and leaves another desk's.
TEST_F(RefSelectWork, AHostsDropAndCreateOfTheWorkTableWorkAsOnATable) {
  RefSelect refSelect;
  const std::string name = prefix + "_CurrentS";
  const auto id = static_cast<std::int32_t>(number("select min(AutoID) from CurrentStock"));
  ::setenv("QUILLON_TERMINAL_SESSION", "other", 1);
  refSelect.CreateAndDropTmpCurrentStock(login, true);
  refSelect.UpdateTmpCurrentStock(login, 2, 0, id);
  ::unsetenv("QUILLON_TERMINAL_SESSION");
  refSelect.CreateAndDropTmpCurrentStock(login, true);
  refSelect.UpdateTmpCurrentStock(login, 5, 1, id);
  const double others = number("select count(*) from ST_WorkSums") - 1;
  ASSERT_GE(others, 1);

  EXPECT_EQ(number("select count(*) from dbo.sysobjects where id = object_id(N'[dbo].[" + name +
                   "]') and OBJECTPROPERTY(id, N'IsUserTable') = 1 and xtype = 'U'"),
            1);
  EXPECT_EQ(number("select count(*) from sysobjects where name = '" + name + "' and type = 'U'"),
            1);
  EXPECT_EQ(number("select case when object_id('" + name + "', 'U') is null then 0 else 1 end"), 1);
  EXPECT_EQ(number("select objectproperty(object_id('" + name + "'), 'IsView')"), 0);

  const std::string hostBatch =
      " if  exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[" + name +
      "]') and OBJECTPROPERTY(id, N'IsUserTable') = 1) drop table " + name + " create table " +
      name + " ( AutoID int , fSumOutQ decimal(20,6),fSumOutN decimal(20,6)) insert into " + name +
      " select Autoid,0,0 from CurrentStock ";
  connection->execute(hostBatch, nullptr, -1);
  EXPECT_EQ(number("select count(*) from " + name), number("select count(*) from CurrentStock"));
  EXPECT_EQ(number("select sum(fSumOutQ) from " + name), 0);
  EXPECT_EQ(number("select count(*) from ST_WorkSums"), others);
  // The host's table is a plain table: its rows are its own, and the batch runs again over it.
  connection->execute("delete from " + name + " where AutoID = " + std::to_string(id));
  connection->execute(hostBatch, nullptr, -1);
  EXPECT_EQ(number("select count(*) from " + name), number("select count(*) from CurrentStock"));

  // Made again by the library, then dropped by the host and its name selected into.
  refSelect.CreateAndDropTmpCurrentStock(login, true);
  refSelect.UpdateTmpCurrentStock(login, 3, 0, id);
  EXPECT_EQ(number("select count(*) from ST_WorkSums"), others + 1);
  connection->execute(" drop table " + name + " ");
  EXPECT_EQ(number("select count(*) from ST_WorkSums"), others);
  EXPECT_EQ(number("select count(*) from sysobjects where name = '" + name + "'"), 0);
  connection->execute("select AutoID, 0 as fSumOutQ into " + name + " from CurrentStock");
  EXPECT_EQ(number("select count(*) from " + name), number("select count(*) from CurrentStock"));
  connection->execute(" drop table " + name + " ");
  // A drop of what is not there fails as a table's drop does.
  EXPECT_THROW(connection->execute(" drop table " + name + " "), ComError);
}

TEST_F(RefSelectWork, QueryRewrites) {
  RefSelect refSelect;
  const std::string join = "  left join  " + prefix + "_CurrentS  on  " + prefix +
                           "_CurrentS.autoid=currentstock.autoid where";
  std::string sql =
      "select iQuantity, iNum from currentstock Where cInvCode in (select cInvCode from Inventory "
      "Where bInvBatch = 1) and iNum > 0 and 1 = (select 1 where 1 = 1)";
  const std::string result = refSelect.GetAllBSQL(sql);
  EXPECT_EQ(sql, "select (iQuantity - IsNull(fSumOutQ, 0)), iNum from currentstock " + join +
                     " cInvCode in (select cInvCode from Inventory " + join +
                     " bInvBatch = 1) and iNum > 0 and 1 = (select 1 where 1 = 1)");
  EXPECT_EQ(
      result,
      "select (iQuantity - IsNull(fSumOutQ, 0)), (iNum-IsNull(fSumOutN,0)) from currentstock " +
          join + " cInvCode in (select cInvCode from Inventory " + join +
          " bInvBatch = 1) and (iNum-IsNull(fSumOutN,0)) > 0 and 1 = (select 1 where 1 = 1)");

  std::string rds =
      "select abs(RdRecords.iQuantity) as a, (abs(RdRecords.inum)) as b, isnull( "
      "abs(RdRecords.inum),0) "
      "from rdrecords Where 1 = 1";
  const std::string rdsResult = refSelect.GetAllRDSSQL(rds);
  const std::string rdsJoin = "  left join   " + prefix + "_TmpRdRecords  on " + prefix +
                              "_TmpRdRecords.autoid=mainbatch.rdid where";
  EXPECT_EQ(rds,
            "select abs(RdRecords.iQuantity) - IsNull(fSumOutQ, 0) as a, (abs(RdRecords.inum)) "
            "as b, isnull( abs(RdRecords.inum),0) from rdrecords " +
                rdsJoin + " 1 = 1");
  EXPECT_EQ(rdsResult,
            "select abs(RdRecords.iQuantity) - IsNull(fSumOutQ, 0) as a, "
            "(abs(RdRecords.inum)) as b, isnull( abs(RdRecords.inum)-IsNull(fSumOutN,0),0) "
            "from rdrecords " +
                rdsJoin + " 1 = 1");

  // Late-bound: the by-reference text keeps two steps, the result has three.
  std::vector<Variant> args = {Variant("select iNum from currentstock Where 1=1")};
  auto object = automation::CreateObject("Quillon.RefSelect");
  const Variant returned = call(*object, "GetAllBSQL", args);
  EXPECT_EQ(args[0].toString(), "select iNum from currentstock " + join + " 1=1");
  EXPECT_EQ(returned.toString(),
            "select (iNum-IsNull(fSumOutN,0)) from currentstock " + join + " 1=1");
}

TEST_F(RefSelectWork, NetQuantitiesThroughTheRewrite) {
  RefSelect refSelect;
  refSelect.CreateAndDropTmpCurrentStock(login, true);
  const auto id = static_cast<std::int32_t>(
      number("select min(AutoID) from CurrentStock where cWhCode = '01' and iQuantity > 10"));
  refSelect.UpdateTmpCurrentStock(login, 4, 0, id);
  std::string sql =
      "select iQuantity from currentstock Where currentstock.AutoID = " + std::to_string(id);
  const double before = number(sql);
  EXPECT_DOUBLE_EQ(number(refSelect.GetAllBSQL(sql)), before - 4);

  // Receipt lines joined to their batch records, net of what the receipt work table holds.
  refSelect.CreateAndDropTmpRdrecord(login, true);
  const auto line = static_cast<std::int32_t>(
      number("select min(RdID) from mainbatch where cWhCode = '01' and cInvCode = '0101002'"));
  refSelect.UpdateTmpRdrecords(login, 7, 0, line);
  std::string receipts =
      "select abs(RdRecords.iQuantity) from rdrecords inner join mainbatch on mainbatch.RdID = "
      "rdrecords.AutoID Where rdrecords.AutoID = " +
      std::to_string(line);
  const double received = number(receipts);
  EXPECT_DOUBLE_EQ(number(refSelect.GetAllRDSSQL(receipts)), received - 7);
}

// Terminal sessions as desks name them, and one that holds SQL: each desk's tables work, and
// nothing outside them changes.
TEST_F(RefSelectWork, SessionIdsFromOutsideNameValidTablesOfTheirOwn) {
  struct SessionGuard {
    ~SessionGuard() { ::unsetenv("QUILLON_TERMINAL_SESSION"); }
  } guard;
  const std::string stock = "select count(*) + sum(iQuantity) from CurrentStock";
  const double before = number(stock);
  const auto id = static_cast<std::int32_t>(number("select min(AutoID) from CurrentStock"));
  RefSelect refSelect;
  std::set<std::string> names;
  for (const char* session : {"RDP-Tcp#3", "build-01.example.com", "it's", "a b", "3",
                              "x_CurrentS set fSumOutQ = 0 delete from CurrentStock --",
                              "x_CurrentS where 1=0; drop table CurrentStock --"}) {
    ::setenv("QUILLON_TERMINAL_SESSION", session, 1);
    const std::string table = module::WorkTableSuffix() + "_CurrentS";
    EXPECT_TRUE(names.insert(table).second) << table;
    refSelect.CreateAndDropTmpCurrentStock(login, true);
    refSelect.UpdateTmpCurrentStock(login, 2, 1, id);
    std::string sql =
        "select iQuantity from currentstock Where currentstock.AutoID = " + std::to_string(id);
    EXPECT_DOUBLE_EQ(
        number(refSelect.GetAllBSQL(sql)),
        number("select iQuantity from CurrentStock where AutoID = " + std::to_string(id)) - 2)
        << session;
    EXPECT_EQ(number("select sum(fSumOutQ) from " + table), 2) << session;
    refSelect.CreateAndDropTmpCurrentStock(login, false);
  }
  EXPECT_EQ(number(stock), before);
}

TEST_F(RefSelectWork, AutoIdMatchesEveryIdentifyingColumn) {
  connection->execute(
      "insert into CurrentStock (cWhCode, cInvCode, cBatch, iQuantity) values ('T9', 'X1', "
      "'B''1', 5)\n"
      "insert into CurrentStock (cWhCode, cInvCode, cBatch, cFree3, iQuantity) values ('T9', "
      "'X1', '', 'red', 6)\n"
      "insert into CurrentStock (cWhCode, cInvCode, cBatch, iQuantity) values ('T9', 'X1', '', "
      "7)");
  RefSelect refSelect;
  std::array<std::string, 10> free{};
  const auto plain =
      number("select AutoID from CurrentStock where cWhCode = 'T9' and iQuantity = 7");
  EXPECT_EQ(refSelect.GetAutoID(login, "T9", "X1", free, ""), plain);
  free[2] = "red";
  EXPECT_EQ(refSelect.GetAutoID(login, "T9", "X1", free, ""),
            number("select AutoID from CurrentStock where cWhCode = 'T9' and iQuantity = 6"));
  free[2].clear();
  // A quote inside a value is part of the value, never the end of the literal.
  EXPECT_EQ(refSelect.GetAutoID(login, "T9", "X1", free, "B'1"),
            number("select AutoID from CurrentStock where cWhCode = 'T9' and iQuantity = 5"));
  EXPECT_EQ(refSelect.GetAutoID(login, "T9' or '1'='1", "X1", free, ""), 0);
  EXPECT_EQ(refSelect.GetAutoID(login, "T9", "X2", free, ""), 0);

  // The query always names all ten free items, batch right after the inventory.
  const std::string text = RefSelect::autoIdQuery("01", "A", free, "B");
  EXPECT_EQ(text.substr(0, 88),
            " Select AutoID from CurrentStock where cWhCode=N'01' and  cInvCode=N'A' "
            "and  cBatch=N'B'");
  EXPECT_NE(text.find("' and  cFree10=N''"), std::string::npos);

  // Late-bound with omitted free items and batch.
  auto object = automation::CreateObject("Quillon.RefSelect");
  std::vector<Variant> args = {Variant(login), Variant("T9"), Variant("X1")};
  EXPECT_EQ(call(*object, "GetAutoID", args).toLong(), static_cast<std::int32_t>(plain));
}

TEST_F(RefSelectWork, LateBoundSurface) {
  auto& registry = automation::classRegistry();
  ASSERT_NE(registry.find("{2168BD89-83F2-4BC1-98DE-EAF2D0373F88}"), nullptr);
  auto object = automation::CreateObject("Quillon.RefSelect");
  const char* order[] = {"AutoRefer",
                         "Refer",
                         "ReturnData",
                         "ExchRate",
                         "CreateAndDropTmpCurrentStock",
                         "GetAllBSQL",
                         "GetAllRDSSQL",
                         "GetAutoID",
                         "UpdateTmpCurrentStock",
                         "CreateAndDropTmpRdrecord",
                         "UpdateTmpRdrecords"};
  for (int i = 0; i < 11; ++i) EXPECT_EQ(object->idOfName(order[i]), i + 1) << order[i];

  object->let("ExchRate", Variant("2.5"));
  EXPECT_EQ(object->get("ExchRate"), Variant(2.5));
  EXPECT_TRUE(object->get("ReturnData").isNothing());
  auto rs = std::make_shared<ado::Recordset>();
  object->set("ReturnData", rs);
  EXPECT_EQ(object->get("ReturnData").asObject(), rs);
  object->set("ReturnData", nullptr);
  EXPECT_TRUE(object->get("ReturnData").isNothing());

  // A failing update reaches the host (no work table), and the result is never True.
  std::vector<Variant> update = {Variant(login), Variant(1.0), Variant(0.0), Variant(1)};
  EXPECT_THROW(call(*object, "UpdateTmpCurrentStock", update), ComError);
  std::vector<Variant> noLogin = {Variant::nothing(), Variant(true)};
  EXPECT_THROW(call(*object, "CreateAndDropTmpCurrentStock", noLogin), ComError);
}

}  // namespace
}  // namespace quillon::classes
