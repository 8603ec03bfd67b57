#include "module/work_tables.h"

#include <mutex>
#include <set>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "module/write_transaction.h"
#include "sql/database.h"
#include "sql/sql_text.h"

namespace quillon::module {

namespace {

struct Known {
  std::mutex mutex;
  // Locations where ST_WorkSums is known to be there.
  std::set<std::string> installed;
};

Known& known() {
  static Known k;
  return k;
}

std::int32_t kindNumber(HoldKind kind) {
  return kind == HoldKind::Stock ? 0 : 1;
}

std::string sourceTable(HoldKind kind) {
  return kind == HoldKind::Stock ? "CurrentStock" : "rdrecords";
}

// What sysobjects says the object of that name is: "U" a table, "V" a view, empty when none.
std::string objectType(ado::Connection& connection, const std::string& name) {
  auto rs = connection.execute("select xtype from sysobjects where id = object_id(" +
                               sql::literal("[dbo].[" + name + "]") + ")");
  if (!rs || !rs->isOpen() || rs->eof()) return {};
  return rs->value(std::size_t{0}).displayText();
}

void ensureWorkSums(ado::Connection& connection) {
  const std::string location = connection.connectionString();
  {
    Known& k = known();
    std::lock_guard lock(k.mutex);
    if (k.installed.count(location) > 0) return;
  }
  if (objectType(connection, "ST_WorkSums").empty()) {
    inWriteTransaction(connection, [&] {
      // Another desk may have made it while this one waited for the lock.
      if (!objectType(connection, "ST_WorkSums").empty()) return;
      connection.execute(
          "create table ST_WorkSums (cDesk nvarchar(255) not null, iKind int not null, "
          "AutoID int not null, fSumOutQ decimal(20,6) null, "
          "fSumOutN decimal(20,6) null, primary key (cDesk, iKind, AutoID))",
          nullptr, ado::adExecuteNoRecords);
    });
  }
  Known& k = known();
  std::lock_guard lock(k.mutex);
  k.installed.insert(location);
}

std::string deleteSums(HoldKind kind, const std::string& desk) {
  return "delete from ST_WorkSums where cDesk = " + sql::literal(desk) +
         " and iKind = " + std::to_string(kindNumber(kind));
}

// Drops what bears the work table's name: the work table (which the catalogue shows as a user
// table, and whose drop takes its sums along), a table an earlier release filled, or a plain view;
// when there is none, runs the table's drop for the database's error.
void dropByName(ado::Connection& connection, const std::string& name, bool mustExist) {
  const std::string type = objectType(connection, name);
  if (type == "V") {
    connection.execute(" drop view " + name + " ", nullptr, ado::adExecuteNoRecords);
  } else if (!type.empty() || mustExist) {
    connection.execute(" drop table " + name + " ", nullptr, ado::adExecuteNoRecords);
  }
}

}  // namespace

std::string WorkTableName(HoldKind kind, const std::string& desk) {
  return desk + (kind == HoldKind::Stock ? "_CurrentS" : "_TmpRdRecords");
}

void MakeWorkTable(ado::Connection& connection, HoldKind kind, const std::string& desk) {
  ensureWorkSums(connection);
  const std::string name = WorkTableName(kind, desk);
  const std::string own = "w.cDesk = " + sql::literal(desk) +
                          " and w.iKind = " + std::to_string(kindNumber(kind)) +
                          " and w.AutoID = s.AutoID";
  // A row's sums come from a subquery rather than a join: a view without a join is flattened
  // into the queries that left-join it by AutoID, so they find the source row by its key.
  const std::string view = "create view " + name + " as select s.AutoID as AutoID, " +
                           "cast(isnull((select w.fSumOutQ from ST_WorkSums w where " + own +
                           "), 0) as decimal(20,6)) as fSumOutQ, " +
                           "cast(isnull((select w.fSumOutN from ST_WorkSums w where " + own +
                           "), 0) as decimal(20,6)) as fSumOutN from " + sourceTable(kind) + " s";
  // One transaction: other desks on the file see a single change of the schema, and nobody sees
  // the view without its trigger.
  inWriteTransaction(connection, [&] {
    dropByName(connection, name, false);
    connection.execute(view, nullptr, ado::adExecuteNoRecords);
    // An update of the view by name writes the desk's row of ST_WorkSums.
    connection.database().routeViewUpdates(
        {name,
         "ST_WorkSums",
         "AutoID",
         {{"cDesk", desk}, {"iKind", std::to_string(kindNumber(kind))}},
         {"fSumOutQ", "fSumOutN"}});
    connection.execute(deleteSums(kind, desk), nullptr, ado::adExecuteNoRecords);
  });
}

void DropWorkTable(ado::Connection& connection, HoldKind kind, const std::string& desk) {
  const std::string name = WorkTableName(kind, desk);
  ensureWorkSums(connection);
  inWriteTransaction(connection, [&] {
    dropByName(connection, name, true);
    connection.execute(deleteSums(kind, desk), nullptr, ado::adExecuteNoRecords);
  });
}

void ForgetWorkSums() {
  Known& k = known();
  std::lock_guard lock(k.mutex);
  k.installed.clear();
}

}  // namespace quillon::module
