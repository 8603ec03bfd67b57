// A small stock table on an in-memory database, shared by the data-access tests.
#pragma once

#include <memory>
#include <string>

#include "ado/connection.h"
#include "ado/recordset.h"

namespace quillon::ado::testing {

// An open connection to a fresh in-memory database holding the table "stock":
//
//   AutoID cInvCode cInvName  iQuantity fPrice dDate       bFlag 上级编码 入库日期    入库系统编号
//   1      A001     Bolt      10        1.5    2026-01-05  1     01       2026-03-01  7
//   2      a002     bolt nut  -3        2      2026-02-10  0     0101     2026-03-01  9
//   3      B001     Washer    0         NULL   NULL        1     02       2026-02-01  3
//   4      C010     Nut's cap 4.5       0.25   2026-03-15  NULL  0102     2026-03-01  8
//   5      b002     NULL      12        3      2026-01-05  0     NULL     2026-04-01  1
std::shared_ptr<Connection> openStockDb();

// The stock table, all rows in AutoID order.
std::shared_ptr<Recordset> openStock(const std::shared_ptr<Connection>& cn,
                                     const std::string& where = {});

// The AutoIDs of the rows the recordset's view shows, in view order, as "1,3,5"; the position
// is left at EOF.
std::string autoIds(Recordset& rs);

}  // namespace quillon::ado::testing
