// Shared holds: what every desk of an account holds of each stock row and receipt line, seen by all
// of them, when the account parameter "st"/"bSharedHolds" is "true".
//
// Without the parameter each desk keeps its holds in its own work tables (prefix + "_CurrentS",
// prefix + "_TmpRdRecords") and nets only those out of the stock it is offered. With it, every
// hold is also written to one table of the account, ST_Holds (a row per desk, kind and source row),
// and the rewritten candidate queries join the sums of every live desk's holds (the views
// ST_StockHolds and ST_ReceiptHolds, columns AutoID, fSumOutQ, fSumOutN) instead of the desk's own
// table. The desk's work tables stay as they are, with its own sums, for hosts that read them.
//
// A hold is taken inside a transaction that holds the account's write lock (the file's write lock
// on the embedded engine, the account's advisory lock on the server) before the holds are
// counted, so two desks asking for the last units at once are served one after the other and the
// second sees the first's hold: no hold makes the holds on a row exceed what the row holds (the
// stock row's iQuantity; the receipt line's abs(iQuantity) less what was already issued against
// it, iSOutQuantity). A refused hold changes nothing and raises kHoldRefusedNumber with a text
// naming the row and what is still free.
//
// A desk's holds end when it drops its work table, and when the desk is gone: on the server when
// the session the desk registered with has ended (each desk process keeps one session open for as
// long as it lives), on the embedded engine when the desk has taken no hold for
// kLeasePeriodSeconds. Holds of gone desks are not counted, and are deleted by the next hold any
// desk takes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillon::ado {
class Connection;
}

namespace quillon::module {

// The error of a refused hold (the number of a statement the database refused) and its text.
inline constexpr std::int32_t kHoldRefusedNumber = -2147217900;
// How long a desk on an account file keeps its holds without taking another one.
inline constexpr int kLeasePeriodSeconds = 600;

enum class HoldKind : std::uint8_t {
  Stock,    // a CurrentStock row
  Receipt,  // a rdrecords line
};

// Whether the account has shared holds on ("st"/"bSharedHolds" = "true"). The answer is kept per
// account location; `SharedHoldsKnown` tells the last answer read in this process (false before
// any), for rewrites that get no connection.
bool SharedHoldsOn(ado::Connection& connection);
bool SharedHoldsKnown();
// Forgets the kept answers (for a process that changes the parameter).
void ForgetSharedHolds();

// Creates the tables and views of shared holds when they are missing.
void InstallSharedHolds(ado::Connection& connection);

// The view that sums the live desks' holds of a kind, for the rewritten queries.
std::string_view HoldsView(HoldKind kind);

// The refusal text for a hold on `autoId` when `free` is what is still free of it.
std::string HoldRefusedText(HoldKind kind, std::int32_t autoId, double free);

// Adds (sumOutQ, sumOutN) to the desk's hold on row `autoId` and to its work table `workTable`
// (whose row must exist, as without shared holds), refusing, with nothing changed, a hold that
// would make the live desks' holds on the row exceed what the row holds. Negative amounts give
// back and are never refused.
void TakeHold(ado::Connection& connection, HoldKind kind, const std::string& desk,
              const std::string& workTable, double sumOutQ, double sumOutN, std::int32_t autoId);

// Ends the desk's holds of a kind (its work table is being dropped or made afresh).
void ReleaseHolds(ado::Connection& connection, HoldKind kind, const std::string& desk);

// What the live desks other than `desk` hold (quantity) of each row of the inventory in the
// warehouse that they hold anything of, by AutoID.
std::vector<std::pair<std::int32_t, double>> OthersHold(ado::Connection& connection, HoldKind kind,
                                                        const std::string& desk,
                                                        const std::string& whCode,
                                                        const std::string& invCode);
// The line the current-stock dialog shows of them: "其他工作站占用：" and "记录 <AutoID> <qty>" for
// each, or "无" (none).
std::string OthersHoldLine(const std::vector<std::pair<std::int32_t, double>>& holds);

}  // namespace quillon::module
