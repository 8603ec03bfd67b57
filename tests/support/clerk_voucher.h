// A clerk's material issue as the server's desk tests run it through `quillon run`, on a copy of
// the demo account with shared holds on: the production-order dialog filtered, a line marked and
// confirmed, the stock work table made, the stock rewritten and allocated, the hold taken, the
// quantity written back and the work table dropped.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "module/shared_holds.h"
#include "support/demo_account.h"

namespace quillon::test_support {

// Turns shared holds on in an account, their tables made by the account's owner as
// `init-db --shared-holds` makes them.
inline void turnOnSharedHolds(const std::string& account) {
  auto conn = connect(account);
  conn->execute(
      "update accinformation set cValue = 'true' where cSysID = 'st' and cName = 'bSharedHolds'");
  module::InstallSharedHolds(*conn);
  conn->close();
}

// The script, with `after(step)` written after each step: "login", "load", "worktable", "hold",
// "writeback", "dropped". It prints what every desk holds after the hold ("held_by_all") and the
// holds left after the drop ("holds_left").
inline std::string clerkVoucher(
    const std::function<std::string(std::string_view step)>& after = {}) {
  const auto then = [&](std::string_view step) { return after ? after(step) : std::string(); };
  return "login user=demo date=2026-12-05\n" + then("login") +
         R"qhs(new $po Quillon.ProduceOrder
new $q Quillon.Suite.StockQueries
new $r Quillon.RefSelect
on frmProduceOrder
  click chkAll
  click cmdFilter
  mark lstParent 1
  mark lstSub 1
  click cmdOk
end
$ok = call $po.load "" $login $coll $err - 11
expect $ok = true
expect $err = ""
expect $coll["Child"].count = 5
)qhs" + then("load") +
         R"qhs($made = call $r.CreateAndDropTmpCurrentStock $login true
)qhs" + then("worktable") +
         R"qhs($sql = call $q.CurrentStockSql "01" "0101003"
$net = call $r.GetAllBSQL $sql
set $short = "silent"
$ok = call $r.AutoRefer $login "01" "0101003" - 1000.0 0.0 0.0 0 $net false true "" $short
$data = call $r.ReturnData
expect $data.count = 1
$id = call $data.Collect "AutoID"
$taken = call $data.Collect "出库数量"
$pieces = call $data.Collect "出库件数"
$held = call $r.UpdateTmpCurrentStock $login $taken $pieces $id
sql "select sum(fSumOutQ) as held_by_all from ST_StockHolds"
)qhs" + then("hold") +
         R"qhs($w = call $po.WritefQuantity 1 2.5 $err
expect $w = true
expect $err = ""
)qhs" + then("writeback") +
         R"qhs($dropped = call $r.CreateAndDropTmpCurrentStock $login false
sql "select count(*) as holds_left from ST_StockHolds"
)qhs" + then("dropped");
}

}  // namespace quillon::test_support
