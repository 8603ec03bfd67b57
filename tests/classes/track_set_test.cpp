// TrackSet's check and write-back of tracked out-counts on a copy of the demo account, with the
// host's head and body recordsets built as a voucher program holds them.
#include <gtest/gtest.h>

#include "ado/connection.h"
#include "ado/data_type.h"
#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "classes/public_classes.h"
#include "classes/track_set.h"
#include "module/module_state.h"
#include "support/demo_account.h"

namespace quillon::classes {
namespace {

using automation::ObjectPtr;
using automation::Variant;

// An inventory as the host passes it: only the piece-count flag matters here.
class FlagInventory : public automation::Object {
 public:
  explicit FlagInventory(bool notCheckNum) : notCheckNum_(notCheckNum) {}
  const automation::MemberTable& memberTable() const override {
    static const automation::MemberTable table =
        automation::MemberBuilder<FlagInventory>("Inventory")
            .field("bNotCheckNum", "Boolean", &FlagInventory::notCheckNum_)
            .build();
    return table;
  }

 private:
  bool notCheckNum_;
};

class TrackSetWrite : public ::testing::Test {
 protected:
  void SetUp() override {
    con = test_support::connect(
        test_support::demoAccount(registerAllClasses)
            .copy(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    line = static_cast<std::int32_t>(
        number("select min(r.AutoID) from rdrecords r inner join rdrecord h on h.ID = r.ID where "
               "h.bRdFlag = 1 and r.iSOutQuantity > 0"));
    head = ado::Recordset::fabricate({{"cWhCode", ado::adVarWChar}});
    head->addNew();
    head->setValue(Variant("cWhCode"), Variant("01"));
    head->update();
    std::vector<ado::FieldDef> fields = {
        {"cInvCode", ado::adVarWChar},    {"cBatch", ado::adVarWChar},
        {"iSOutQuantity", ado::adDouble}, {"iSOutNum", ado::adDouble},
        {"iQuantity", ado::adDouble},     {"iNum", ado::adDouble}};
    for (int k = 1; k <= 10; ++k) fields.push_back({"cFree" + std::to_string(k), ado::adVarWChar});
    body = ado::Recordset::fabricate(fields);
    body->addNew();
    for (int k = 1; k <= 10; ++k) body->setValue(Variant("cFree" + std::to_string(k)), Variant(""));
    body->update();
  }

  double number(const std::string& sql) {
    return con->execute(sql)->value(std::size_t{0}).toDouble();
  }
  void setBody(const char* field, const Variant& v) {
    body->setValue(Variant(field), v);
    body->update();
  }
  std::string id() const { return std::to_string(line); }

  std::shared_ptr<ado::Connection> con;
  std::shared_ptr<ado::Recordset> head;
  std::shared_ptr<ado::Recordset> body;
  std::int32_t line = 0;
  TrackSet track;
};

TEST_F(TrackSetWrite, CheckComparesStrictly) {
  const double out = number("select iSOutQuantity from rdrecords where AutoID = " + id());
  const double outNum = number("select iSOutNum from rdrecords where AutoID = " + id());
  auto checkNum = std::make_shared<FlagInventory>(false);
  setBody("iSOutQuantity", Variant(out));
  setBody("iSOutNum", Variant(outNum));
  std::string err = "kept";
  EXPECT_TRUE(track.AllowWritCount(id(), head.get(), body.get(), con.get(), checkNum, err));
  EXPECT_EQ(err, "kept");

  setBody("iSOutQuantity", Variant(out - 0.000001));
  EXPECT_TRUE(track.AllowWritCount(id(), head.get(), body.get(), con.get(), checkNum, err));
  EXPECT_EQ(err, "出库数大于了入库数量！");

  // Pieces: checked only when the inventory's flag is False.
  setBody("iSOutQuantity", Variant(out));
  setBody("iSOutNum", Variant(outNum - 1));
  err.clear();
  EXPECT_TRUE(track.AllowWritCount(id(), head.get(), body.get(), con.get(),
                                   std::make_shared<FlagInventory>(true), err));
  EXPECT_EQ(err, "");
  EXPECT_TRUE(track.AllowWritCount(id(), head.get(), body.get(), con.get(), checkNum, err));
  EXPECT_EQ(err, "出库数大于了入库数量！");

  // The stock check compares with the body's stock quantity.
  setBody("iQuantity", Variant(out - 1));
  setBody("iNum", Variant(outNum));
  err.clear();
  EXPECT_TRUE(track.AllowWritCount(id(), head.get(), body.get(), con.get(), checkNum, err, false));
  EXPECT_EQ(err, "出库数大于了结存数量！");

  // No such line: nothing to check.
  err = "kept";
  EXPECT_TRUE(track.AllowWritCount("999999", head.get(), body.get(), con.get(), checkNum, err));
  EXPECT_EQ(err, "kept");
}

TEST_F(TrackSetWrite, RefusalsAndTrappedErrors) {
  // Refusals carry the member's trapped prefix like every other failure, and run no statement.
  std::string err;
  module::gSQL = "untouched";
  EXPECT_FALSE(track.AllowWritCount("1 or 1=1", head.get(), body.get(), con.get(), nullptr, err));
  EXPECT_EQ(err, "TrackSet:AllowWritCount13\r\n入库记录号[1 or 1=1]不是整数");
  setBody("iSOutQuantity", Variant(1.0));
  setBody("iSOutNum", Variant(0.0));
  for (const char* id : {"", " ", "+", "-", "1.5", "\t1", "1\n", "+ 1", "1 --", "+-1", "0x27",
                         "1e2", "1 2", "99999999999999999999"}) {
    EXPECT_FALSE(track.WritCountofRD_CS(id, head.get(), body.get(), con.get(), true, err));
    EXPECT_EQ(err, "TrackSet:WritCountofRD_CS13\r\n入库记录号[" + std::string(id) + "]不是整数");
  }
  EXPECT_EQ(module::gSQL, "untouched");

  // A missing inventory object is a run-time error of the method, reported with its prefix.
  EXPECT_FALSE(track.AllowWritCount(id(), head.get(), body.get(), con.get(), nullptr, err));
  EXPECT_EQ(err.rfind("TrackSet:AllowWritCount91\r\n", 0), 0u) << err;
  module::gSQL = "untouched";

  // A quantity that is not a number is refused before any statement runs.
  setBody("iSOutQuantity", Variant("abc"));
  EXPECT_FALSE(track.WritCountofRD_CS(id(), head.get(), body.get(), con.get(), true, err));
  EXPECT_EQ(err, "TrackSet:WritCountofRD_CS13\r\nType mismatch");
  setBody("iSOutQuantity", Variant::null());
  EXPECT_FALSE(track.WritCountofRD_CS(id(), head.get(), body.get(), con.get(), true, err));
  EXPECT_EQ(err.rfind("TrackSet:WritCountofRD_CS94\r\n", 0), 0u) << err;
  EXPECT_EQ(module::gSQL, "untouched");
}

// Body values that once became statement text: each writes one row or nothing.
TEST_F(TrackSetWrite, BodyValuesCannotWidenTheWrite) {
  const std::string sums = "select sum(iSOutQuantity) + 1000 * sum(iSOutNum) from rdrecords";
  const double all = number(sums);
  const double mine = number("select iSOutNum from rdrecords where AutoID = " + id());
  std::string err;

  setBody("iSOutQuantity", Variant("1 --"));
  setBody("iSOutNum", Variant(0.0));
  EXPECT_FALSE(track.WritCountofRD_CS(id(), head.get(), body.get(), con.get(), true, err));
  EXPECT_DOUBLE_EQ(number(sums), all);

  // Subtracting a negative count: "iSOutNum--1" would comment out the row condition.
  setBody("iSOutQuantity", Variant(0.0));
  setBody("iSOutNum", Variant(-1.0));
  EXPECT_TRUE(track.WritCountofRD_CS(id(), head.get(), body.get(), con.get(), true, err, false))
      << err;
  EXPECT_DOUBLE_EQ(number("select iSOutNum from rdrecords where AutoID = " + id()), mine + 1);
  EXPECT_DOUBLE_EQ(number(sums), all + 1000);
  EXPECT_NE(module::gSQL.find("iSOutNum-(-1) where"), std::string::npos) << module::gSQL;

  // A quote in an identifying value is part of the value: no stock row has it.
  const std::string stock = "select sum(iQuantity) from CurrentStock";
  const double stockBefore = number(stock);
  setBody("iSOutQuantity", Variant(1.0));
  setBody("iSOutNum", Variant(0.0));
  setBody("cInvCode", Variant("0104001"));
  setBody("cBatch", Variant("x' or '1'='1"));
  EXPECT_TRUE(track.WritCountofRD_CS("", head.get(), body.get(), con.get(), false, err)) << err;
  EXPECT_DOUBLE_EQ(number(stock), stockBefore);
  EXPECT_EQ(con->database().changes(), 0);
}

TEST_F(TrackSetWrite, ReceiptLineAddsAndSubtracts) {
  const double before = number("select iSOutQuantity from rdrecords where AutoID = " + id());
  setBody("iSOutQuantity", Variant(2.5));
  setBody("iSOutNum", Variant(1.0));
  std::string err;
  EXPECT_TRUE(track.WritCountofRD_CS(id(), head.get(), body.get(), con.get(), true, err));
  EXPECT_DOUBLE_EQ(number("select iSOutQuantity from rdrecords where AutoID = " + id()),
                   before + 2.5);
  EXPECT_EQ(module::gSQL, "UPDATE RdRecords SET cVouchCode =N'" + id() +
                              "', iSOutQuantity = iSOutQuantity +2.5, iSOutNum =  iSOutNum+1 "
                              "where AutoID = " +
                              id());
  // Late-bound with bIO False: the count goes back down.
  auto object = automation::CreateObject("Quillon.TrackSet");
  std::vector<Variant> args = {Variant(id()),
                               Variant(ObjectPtr(head)),
                               Variant(ObjectPtr(body)),
                               Variant(ObjectPtr(con)),
                               Variant(true),
                               Variant(""),
                               Variant(false)};
  EXPECT_EQ(object->invoke("WritCountofRD_CS", automation::InvokeKind::Method, args),
            Variant(true));
  EXPECT_DOUBLE_EQ(number("select iSOutQuantity from rdrecords where AutoID = " + id()), before);
  EXPECT_EQ(number("select cVouchCode from rdrecords where AutoID = " + id()), line);
}

// An id the database reads as a number is that number: blanks around it, a sign before it.
TEST_F(TrackSetWrite, IdWithBlanksOrSignIsTheNumber) {
  const double before = number("select iSOutQuantity from rdrecords where AutoID = " + id());
  setBody("iSOutQuantity", Variant(before + 1));
  setBody("iSOutNum", Variant(0.0));
  std::string err = "kept";
  auto inventory = std::make_shared<FlagInventory>(true);
  EXPECT_TRUE(
      track.AllowWritCount("  " + id() + " ", head.get(), body.get(), con.get(), inventory, err));
  EXPECT_EQ(err, "kept");
  EXPECT_EQ(module::gSQL, "SELECT *  FROM RdRecords where AutoID =" + id());
  setBody("iSOutQuantity", Variant(before - 1));
  EXPECT_TRUE(track.AllowWritCount("+" + id(), head.get(), body.get(), con.get(), inventory, err));
  EXPECT_EQ(err, "出库数大于了入库数量！");

  setBody("iSOutQuantity", Variant(2.0));
  const std::string given = " +" + id() + "  ";
  EXPECT_TRUE(track.WritCountofRD_CS(given, head.get(), body.get(), con.get(), true, err)) << err;
  EXPECT_DOUBLE_EQ(number("select iSOutQuantity from rdrecords where AutoID = " + id()),
                   before + 2);
  EXPECT_EQ(con->execute("select cVouchCode from rdrecords where AutoID = " + id())
                ->value(std::size_t{0})
                .toString(),
            given);
}

TEST_F(TrackSetWrite, StockRowByItsNonEmptyValues) {
  const std::string where = " from CurrentStock where cWhCode = '01' and cInvCode = '0104001'";
  const std::string batch =
      con->execute("select min(cBatch)" + where)->value(std::size_t{0}).toString();
  const std::string colour =
      con->execute("select min(cFree1)" + where + " and cBatch = '" + batch + "'")
          ->value(std::size_t{0})
          .toString();
  const double total = number("select sum(iQuantity)" + where);
  const double row = number("select iQuantity" + where + " and cBatch = '" + batch +
                            "' and cFree1 = '" + colour + "'");
  setBody("cInvCode", Variant("0104001"));
  setBody("cBatch", Variant(batch));
  setBody("cFree1", Variant(colour));
  setBody("iSOutQuantity", Variant(1.0));
  setBody("iSOutNum", Variant(0.0));
  std::string err;
  EXPECT_TRUE(track.WritCountofRD_CS("", head.get(), body.get(), con.get(), false, err, false));
  EXPECT_DOUBLE_EQ(number("select iQuantity" + where + " and cBatch = '" + batch +
                          "' and cFree1 = '" + colour + "'"),
                   row - 1);
  EXPECT_DOUBLE_EQ(number("select sum(iQuantity)" + where), total - 1);

  // Warehouse and inventory only: every row of the inventory in the warehouse.
  const auto rows = number("select count(*)" + where);
  setBody("cBatch", Variant(""));
  setBody("cFree1", Variant(""));
  EXPECT_TRUE(track.WritCountofRD_CS("", head.get(), body.get(), con.get(), false, err, true));
  EXPECT_DOUBLE_EQ(number("select sum(iQuantity)" + where), total - 1 + rows);

  // Nothing identifies a row: refused, nothing written.
  head->setValue(Variant("cWhCode"), Variant(""));
  head->update();
  setBody("cInvCode", Variant::null());
  const double all = number("select sum(iQuantity) from CurrentStock");
  EXPECT_FALSE(track.WritCountofRD_CS("", head.get(), body.get(), con.get(), false, err, true));
  EXPECT_EQ(err, std::string("TrackSet:WritCountofRD_CS5\r\n") + kStockRowUnknown);
  EXPECT_DOUBLE_EQ(number("select sum(iQuantity) from CurrentStock"), all);
}

}  // namespace
}  // namespace quillon::classes
