#include "module/work_tables.h"

#include <mutex>
#include <set>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "sql/database.h"
#include "sql/program.h"
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

std::string lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// What sysobjects says the object of that name is: "U" a table, "V" a view, empty when none.
std::string objectType(ado::Connection& connection, const std::string& name) {
  auto rs = connection.execute("select xtype from sysobjects where id = object_id(" +
                               sql::literal("[dbo].[" + name + "]") + ")");
  if (!rs || !rs->isOpen() || rs->eof()) return {};
  return rs->value(std::size_t{0}).displayText();
}

template <typename Work>
void inWriteTransaction(ado::Connection& connection, Work&& work) {
  connection.beginTrans();
  try {
    work();
    connection.commitTrans();
  } catch (...) {
    if (connection.inTransaction()) connection.rollbackTrans();
    throw;
  }
}

// The server's trigger function: an update of a work table's row becomes the desk's row of
// ST_WorkSums (the desk and kind are the trigger's arguments). Rows are keyed by the AutoID the
// row had, so an update cannot move sums to another row.
constexpr const char* kServerSumsFunction =
    "CREATE OR REPLACE FUNCTION st_work_sums_set() RETURNS trigger LANGUAGE plpgsql AS $f$ "
    "BEGIN "
    "INSERT INTO st_worksums (cdesk, ikind, autoid, fsumoutq, fsumoutn) "
    "VALUES (TG_ARGV[0], TG_ARGV[1]::int, OLD.autoid, coalesce(NEW.fsumoutq, 0), "
    "coalesce(NEW.fsumoutn, 0)) "
    "ON CONFLICT (cdesk, ikind, autoid) DO UPDATE SET fsumoutq = excluded.fsumoutq, "
    "fsumoutn = excluded.fsumoutn; "
    "RETURN NEW; "
    "END $f$";

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
          "AutoID int not null, fSumOutQ decimal(20,6) not null, "
          "fSumOutN decimal(20,6) not null, primary key (cDesk, iKind, AutoID))",
          nullptr, ado::adExecuteNoRecords);
      if (connection.database().engine() == sql::Engine::PostgreSQL) {
        connection.database().executeNative(kServerSumsFunction);
      }
    });
  }
  Known& k = known();
  std::lock_guard lock(k.mutex);
  k.installed.insert(location);
}

// The trigger that sends updates of the view `name` to ST_WorkSums, in the engine's language (the
// layer's T-SQL has no triggers). `desk` is a name made by sql::identifier, so it is safe as text.
std::string sumsTrigger(sql::Engine engine, const std::string& name, const std::string& desk,
                        HoldKind kind) {
  const std::string kindText = std::to_string(kindNumber(kind));
  if (engine == sql::Engine::PostgreSQL) {
    return "CREATE TRIGGER st_work_sums INSTEAD OF UPDATE ON " + sql::quoteName(lower(name)) +
           " FOR EACH ROW EXECUTE FUNCTION st_work_sums_set(" + sql::quoteLiteral(desk) + ", " +
           sql::quoteLiteral(kindText) + ")";
  }
  return "CREATE TRIGGER " + sql::quoteName(name + "_Sums") + " INSTEAD OF UPDATE ON " +
         sql::quoteName(name) +
         " BEGIN INSERT INTO ST_WorkSums (cDesk, iKind, AutoID, fSumOutQ, fSumOutN) VALUES (" +
         sql::quoteLiteral(desk) + ", " + kindText +
         ", OLD.AutoID, coalesce(NEW.fSumOutQ, 0), coalesce(NEW.fSumOutN, 0)) "
         "ON CONFLICT (cDesk, iKind, AutoID) DO UPDATE SET fSumOutQ = excluded.fSumOutQ, "
         "fSumOutN = excluded.fSumOutN; END";
}

std::string deleteSums(HoldKind kind, const std::string& desk) {
  return "delete from ST_WorkSums where cDesk = " + sql::literal(desk) +
         " and iKind = " + std::to_string(kindNumber(kind));
}

// Drops what bears the work table's name: a table (an earlier release's) or a view, or, when
// there is neither, runs the view's drop for the database's error.
void dropByName(ado::Connection& connection, const std::string& name, bool mustExist) {
  const std::string type = objectType(connection, name);
  if (type == "U") {
    connection.execute(" drop table " + name + " ", nullptr, ado::adExecuteNoRecords);
  } else if (type == "V" || mustExist) {
    connection.execute(" drop view " + name + " ", nullptr, ado::adExecuteNoRecords);
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
    connection.database().executeNative(
        sumsTrigger(connection.database().engine(), name, desk, kind));
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
