// The per-desk work tables of the current-stock reference: prefix + "_CurrentS" over CurrentStock
// and prefix + "_TmpRdRecords" over rdrecords, each with a row per source row (AutoID) and the sums
// the desk's voucher has taken of it (fSumOutQ, fSumOutN), zero until written.
//
// Copying a row per source row for every voucher cost a million inserts on a large account, and on
// the server the catalogue work of a new table, its index and its drop. A work table is therefore
// a view of its source table that reads each row's sums from one table of the account,
// ST_WorkSums (cDesk, iKind, AutoID, fSumOutQ, fSumOutN), which holds a row only for what a desk
// wrote. An update of the view by name (the library's own, or a host's) goes to ST_WorkSums through
// the view's trigger, so hosts read, join and update the work table by its name as before. The
// catalogue shows it as a user table (sysobjects type 'U', OBJECTPROPERTY IsUserTable 1) while it
// exists, and a host's "drop table" of it drops the view and the desk's sums, so the usual "drop
// it if it is there, then select into it" works. Making one costs a view and its trigger whatever
// the number of source rows; dropping it drops the view and the desk's sums.
#pragma once

#include <string>

#include "module/shared_holds.h"

namespace quillon::ado {
class Connection;
}

namespace quillon::module {

// The work table's name for the desk (prefix + "_CurrentS" or prefix + "_TmpRdRecords").
std::string WorkTableName(HoldKind kind, const std::string& desk);

// Makes the desk's work table afresh: whatever of that name exists is dropped (a view made here,
// or a table an earlier release filled), and every row reads zero sums.
void MakeWorkTable(ado::Connection& connection, HoldKind kind, const std::string& desk);

// Drops the desk's work table and its sums. A work table that does not exist fails with the
// database's error, as a drop of a missing table does.
void DropWorkTable(ado::Connection& connection, HoldKind kind, const std::string& desk);

// Forgets which accounts are known to have ST_WorkSums (for tests that make accounts anew).
void ForgetWorkSums();

}  // namespace quillon::module
