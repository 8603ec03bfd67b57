// The query texts. They are written so that RefSelect's rewrites apply: the stock query names its
// table `currentstock`, spells its filter keyword "Where" once and uses `iQuantity` / `iNum`
// unqualified and nowhere else; the receipt queries join `mainbatch` and take what is left of a
// line from "abs(RdRecords.iQuantity)" and " abs(RdRecords.inum)". Every other column is
// qualified, because the rewrites join a work table that has an AutoID of its own.
#include <string>

#include "components/suite/stock_queries_object.h"
#include "sql/sql_text.h"

namespace quillon::components::suite {

namespace {

std::string freeFields(const char* table) {
  std::string out;
  for (int k = 1; k <= 10; ++k) {
    out +=
        std::string(table) + ".cFree" + std::to_string(k) + " as 自由项" + std::to_string(k) + ", ";
  }
  return out;
}

// The line's conditions on `table`: warehouse and inventory always, batch and free items when
// the line names them.
std::string lineConditions(const StockLine& line, const char* table) {
  const std::string t(table);
  std::string out = t + ".cWhCode = " + sql::literal(line.whCode) + " and " + t +
                    ".cInvCode = " + sql::literal(line.invCode);
  if (!line.batch.empty()) out += " and " + t + ".cBatch = " + sql::literal(line.batch);
  for (std::size_t k = 0; k < line.free.size(); ++k) {
    if (line.free[k].empty()) continue;
    out += " and " + t + ".cFree" + std::to_string(k + 1) + " = " + sql::literal(line.free[k]);
  }
  return out;
}

constexpr const char* kZero = "convert(decimal(20,6),0)";
constexpr const char* kLeftQty = "abs(RdRecords.iQuantity) - RdRecords.iSOutQuantity";
constexpr const char* kLeftNum = "isnull( abs(RdRecords.inum),0) - RdRecords.iSOutNum";

std::string receiptFrom(const StockLine& line) {
  return " from rdrecords inner join rdrecord on rdrecord.ID = rdrecords.ID"
         " inner join mainbatch on mainbatch.RdID = rdrecords.AutoID"
         " inner join Inventory on Inventory.cInvCode = rdrecords.cInvCode"
         " left join Warehouse on Warehouse.cWhCode = mainbatch.cWhCode"
         " Where rdrecord.bRdFlag = 1 and " +
         lineConditions(line, "mainbatch") + " order by rdrecord.dDate, rdrecords.AutoID";
}

// The receipt line's own fields after the this-time ones, common to the tracking layouts.
constexpr const char* kTraceTail =
    "rdrecords.AutoID as 入库系统编号, mainbatch.cBatch as 批号, mainbatch.dMDate as 生产日期, "
    "mainbatch.dVDate as 失效日期, mainbatch.iMassDate as 保质期, rdrecords.iInvExchRate as "
    "换算率, "
    "rdrecords.iUnitCost as 单位成本, mainbatch.cWhCode as cWhCode, rdrecords.cInvCode as "
    "cInvCode, "
    "Warehouse.cWhName as 仓库, Inventory.cInvName as 存货名称";

}  // namespace

std::string StockQueriesObject::currentStockSql(const StockLine& line, bool stocktaking) const {
  std::string sql =
      "select Warehouse.cWhName as 仓库, Inventory.cInvName as 存货名称, "
      "currentstock.cBatch as 批号, " +
      freeFields("currentstock");
  if (stocktaking) {
    sql +=
        "currentstock.dMdate as 生产日期, currentstock.dVDate as 失效日期, "
        "iQuantity as 账面数量, iNum as 账面件数, " +
        std::string(kZero) + " as 盘点数量, " + kZero + " as 盘点件数, ";
  } else {
    sql +=
        "iQuantity as 结存数量, iNum as 结存件数, currentstock.dMdate as 生产日期, "
        "currentstock.dVDate as 失效日期, currentstock.iMassDate as 保质期, "
        "currentstock.fOutQuantity as 累计出库数量, " +
        std::string(kZero) + " as 出库数量, " + kZero + " as 出库件数, ";
  }
  sql +=
      "currentstock.AutoID as AutoID, currentstock.cWhCode as cWhCode, "
      "currentstock.cInvCode as cInvCode"
      " from currentstock inner join Inventory on Inventory.cInvCode = currentstock.cInvCode"
      " left join Warehouse on Warehouse.cWhCode = currentstock.cWhCode Where " +
      lineConditions(line, "currentstock") + " order by currentstock.cBatch, currentstock.AutoID";
  return sql;
}

std::string StockQueriesObject::receiptLineSql(const StockLine& line, bool stocktaking) const {
  std::string sql = "select " + freeFields("mainbatch");
  if (stocktaking) {
    sql +=
        "rdrecord.cCode as 入库单号, rdrecord.dDate as 入库日期, rdrecords.iQuantity as 入库数量, "
        "rdrecords.iNum as 入库件数, " +
        std::string(kLeftQty) + " as 账面数量, " + kLeftNum + " as 账面件数, " + kZero +
        " as 盘点数量, " + kZero + " as 盘点件数, ";
  } else {
    sql += std::string(kLeftQty) + " as 结存数量, " + kLeftNum +
           " as 结存件数, rdrecords.iQuantity as 入库数量, rdrecords.iNum as 入库件数, "
           "rdrecord.cCode as 入库单号, rdrecord.dDate as 入库日期, " +
           kZero + " as 出库数量, " + kZero + " as 出库件数, ";
  }
  return sql + kTraceTail + receiptFrom(line);
}

std::string StockQueriesObject::returnSql(const StockLine& line) const {
  return "select Warehouse.cWhName as 仓库, " + freeFields("mainbatch") + kLeftQty +
         " as 结存数量, " + kLeftNum + " as 结存件数, " + kZero + " as 退回数量, " + kZero +
         " as 退回件数, rdrecord.cCode as 入库单号, rdrecord.dDate as 入库日期, "
         "rdrecords.iQuantity as 入库数量, rdrecords.iNum as 入库件数, "
         "rdrecords.AutoID as 入库系统编号, mainbatch.cBatch as 批号, mainbatch.dMDate as "
         "生产日期, "
         "mainbatch.dVDate as 失效日期, mainbatch.iMassDate as 保质期, "
         "rdrecords.iInvExchRate as 换算率, mainbatch.cWhCode as cWhCode, "
         "rdrecords.cInvCode as cInvCode, Inventory.cInvName as 存货名称" +
         receiptFrom(line);
}

}  // namespace quillon::components::suite
