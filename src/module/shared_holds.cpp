#include "module/shared_holds.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/com_error.h"
#include "automation/numeric_text.h"
#include "automation/text_compare.h"
#include "module/settings.h"
#include "module/write_transaction.h"
#include "sql/sql_text.h"

namespace quillon::module {

namespace {

// Holds below this are rounding (the work tables keep six decimals).
constexpr double kTolerance = 1e-6;

struct Known {
  std::mutex mutex;
  std::map<std::string, bool> byLocation;
  bool last = false;
  // Locations where the tables of shared holds are known to be there.
  std::set<std::string> installed;
  // The session each desk process keeps open on a server account for as long as it lives: its
  // holds are live while this session is (see DeskBackend).
  std::map<std::string, std::pair<std::shared_ptr<ado::Connection>, std::int64_t>> keepAlive;
};

Known& known() {
  static Known k;
  return k;
}

double number(ado::Connection& connection, const std::string& sql) {
  auto rs = connection.execute(sql);
  if (!rs || !rs->isOpen() || rs->eof()) return 0;
  return rs->value(std::size_t{0}).toDouble();
}

std::int32_t kindNumber(HoldKind kind) {
  return kind == HoldKind::Stock ? 0 : 1;
}

// A desk is live while the session it registered with is, where the engine's sessions are seen
// by all (the server); otherwise (the file) while its lease runs.
std::string liveDesksView(ado::Connection& connection) {
  std::string live = connection.database().sessionLives("iBackend");
  if (live.empty()) {
    live = "dActive > dateadd(ss, -" + std::to_string(kLeasePeriodSeconds) + ", getdate())";
  }
  return "create view ST_LiveHoldDesks as select cDesk from ST_HoldDesks where " + live;
}

// The session this process keeps open on the account for its desks, for as long as it lives
// (none, 0, where sessions are not seen by others).
std::int64_t DeskBackend(ado::Connection& connection) {
  if (connection.database().sessionLives("iBackend").empty()) return 0;
  Known& k = known();
  std::lock_guard lock(k.mutex);
  auto& entry = k.keepAlive[connection.connectionString()];
  if (!entry.first || !entry.first->isOpen()) {
    auto session = std::make_shared<ado::Connection>();
    session->open(connection.connectionString());
    entry = {session, session->database().sessionNumber()};
  }
  return entry.second;
}

bool exists(ado::Connection& connection, std::string_view name) {
  return number(connection, "select count(*) from sysobjects where name = " + sql::literal(name)) >
         0;
}

// The quantity a row holds: a stock row's, or what is left of a receipt line. Nothing when the
// row does not exist.
std::optional<double> capacity(ado::Connection& connection, HoldKind kind, std::int32_t autoId) {
  const std::string sql =
      kind == HoldKind::Stock
          ? "select isnull(iQuantity, 0) from CurrentStock where AutoID = " + std::to_string(autoId)
          : "select abs(isnull(iQuantity, 0)) - isnull(iSOutQuantity, 0) from rdrecords "
            "where AutoID = " +
                std::to_string(autoId);
  auto rs = connection.execute(sql);
  if (!rs || !rs->isOpen() || rs->eof()) return std::nullopt;
  return rs->value(std::size_t{0}).toDouble();
}

// Registers the desk as live (its session on the server, now for its lease on a file) and
// deletes what desks that are gone still had.
void touchDesk(ado::Connection& connection, const std::string& desk) {
  const std::string backend = std::to_string(DeskBackend(connection));
  std::int32_t changed = 0;
  connection.execute("update ST_HoldDesks set dActive = getdate(), iBackend = " + backend +
                         " where cDesk = " + sql::literal(desk),
                     &changed, ado::adExecuteNoRecords);
  if (changed <= 0) {
    connection.execute("insert into ST_HoldDesks (cDesk, dActive, iBackend) values (" +
                           sql::literal(desk) + ", getdate(), " + backend + ")",
                       nullptr, ado::adExecuteNoRecords);
  }
  connection.execute(
      "delete from ST_Holds where cDesk not in (select cDesk from ST_LiveHoldDesks) "
      "delete from ST_HoldDesks where cDesk not in (select cDesk from ST_LiveHoldDesks)",
      nullptr, ado::adExecuteNoRecords);
}

}  // namespace

bool SharedHoldsOn(ado::Connection& connection) {
  const std::string location = connection.connectionString();
  {
    Known& k = known();
    std::lock_guard lock(k.mutex);
    if (auto it = k.byLocation.find(location); it != k.byLocation.end()) {
      k.last = it->second;
      return it->second;
    }
  }
  std::string value;
  GetAccountParameter("st", "bSharedHolds", value, connection);
  const bool on = automation::equalsNoCase(value, "true") || value == "1";
  Known& k = known();
  std::lock_guard lock(k.mutex);
  k.byLocation[location] = on;
  k.last = on;
  return on;
}

bool SharedHoldsKnown() {
  Known& k = known();
  std::lock_guard lock(k.mutex);
  return k.last;
}

void ForgetSharedHolds() {
  Known& k = known();
  std::lock_guard lock(k.mutex);
  k.byLocation.clear();
  k.installed.clear();
  k.last = false;
}

namespace {

// Makes the tables and views, one desk at a time.
void makeTables(ado::Connection& connection) {
  inWriteTransaction(connection, [&] {
    // Another desk may have made them while this one waited for the lock.
    if (exists(connection, "ST_StockHolds")) return;
    if (!exists(connection, "ST_Holds")) {
      connection.execute(
          "create table ST_Holds (cDesk nvarchar(255) not null, iKind int not null, "
          "AutoID int not null, fSumOutQ decimal(20,6) not null, fSumOutN decimal(20,6) not null, "
          "primary key (iKind, AutoID, cDesk))",
          nullptr, ado::adExecuteNoRecords);
    }
    if (!exists(connection, "ST_HoldDesks")) {
      connection.execute(
          "create table ST_HoldDesks (cDesk nvarchar(255) not null primary key, "
          "dActive datetime not null, iBackend int not null)",
          nullptr, ado::adExecuteNoRecords);
    }
    if (!exists(connection, "ST_LiveHoldDesks")) {
      connection.execute(liveDesksView(connection), nullptr, ado::adExecuteNoRecords);
    }
    for (const HoldKind kind : {HoldKind::Receipt, HoldKind::Stock}) {
      connection.execute("create view " + std::string(HoldsView(kind)) +
                             " as select AutoID, sum(fSumOutQ) as fSumOutQ, "
                             "sum(fSumOutN) as fSumOutN from ST_Holds where iKind = " +
                             std::to_string(kindNumber(kind)) +
                             " and cDesk in (select cDesk from ST_LiveHoldDesks) group by AutoID",
                         nullptr, ado::adExecuteNoRecords);
    }
  });
}

}  // namespace

void InstallSharedHolds(ado::Connection& connection) {
  const std::string location = connection.connectionString();
  {
    Known& k = known();
    std::lock_guard lock(k.mutex);
    if (k.installed.count(location) > 0) return;
  }
  if (!exists(connection, "ST_StockHolds")) makeTables(connection);
  Known& k = known();
  std::lock_guard lock(k.mutex);
  k.installed.insert(location);
}

std::string_view HoldsView(HoldKind kind) {
  return kind == HoldKind::Stock ? "ST_StockHolds" : "ST_ReceiptHolds";
}

std::string HoldRefusedText(HoldKind kind, std::int32_t autoId, double free) {
  const std::string row = kind == HoldKind::Stock ? "现存量记录 " : "入库记录 ";
  return row + std::to_string(autoId) + " 已被占用，尚可分配 " +
         automation::formatGeneralNumber(free < 0 && free > -kTolerance ? 0.0 : free);
}

void TakeHold(ado::Connection& connection, HoldKind kind, const std::string& desk,
              const std::string& workTable, double sumOutQ, double sumOutN, std::int32_t autoId) {
  InstallSharedHolds(connection);
  const std::string id = std::to_string(autoId);
  const std::string kindText = std::to_string(kindNumber(kind));
  const std::string own =
      " where iKind = " + kindText + " and AutoID = " + id + " and cDesk = " + sql::literal(desk);
  inWriteTransaction(connection, [&] {
    touchDesk(connection, desk);
    if (sumOutQ > 0) {
      // Every desk left after touchDesk is live, so all their holds count.
      const std::optional<double> holds = capacity(connection, kind, autoId);
      const double held = number(
          connection, "select isnull(sum(fSumOutQ), 0) from ST_Holds where iKind = " + kindText +
                          " and AutoID = " + id);
      const double free = holds.value_or(0) - held;
      if (!holds || sumOutQ > free + kTolerance) {
        throw automation::ComError(kHoldRefusedNumber, HoldRefusedText(kind, autoId, free));
      }
    }
    // The work table first: a missing one fails the call as it does without shared holds.
    connection.execute(" update " + workTable + " set  fSumOutQ = fSumOutQ + " +
                           sql::literal(sumOutQ) + ",fSumOutN = fSumOutN + " +
                           sql::literal(sumOutN) + " where AutoID= " + id,
                       nullptr, ado::adExecuteNoRecords);
    std::int32_t changed = 0;
    connection.execute("update ST_Holds set fSumOutQ = fSumOutQ + " + sql::literal(sumOutQ) +
                           ", fSumOutN = fSumOutN + " + sql::literal(sumOutN) + own,
                       &changed, ado::adExecuteNoRecords);
    if (changed <= 0) {
      connection.execute(
          "insert into ST_Holds (cDesk, iKind, AutoID, fSumOutQ, fSumOutN) values (" +
              sql::literal(desk) + ", " + kindText + ", " + id + ", " + sql::literal(sumOutQ) +
              ", " + sql::literal(sumOutN) + ")",
          nullptr, ado::adExecuteNoRecords);
    }
  });
}

void ReleaseHolds(ado::Connection& connection, HoldKind kind, const std::string& desk) {
  if (!exists(connection, "ST_Holds")) return;
  connection.execute("delete from ST_Holds where iKind = " + std::to_string(kindNumber(kind)) +
                         " and cDesk = " + sql::literal(desk),
                     nullptr, ado::adExecuteNoRecords);
}

std::vector<std::pair<std::int32_t, double>> OthersHold(ado::Connection& connection, HoldKind kind,
                                                        const std::string& desk,
                                                        const std::string& whCode,
                                                        const std::string& invCode) {
  std::vector<std::pair<std::int32_t, double>> holds;
  if (!exists(connection, "ST_Holds")) return holds;
  const std::string rows =
      kind == HoldKind::Stock
          ? "select AutoID from CurrentStock where cWhCode = " + sql::literal(whCode) +
                " and cInvCode = " + sql::literal(invCode)
          : "select rdrecords.AutoID from rdrecords inner join mainbatch on mainbatch.RdID = "
            "rdrecords.AutoID where mainbatch.cWhCode = " +
                sql::literal(whCode) + " and rdrecords.cInvCode = " + sql::literal(invCode);
  auto rs =
      connection.execute("select AutoID, sum(fSumOutQ) as fHeld from ST_Holds where iKind = " +
                         std::to_string(kindNumber(kind)) + " and cDesk <> " + sql::literal(desk) +
                         " and cDesk in (select cDesk from ST_LiveHoldDesks) and AutoID in (" +
                         rows + ") group by AutoID order by AutoID");
  for (; rs && rs->isOpen() && !rs->eof(); rs->moveNext()) {
    const double held = rs->value("fHeld").toDouble();
    if (held != 0) holds.emplace_back(rs->value("AutoID").toLong(), held);
  }
  return holds;
}

std::string OthersHoldLine(const std::vector<std::pair<std::int32_t, double>>& holds) {
  std::string line = "其他工作站占用：";
  if (holds.empty()) return line + "无";
  for (std::size_t i = 0; i < holds.size(); ++i) {
    if (i > 0) line += "，";
    line += "记录 " + std::to_string(holds[i].first) + " " +
            automation::formatGeneralNumber(holds[i].second);
  }
  return line;
}

}  // namespace quillon::module
