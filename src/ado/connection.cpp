#include "ado/connection.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "ado/ado_errors.h"
#include "ado/connection_string.h"
#include "ado/loader.h"
#include "ado/recordset.h"
#include "ado/session_pool.h"

namespace quillon::ado {

using automation::Args;
using automation::ComError;
using automation::MemberBuilder;
using automation::MemberTable;

namespace {

constexpr std::int32_t kErrTransactionActive = -2147168227;

// Keeps the first result set of a batch and counts the rows its other statements change.
class FirstResultHandler : public sql::ResultHandler {
 public:
  explicit FirstResultHandler(bool wantRows) : wantRows_(wantRows) {}

  void onResultSet(sql::Cursor& cursor) override {
    if (wantRows_ && !data) data = loadRecordData(cursor);
  }
  void onRowsAffected(std::int64_t rows) override {
    affected = (affected < 0 ? 0 : affected) + rows;
  }

  std::shared_ptr<RecordData> data;
  std::int64_t affected = -1;

 private:
  bool wantRows_;
};

// CommandTimeout is the engine's wait for another connection's lock (on the server also the
// statement's, see sql::PgDatabase).
int busyTimeoutMs(std::int32_t seconds) {
  constexpr std::int32_t kLongest = std::numeric_limits<int>::max() / 1000;
  return seconds > 0 ? std::min(seconds, kLongest) * 1000 : 0;
}

std::int32_t clampToLong(std::int64_t v) {
  if (v > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(v);
}

}  // namespace

Connection::~Connection() {
  release();
}

namespace {

// "OLE DB Services" without its lowest bit (-2: every service but pooling) keeps the connection
// out of the pool.
bool pooling(const ConnectionString& cs) {
  const std::optional<std::string> services = cs.get("OLE DB Services");
  if (!services) return true;
  std::int64_t value = -1;
  const char* end = services->data() + services->size();
  if (std::from_chars(services->data(), end, value).ptr != end) return true;
  return (value & 1) != 0;
}

}  // namespace

void Connection::open(const std::string& connectionString, const std::string& user,
                      const std::string& password, std::int32_t /*options*/) {
  if (db_) throwObjectOpen();
  const std::string text = connectionString.empty() ? connectionString_ : connectionString;
  const ConnectionString parsed = ConnectionString::parse(text);
  const ConnectionTarget target =
      resolveConnectionTarget(parsed, user, password, connectionTimeout_);
  const int timeout = busyTimeoutMs(commandTimeout_);
  const bool pooled = pooling(parsed);
  if (pooled) db_ = session_pool::take(target.path, target.mode);
  if (db_) {
    db_->setBusyTimeout(timeout);
  } else {
    db_ = sql::Database::open(target.path, target.mode, timeout);
  }
  location_ = target.path;
  mode_ = target.mode;
  pooled_ = pooled;
  provider_ = target.provider;
  connectionString_ = text;
}

void Connection::close() {
  if (!db_) throwObjectClosed();
  release();
}

void Connection::release() noexcept {
  if (!db_) return;
  std::unique_ptr<sql::Database> db = std::move(db_);
  // An open transaction ends with the connection, undone, as the server would.
  try {
    if (db->inTransaction()) db->rollback();
  } catch (const std::exception&) {
    return;  // the engine rolls back on close in any case; the session is not kept
  }
  if (pooled_) session_pool::give(std::move(db), location_, mode_);
}

sql::Database& Connection::database() const {
  if (!db_) throwObjectClosed();
  return *db_;
}

std::shared_ptr<Recordset> Connection::execute(std::string_view text, std::int32_t* recordsAffected,
                                               std::int32_t options) {
  sql::Database& db = database();
  const bool noRecords = options != adOptionUnspecified && (options & adExecuteNoRecords) != 0;
  std::string batch(text);
  if (options != adOptionUnspecified && (options & (adCmdTable | adCmdTableDirect)) != 0 &&
      (options & adCmdText) == 0)
    batch = "select * from " + batch;
  FirstResultHandler handler(!noRecords);
  db.execute(batch, handler);
  if (recordsAffected != nullptr) *recordsAffected = clampToLong(handler.affected);
  if (noRecords) return nullptr;
  auto rs = std::make_shared<Recordset>();
  if (handler.data) {
    rs->openData(std::move(handler.data), std::string(text),
                 std::static_pointer_cast<Connection>(self()));
  }
  return rs;
}

std::int32_t Connection::beginTrans() {
  sql::Database& db = database();
  if (db.inTransaction())
    throw ComError(kErrTransactionActive, "Only one transaction can be active on this session.",
                   "ADODB.Connection");
  db.begin();
  return 1;
}

void Connection::commitTrans() {
  sql::Database& db = database();
  if (!db.inTransaction())
    throw ComError(kErrNoTransaction, "No transaction is active.", "ADODB.Connection");
  db.commit();
}

void Connection::rollbackTrans() {
  sql::Database& db = database();
  if (!db.inTransaction())
    throw ComError(kErrNoTransaction, "No transaction is active.", "ADODB.Connection");
  db.rollback();
}

bool Connection::inTransaction() const {
  return db_ && db_->inTransaction();
}

void Connection::setConnectionString(std::string text) {
  if (db_) throwObjectOpen();
  connectionString_ = std::move(text);
}

void Connection::setCommandTimeout(std::int32_t seconds) {
  if (seconds < 0) throwArguments("CommandTimeout cannot be negative");
  commandTimeout_ = seconds;
  if (db_) db_->setBusyTimeout(busyTimeoutMs(seconds));
}

void Connection::setConnectionTimeout(std::int32_t seconds) {
  if (seconds < 0) throwArguments("ConnectionTimeout cannot be negative");
  connectionTimeout_ = seconds;
}

void Connection::setCursorLocation(std::int32_t location) {
  if (location != adUseServer && location != adUseClient && location != 1)
    throwArguments("invalid CursorLocation");
  cursorLocation_ = location;
}

namespace {

std::string optionalText(const Args& a, std::size_t i) {
  return a.omitted(i) || a[i].isMissing() || a[i].isNull() ? std::string() : a.str(i);
}

std::int32_t optionalLong(const Args& a, std::size_t i, std::int32_t fallback) {
  return a.omitted(i) || a[i].isMissing() || a[i].isEmpty() ? fallback : a.lng(i);
}

}  // namespace

const MemberTable& Connection::memberTable() const {
  using automation::in;
  using automation::opt;
  using automation::optRef;
  static const MemberTable table =
      MemberBuilder<Connection>("Connection")
          .method("Open",
                  {opt("ConnectionString", "String"), opt("UserID", "String"),
                   opt("Password", "String"), opt("Options", "Long")},
                  "",
                  [](Connection& c, Args& a) -> Variant {
                    c.open(optionalText(a, 0), optionalText(a, 1), optionalText(a, 2),
                           optionalLong(a, 3, adOptionUnspecified));
                    return {};
                  })
          .method("Close", {}, "",
                  [](Connection& c, Args&) -> Variant {
                    c.close();
                    return {};
                  })
          .method("Execute",
                  {in("CommandText", "String"), optRef("RecordsAffected", "Variant"),
                   opt("Options", "Long")},
                  "Recordset",
                  [](Connection& c, Args& a) -> Variant {
                    std::int32_t affected = 0;
                    auto rs = c.execute(a.str(0), &affected, optionalLong(a, 2, -1));
                    if (!a.omitted(1)) a[1] = Variant(affected);
                    return Variant(std::static_pointer_cast<automation::Object>(rs));
                  })
          .method("BeginTrans", {}, "Long",
                  [](Connection& c, Args&) -> Variant { return Variant(c.beginTrans()); })
          .method("CommitTrans", {}, "",
                  [](Connection& c, Args&) -> Variant {
                    c.commitTrans();
                    return {};
                  })
          .method("RollbackTrans", {}, "",
                  [](Connection& c, Args&) -> Variant {
                    c.rollbackTrans();
                    return {};
                  })
          .getter("State", "Long",
                  [](Connection& c, Args&) -> Variant { return Variant(c.state()); })
          .property(
              "ConnectionString", "String",
              [](Connection& c, Args&) -> Variant { return Variant(c.connectionString()); },
              [](Connection& c, Args& a) -> Variant {
                c.setConnectionString(a.value().toString());
                return {};
              })
          .property(
              "CommandTimeout", "Long",
              [](Connection& c, Args&) -> Variant { return Variant(c.commandTimeout()); },
              [](Connection& c, Args& a) -> Variant {
                c.setCommandTimeout(a.value().toLong());
                return {};
              })
          .property(
              "ConnectionTimeout", "Long",
              [](Connection& c, Args&) -> Variant { return Variant(c.connectionTimeout()); },
              [](Connection& c, Args& a) -> Variant {
                c.setConnectionTimeout(a.value().toLong());
                return {};
              })
          .property(
              "CursorLocation", "Long",
              [](Connection& c, Args&) -> Variant { return Variant(c.cursorLocation()); },
              [](Connection& c, Args& a) -> Variant {
                c.setCursorLocation(a.value().toLong());
                return {};
              })
          .getter("Provider", "String",
                  [](Connection& c, Args&) -> Variant { return Variant(c.provider()); })
          .build();
  return table;
}

}  // namespace quillon::ado
