#include "test_data.h"

namespace quillon::ado::testing {

std::shared_ptr<Connection> openStockDb() {
  auto cn = std::make_shared<Connection>();
  cn->open("Provider=Quillon.SQLite;Data Source=:memory:");
  cn->execute(
      "create table stock (AutoID int, cInvCode varchar(20), cInvName nvarchar(60), "
      "iQuantity decimal(20,6), fPrice float, dDate datetime, bFlag bit, "
      "上级编码 nvarchar(20), 入库日期 datetime, 入库系统编号 int)\n"
      "insert into stock values (1, 'A001', 'Bolt', 10, 1.5, '2026-01-05', 1, '01', "
      "'2026-03-01', 7)\n"
      "insert into stock values (2, 'a002', 'bolt nut', -3, 2, '2026-02-10', 0, '0101', "
      "'2026-03-01', 9)\n"
      "insert into stock values (3, 'B001', 'Washer', 0, NULL, NULL, 1, '02', '2026-02-01', 3)\n"
      "insert into stock values (4, 'C010', 'Nut''s cap', 4.5, 0.25, '2026-03-15 08:30:00', "
      "NULL, '0102', '2026-03-01', 8)\n"
      "insert into stock values (5, 'b002', NULL, 12, 3, '2026-01-05', 0, NULL, '2026-04-01', "
      "1)");
  return cn;
}

std::shared_ptr<Recordset> openStock(const std::shared_ptr<Connection>& cn,
                                     const std::string& where) {
  auto rs = std::make_shared<Recordset>();
  rs->open("select * from stock" + (where.empty() ? "" : " where " + where) + " order by AutoID",
           cn);
  return rs;
}

std::string autoIds(Recordset& rs) {
  std::string out;
  if (rs.recordCount() == 0) return out;
  rs.moveFirst();
  while (!rs.eof()) {
    if (!out.empty()) out += ",";
    out += std::to_string(rs.value("AutoID").toLong());
    rs.moveNext();
  }
  return out;
}

}  // namespace quillon::ado::testing
