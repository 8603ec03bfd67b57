#include "ref_fixture.h"

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "classes/public_classes.h"
#include "components/suite/login.h"
#include "forms/form.h"

namespace quillon::dialogs::testing {

namespace {

std::string quoted(const std::string& s) {
  return "'" + s + "'";
}

}  // namespace

void setUpEnvironment() {
  test_support::demoAccount(classes::registerAllClasses);
}

void execute(const std::string& path, const std::string& sql) {
  connect(path)->execute(sql);
}

void setOption(const std::string& path, const std::string& name, const std::string& value) {
  execute(path,
          "update accinformation set cValue = " + quoted(value) + " where cName = " + quoted(name));
}

void makeBatchCandidates(const std::string& path, const std::vector<CandRow>& rows) {
  std::string sql =
      "create table Cand (id int, 批号 nvarchar(30), 失效日期 datetime null, 结存数量 "
      "decimal(20,6), 结存件数 decimal(20,6), f1 int, f2 int, f3 int, f4 int, 出库数量 "
      "decimal(20,6), 出库件数 decimal(20,6), AutoID int, cWhCode nvarchar(10), cInvCode "
      "nvarchar(20))\n";
  int id = 0;
  for (const CandRow& r : rows) {
    ++id;
    sql += "insert into Cand values (" + std::to_string(id) + ", " + quoted(r.batch) + ", " +
           (r.expiry.empty() ? std::string("null") : quoted(r.expiry)) + ", " +
           std::to_string(r.stock) + ", " + std::to_string(r.pieces) + ", 0, 0, 0, 0, 0, 0, " +
           std::to_string(100 + id) + ", 'T1', '0101003')\n";
  }
  execute(path, sql);
}

void makeTraceCandidates(const std::string& path, const std::vector<TraceRow>& rows) {
  // Nineteen fields from 结存数量 to the end: 结存数量 19th from the end, 出库数量 13th.
  std::string sql =
      "create table Cand (id int, 结存数量 decimal(20,6), 结存件数 decimal(20,6), 入库数量 "
      "decimal(20,6), 入库件数 decimal(20,6), 入库单号 nvarchar(30), 入库日期 datetime, 出库数量 "
      "decimal(20,6), 出库件数 decimal(20,6), 入库系统编号 int, g1 int, g2 int, g3 int, g4 int, "
      "g5 int, g6 int, g7 int, g8 int, g9 int, g10 int)\n";
  int id = 0;
  for (const TraceRow& r : rows) {
    ++id;
    sql += "insert into Cand values (" + std::to_string(id) + ", " + std::to_string(r.stock) +
           ", 0, " + std::to_string(r.stock) + ", 0, 'RK" + std::to_string(r.receiptNo) + "', " +
           quoted(r.date) + ", 0, 0, " + std::to_string(r.receiptNo) +
           ", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0)\n";
  }
  execute(path, sql);
}

void RefSelectCase::SetUp() {
  setUpEnvironment();
  path = demoCopy(::testing::UnitTest::GetInstance()->current_test_info()->name());
  login = loginAs("demo", path);
  host = std::make_shared<RecordingUiHost>();
  scoped = std::make_unique<forms::ScopedUiHost>(host);
}

classes::RefSelect::Request RefSelectCase::request(double quantity, std::int32_t refType) {
  classes::RefSelect::Request r;
  r.whCode = "T1";
  r.invCode = "0101003";
  r.quantity = quantity;
  r.refType = refType;
  r.sql = kCandQuery;
  return r;
}

}  // namespace quillon::dialogs::testing
