#include "sql/pg/pg_database.h"

#include <poll.h>

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>

#include "sql/locations.h"
#include "sql/pg/pg_cursor.h"
#include "sql/pg/pg_functions.h"
#include "sql/pg/pq.h"
#include "sql/sql_error.h"
#include "sql/sql_text.h"
#include "sql/token.h"

namespace quillon::sql {

namespace {

// The account's write lock: one key for every database, taken per database by the server.
constexpr const char* kWriteLock = "SELECT pg_advisory_xact_lock(7135002301)";
constexpr const char* kSavepoint = "SAVEPOINT quillon_statement; ";
constexpr const char* kRelease = "; RELEASE SAVEPOINT quillon_statement";
constexpr const char* kUndoStatement =
    "ROLLBACK TO SAVEPOINT quillon_statement; RELEASE SAVEPOINT quillon_statement";
// The rows a streamed query hands over at a time (see streamQuery).
constexpr int kStreamBatch = 5000;
// How long a reader that does not wait for rows still takes those coming in (a batch the server is
// sending): the socket holds a part of a batch, and the server sends the rest only as it is read.
constexpr auto kTakeArriving = std::chrono::milliseconds(3);

struct ResultDeleter {
  void operator()(PGresult* r) const { pq::PQclear(r); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

// The parts of a URI that name the server, and the URI as it may be shown.
struct ParsedUri {
  std::string host, port, dbname, user;
  std::string shown;  // the URI with its password masked
};

ParsedUri parseUri(const std::string& uri) {
  ParsedUri p;
  char* error = nullptr;
  PQconninfoOption* options = pq::PQconninfoParse(uri.c_str(), &error);
  if (options == nullptr) {
    const std::string text = error != nullptr ? error : "out of memory";
    pq::PQfreemem(error);
    std::string trimmed = text;
    while (!trimmed.empty() && (trimmed.back() == '\n' || trimmed.back() == ' '))
      trimmed.pop_back();
    // libpq quotes what it could not read, which may be the whole URI or a piece of its password.
    throw SqlError::invalidServerLocation(maskPasswordIn(trimmed, uri));
  }
  for (PQconninfoOption* o = options; o->keyword != nullptr; ++o) {
    if (o->val == nullptr) continue;
    const std::string_view k = o->keyword;
    if (k == "host") p.host = o->val;
    if (k == "port") p.port = o->val;
    if (k == "dbname") p.dbname = o->val;
    if (k == "user") p.user = o->val;
  }
  pq::PQconninfoFree(options);
  // The URI as shown: its password masked, which never appears in a message or a path.
  p.shown = maskPassword(uri);
  return p;
}

std::string describeServer(const ParsedUri& p) {
  std::string host = p.host.empty() ? "localhost" : p.host;
  std::string s = host;
  if (!p.port.empty()) s += ":" + p.port;
  s += "/" + (p.dbname.empty() ? p.user : p.dbname);
  return s;
}

std::string trimMessage(const char* text) {
  std::string s = text != nullptr ? text : "";
  while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
  // libpq starts with where it tried to connect; the message names the server itself.
  const auto failed = s.find(" failed: ");
  if (s.starts_with("connection to server") && failed != std::string::npos)
    s = s.substr(failed + 9);
  if (s.starts_with("FATAL:  ")) s = s.substr(8);
  if (s.starts_with("ERROR:  ")) s = s.substr(8);
  if (s.starts_with("WARNING:  ")) s = s.substr(10);
  return s;
}

// libpq's own text of a lost connection runs over several indented lines ("server closed the
// connection unexpectedly\n\tThis probably means …"): its lines joined into one.
std::string oneLine(std::string s) {
  std::string out;
  bool blank = false;
  for (char c : s) {
    if (c == '\n' || c == '\t' || c == '\r' || c == ' ') {
      blank = !out.empty();
      continue;
    }
    if (blank) out += ' ';
    blank = false;
    out += c;
  }
  return out;
}

}  // namespace

bool saysDatabaseMissing(std::string_view libpqMessage) {
  // The one text of the server that tells a missing database from a refused login: its SQLSTATE
  // (3D000) does not reach a client whose connection it refuses.
  const auto at = libpqMessage.find("database \"");
  return at != std::string_view::npos &&
         libpqMessage.find("\" does not exist", at + 10) != std::string_view::npos;
}

std::string serverBaseType(std::string_view tsqlBase) {
  const std::string b = asciiLower(tsqlBase);
  if (b == "decimal" || b == "numeric" || b == "money" || b == "smallmoney" || b == "float" ||
      b == "real")
    return "double precision";
  if (b == "bit" || b == "int" || b == "smallint" || b == "tinyint") return "integer";
  if (b == "bigint") return "bigint";
  if (b == "varchar" || b == "nvarchar" || b == "char" || b == "nchar" || b == "text" ||
      b == "ntext" || b == "sysname" || b == "uniqueidentifier")
    return "citext";
  if (b == "datetime" || b == "smalldatetime" || b == "date" || b == "datetime2" ||
      b == "datetimeoffset")
    return "timestamp(3)";
  if (b == "time") return "time(3)";
  if (b == "image" || b == "varbinary" || b == "binary" || b == "timestamp") return "bytea";
  return {};
}

PgDatabase::PgDatabase(std::string uri, std::string shown, std::string server, bool readOnly,
                       int busyTimeoutMs)
    : Database(std::move(shown), Engine::PostgreSQL),
      uri_(std::move(uri)),
      server_(std::move(server)),
      readOnly_(readOnly),
      busyTimeoutMs_(busyTimeoutMs) {
  names_.setTyped(false);
  names_.readWhenAsked([this](SchemaTypes& fresh, const SchemaTypes& before) {
    return readTableNames(fresh, before);
  });
  translator().readSchemaWith([this] { return &names_; });
}

bool PgDatabase::readTableNames(SchemaTypes& fresh, const SchemaTypes& before) {
  if (conn_ == nullptr || broken_ || pq::PQstatus(conn_) != CONNECTION_OK) return false;
  // A transaction that already failed answers nothing; nor may a query go while a cursor's
  // FETCH is on its way. The translation then goes without the names.
  if (pq::PQtransactionStatus(conn_) != PQTRANS_IDLE &&
      pq::PQtransactionStatus(conn_) != PQTRANS_INTRANS)
    return false;
  Result r(pq::PQexec(conn_,
                      "SELECT lower(c.relname), lower(a.attname) FROM pg_class c JOIN pg_attribute "
                      "a ON a.attrelid = c.oid WHERE c.relnamespace = "
                      "current_schema()::regnamespace AND c.relkind IN ('r', 'v', 'p', 'm', 'f') "
                      "AND a.attnum > 0 AND NOT a.attisdropped ORDER BY 1"));
  if (pq::PQresultStatus(r.get()) != PGRES_TUPLES_OK) return false;
  std::string table;
  SchemaTypes::Columns columns;
  for (int i = 0, n = pq::PQntuples(r.get()); i <= n; ++i) {
    if (i == n || table != pq::PQgetvalue(r.get(), i, 0)) {
      // Tables that kept their columns are shared with the names read before, so that the
      // translations that read them stay kept.
      if (!table.empty()) fresh.add(std::move(table), std::move(columns), &before);
      if (i == n) break;
      table = pq::PQgetvalue(r.get(), i, 0);
      columns = {};
    }
    columns.emplace(pq::PQgetvalue(r.get(), i, 1), ValueType::Unknown);
  }
  return true;
}

PgDatabase::~PgDatabase() {
  finishPendingReadQuietly();
  if (conn_ != nullptr) pq::PQfinish(conn_);
}

std::string PgDatabase::timeouts() const {
  const long ms = busyTimeoutMs_ > 0 ? busyTimeoutMs_ : 0;
  // A lock wait ends at the timeout; a statement that runs on is cancelled at twice of it.
  return "-c lock_timeout=" + std::to_string(ms) +
         " -c statement_timeout=" + std::to_string(ms > 0 ? 2 * ms : 0);
}

std::unique_ptr<PgDatabase> PgDatabase::open(const std::string& uri, OpenMode mode,
                                             int busyTimeoutMs) {
  const ParsedUri parsed = parseUri(uri);
  std::unique_ptr<PgDatabase> db(new PgDatabase(uri, parsed.shown, describeServer(parsed),
                                                mode == OpenMode::ReadOnly, busyTimeoutMs));
  try {
    db->connect();
  } catch (const SqlError& e) {
    if (mode != OpenMode::CreateIfMissing || parsed.dbname.empty() ||
        e.kind() != SqlError::Kind::DatabaseMissing) {
      throw;
    }
    // As a file is created when it is not there: the database, on the server's own database.
    std::string maintenance = uri;
    const auto slash = maintenance.find('/', maintenance.find("://") + 3);
    const auto query = maintenance.find('?');
    if (slash == std::string::npos) throw;
    maintenance.replace(slash, (query == std::string::npos ? maintenance.size() : query) - slash,
                        "/postgres");
    {
      auto server = PgDatabase::open(maintenance, OpenMode::OpenExisting, busyTimeoutMs);
      server->exec("CREATE DATABASE " + quoteName(parsed.dbname) +
                       " TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C'",
                   "create database");
    }
    db->connect();
  }
  return db;
}

void PgDatabase::connect() {
  if (conn_ != nullptr) {
    pq::PQfinish(conn_);
    conn_ = nullptr;
  }
  relations_.clear();
  versions_.clear();
  domains_.clear();
  names_.stale();
  // An account's tables are read from the server's memory, where a page fetched out of order
  // costs about what the next one does: planned with the default cost of 4 for it (a spinning
  // disk's), a list of a few hundred heads is joined to the whole of its line table by hashing
  // instead of looking up each head's lines in their index, several times slower. Compiling a
  // list's statement to machine code costs more than it saves: at 47 million rows the outsourced
  // receipt heads spent 1.4 s compiling in a 5.5 s read, and 4.6 s without it; at smaller scales
  // the planner's costs stay below the threshold and nothing is compiled either way.
  std::string options =
      "-c search_path=public,tsql -c DateStyle=ISO,YMD -c IntervalStyle=postgres "
      "-c client_min_messages=warning -c extra_float_digits=1 -c random_page_cost=1.1 "
      "-c jit=off " +
      timeouts();
  if (readOnly_) options += " -c default_transaction_read_only=on";
  const char* keys[] = {"dbname", "options", "client_encoding", "fallback_application_name",
                        nullptr};
  const char* values[] = {uri_.c_str(), options.c_str(), "UTF8", "quillon", nullptr};
  conn_ = pq::PQconnectdbParams(keys, values, 1);
  if (conn_ == nullptr || pq::PQstatus(conn_) != CONNECTION_OK) {
    const std::string cause =
        maskPasswordIn(trimMessage(conn_ != nullptr ? pq::PQerrorMessage(conn_) : nullptr), uri_);
    if (conn_ != nullptr) pq::PQfinish(conn_);
    conn_ = nullptr;
    if (saysDatabaseMissing(cause)) throw SqlError::databaseMissing(server_, cause);
    throw SqlError::cannotConnect(server_, cause);
  }
  lastNotice_.clear();
  pq::PQsetNoticeProcessor(conn_, &PgDatabase::onNotice, this);
  // The dialect layer's functions, and the domains that carry the T-SQL types.
  const std::string probe =
      "SELECT tsql.version(), array_to_string(ARRAY(SELECT typname FROM pg_type WHERE "
      "typnamespace = 'tsql'::regnamespace AND typtype = 'd'), E'\\n')";
  Result r(pq::PQexec(conn_, probe.c_str()));
  if (pq::PQresultStatus(r.get()) != PGRES_TUPLES_OK ||
      std::atoi(pq::PQgetvalue(r.get(), 0, 0)) != kServerFunctionsVersion) {
    r.reset();
    installFunctions();
    r.reset(pq::PQexec(conn_, probe.c_str()));
    if (pq::PQresultStatus(r.get()) != PGRES_TUPLES_OK) raise(r.get(), "connect");
  }
  std::string_view names = pq::PQgetvalue(r.get(), 0, 1);
  while (!names.empty()) {
    const auto nl = names.find('\n');
    domains_.emplace(names.substr(0, nl));
    if (nl == std::string_view::npos) break;
    names.remove_prefix(nl + 1);
  }
  inTransaction_ = false;
  broken_ = false;
}

void PgDatabase::installFunctions() {
  std::string script = serverFunctionsScript();
  const auto at = script.find("%VERSION%");
  script.replace(at, 9, std::to_string(kServerFunctionsVersion));
  // One installer at a time; the next finds the functions there.
  const std::string sql =
      "BEGIN; SET LOCAL check_function_bodies = off; "
      "SELECT pg_advisory_xact_lock(7135002302); " +
      script + " COMMIT;";
  Result r(pq::PQexec(conn_, sql.c_str()));
  if (pq::PQresultStatus(r.get()) != PGRES_COMMAND_OK &&
      pq::PQresultStatus(r.get()) != PGRES_TUPLES_OK) {
    const std::string cause = trimMessage(pq::PQresultErrorMessage(r.get()));
    Result(pq::PQexec(conn_, "ROLLBACK"));
    throw SqlError::cannotPrepare(server_, cause);
  }
}

pg_conn* PgDatabase::connection() {
  finishPendingRead();
  discarded_ = false;
  if (conn_ == nullptr || pq::PQstatus(conn_) != CONNECTION_OK) {
    if (broken_) lost("the transaction was undone when the connection was lost");
    connect();
  }
  return conn_;
}

void PgDatabase::onNotice(void* self, const char* message) {
  static_cast<PgDatabase*>(self)->lastNotice_ = oneLine(trimMessage(message));
}

bool PgDatabase::connectionGone(PGresult* result) const {
  if (conn_ == nullptr || pq::PQstatus(conn_) != CONNECTION_OK || result == nullptr) return true;
  const char* state = pq::PQresultErrorField(result, PG_DIAG_SQLSTATE);
  // Every error the server reports has its code; one libpq made up itself means the statement
  // could not be sent or its answer not read ("server closed the connection unexpectedly"), which
  // libpq may say while it still calls the connection open.
  if (state == nullptr) return pq::PQresultStatus(result) == PGRES_FATAL_ERROR;
  const std::string_view code = state;
  // Class 08 (connection exception) and the server ending the session: an administrator's
  // shutdown, a crash of another server process, a server that is starting or stopping.
  return code.starts_with("08") || code == "57P01" || code == "57P02" || code == "57P03";
}

void PgDatabase::lost(std::string_view source) {
  std::string cause = conn_ != nullptr ? oneLine(trimMessage(pq::PQerrorMessage(conn_))) : "";
  // What the server said on its way out (a warning that it terminates the connection) says why.
  if (!lastNotice_.empty() && lastNotice_.find("terminating connection") != std::string::npos &&
      cause.find(lastNotice_) == std::string::npos)
    cause = cause.empty() ? lastNotice_ : lastNotice_ + " (" + cause + ")";
  lastNotice_.clear();
  if (inTransaction_) broken_ = true;
  // A session the server is ending may still look open to libpq: it is not used again.
  if (conn_ != nullptr) {
    pq::PQfinish(conn_);
    conn_ = nullptr;
  }
  throw SqlError::connectionLost(server_, cause, source);
}

void PgDatabase::raise(PGresult* result, std::string_view source) {
  if (connectionGone(result)) lost(source);
  const char* state =
      result != nullptr ? pq::PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
  const char* primary =
      result != nullptr ? pq::PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
  std::string text = primary != nullptr ? primary : trimMessage(pq::PQerrorMessage(conn_));
  if (!source.empty()) {
    text += " in: ";
    text += source.substr(0, 200);
  }
  const std::string_view code = state != nullptr ? state : "";
  // Division by zero and a value beyond its type have T-SQL's texts on both engines.
  if (code == "22012" || code == "22003") {
    std::string tsql = "Divide by zero error encountered.";
    if (code == "22003") {
      const std::string said = primary != nullptr ? primary : "";
      const std::string type = said.starts_with("smallint")  ? "smallint"
                               : said.starts_with("integer") ? "int"
                               : said.starts_with("bigint")  ? "bigint"
                                                             : "numeric";
      tsql = "Arithmetic overflow error converting expression to data type " + type + ".";
    }
    if (!source.empty()) {
      tsql += " in: ";
      tsql += source.substr(0, 200);
    }
    throw SqlError::statementFailed(tsql);
  }
  // A lock wait past the timeout, a statement past twice of it, a deadlock the server broke.
  if (code == "55P03" || code == "57014" || code == "40P01") throw SqlError::busy(text);
  throw SqlError::statementFailed(text);
}

void PgDatabase::exec(const std::string& sql, std::string_view source) {
  Result r(pq::PQexec(connection(), sql.c_str()));
  const auto status = pq::PQresultStatus(r.get());
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) raise(r.get(), source);
}

std::vector<std::string> PgDatabase::column(const std::string& sql) {
  Result r(pq::PQexec(connection(), sql.c_str()));
  const auto status = pq::PQresultStatus(r.get());
  if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) raise(r.get(), sql);
  std::vector<std::string> out;
  for (int i = 0; i < pq::PQntuples(r.get()); ++i) out.emplace_back(pq::PQgetvalue(r.get(), i, 0));
  return out;
}

void PgDatabase::run(const Program& program, ResultHandler& handler) {
  for (const Op& op : program) runOne(op, handler);
}

void PgDatabase::ensureDomains(const std::vector<std::string>& types) {
  std::string sql;
  for (const std::string& type : types) {
    if (domains_.count(type) != 0) continue;
    const std::string base = serverBaseType(type.substr(0, type.find('(')));
    if (base.empty()) continue;
    // Another desk may be making the same one: either way it is there afterwards.
    sql += "DO $quillon$BEGIN CREATE DOMAIN tsql." + quoteName(type) + " AS " + base +
           "; EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL; END$quillon$;";
  }
  if (sql.empty()) return;
  exec(sql, "create domain");
  for (const std::string& type : types) domains_.insert(type);
}

namespace {

// A statement that may make, change or drop a table or view.
bool changesDefinitions(std::string_view sql) {
  for (std::string_view head : {"CREATE", "ALTER", "DROP"}) {
    if (sql.size() >= head.size() && automation::asciiUpper(sql.substr(0, head.size())) == head)
      return true;
  }
  return sql.find("CREATE ") != std::string_view::npos ||
         sql.find("create ") != std::string_view::npos;
}

}  // namespace

void PgDatabase::runOne(const Op& op, ResultHandler& handler) {
  switch (op.kind) {
    case Op::Kind::Noop:
      return;
    case Op::Kind::If: {
      CollectingHandler cond;
      send(op, op.sql, cond);
      const bool holds = !cond.results.empty() && !cond.results.front().rows.empty() &&
                         cond.results.front().rows.front().front().integer != 0;
      run(holds ? op.body : op.elseBody, handler);
      return;
    }
    case Op::Kind::SelectInto: {
      names_.stale();
      ensureDomains(op.domains);
      std::string sql = "CREATE TABLE " + op.target + " AS " + op.sql;
      if (!op.comment.empty())
        sql += "; COMMENT ON TABLE " + op.target + " IS " + quoteLiteral(op.comment);
      send(op, sql, handler);
      return;
    }
    case Op::Kind::DropTable:
      names_.stale();
      dropTable(op, handler);
      return;
    case Op::Kind::Exec:
      if (op.sql == "BEGIN") {
        begin();
        return;
      }
      if (op.sql == "COMMIT") {
        commit();
        return;
      }
      if (op.sql == "ROLLBACK") {
        rollback();
        return;
      }
      ensureDomains(op.domains);
      if (op.sql.find("tsql.row_count()") != std::string::npos) {
        exec("SELECT set_config('quillon.rowcount', '" + std::to_string(changes_) + "', false)",
             op.source);
      }
      send(op, op.sql, handler);
      // A table that changed its columns is described anew.
      if (op.sql.starts_with("ALTER TABLE")) relations_.clear();
      if (changesDefinitions(op.sql)) names_.stale();
      return;
  }
}

namespace {

// A query that a cursor can run: a SELECT (a data-modifying WITH cannot be declared).
bool declarable(std::string_view sql) {
  while (!sql.empty() &&
         (sql.front() == '(' || std::isspace(static_cast<unsigned char>(sql.front()))))
    sql.remove_prefix(1);
  if (sql.size() <= 6 || asciiLower(sql.substr(0, 6)) != "select") return false;
  const auto next = static_cast<unsigned char>(sql[6]);
  return std::isalnum(next) == 0 && next != '_' && next < 0x80;
}

}  // namespace

// A query run as a cursor and read a batch at a time, in the caller's transaction under a
// savepoint as every statement there, or else in a transaction of its own. Each batch's FETCH is
// sent before the batch before it is handed over, so that the server produces the next rows while
// the reader reads. close() ends it when its rows are read; whatever ends the reading early (an
// error, a reader that stops or goes) undoes the transaction or savepoint and with it the cursor:
// at most the batch on its way still comes over. A list's read may ask for its first screen's rows
// alone first, so that they come as soon as the server has them, and its reader may read on only
// while rows have arrived (awaitingRows).
class PgDatabase::Stream final : public Cursor {
 public:
  // What the cursor is planned for: all its rows (a statement read whole) or its first ones (a
  // list shown while the rest loads).
  enum class Plan { AllRows, FirstRows };

  // `firstRows` (with Plan::FirstRows): the first FETCH asks for that many rows, the later ones
  // for a whole batch.
  Stream(PgDatabase& db, const Op& op, const std::string& sql, Plan plan = Plan::AllRows,
         std::size_t firstRows = 0)
      : db_(db),
        op_(op),
        guarded_(db.inTransaction_),
        undo_(guarded_ ? kUndoStatement : "ROLLBACK"),
        fetch_("FETCH FORWARD " + std::to_string(kStreamBatch) + " FROM quillon_rows") {
    // A statement read whole is planned for all its rows, as the query alone is. A list shown
    // while the rest loads is planned as the server plans cursors by default, for its first
    // tenth: a sort or a hash gives way to an index in the list's order where there is one, and
    // the first screen comes sooner for a whole read a little longer. (In the caller's
    // transaction the setting stays to its end; it concerns cursors only, and every cursor here
    // sets it.)
    const std::string start = (guarded_ ? std::string(kSavepoint) : std::string("BEGIN; ")) +
                              (plan == Plan::FirstRows ? "SET LOCAL cursor_tuple_fraction = 0.1; "
                                                       : "SET LOCAL cursor_tuple_fraction = 1; ") +
                              "DECLARE quillon_rows NO SCROLL CURSOR FOR " + sql + "; ";
    const int firstBatch = plan == Plan::FirstRows && firstRows > 0 &&
                                   firstRows < static_cast<std::size_t>(kStreamBatch)
                               ? static_cast<int>(firstRows)
                               : kStreamBatch;
    const std::string firstFetch =
        firstBatch == kStreamBatch
            ? fetch_
            : "FETCH FORWARD " + std::to_string(firstBatch) + " FROM quillon_rows";
    Result first(pq::PQexec(db.connection(), (start + firstFetch).c_str()));
    open_ = true;
    if (pq::PQresultStatus(first.get()) != PGRES_TUPLES_OK) fail(first.get());
    more_ = pq::PQntuples(first.get()) == firstBatch;
    cursor_ = std::make_unique<PgCursor>(db, first.get(), op_, [this] { return nextBatch(); });
    first.release();  // the cursor's now
    columns_ = cursor_->columns();
    if (more_) sendFetch();
  }
  ~Stream() override {
    if (!open_ || db_.conn_ == nullptr || pq::PQstatus(db_.conn_) != CONNECTION_OK) return;
    if (pending_) drain();
    Result(pq::PQexec(db_.conn_, undo_.c_str()));
  }
  Stream(const Stream&) = delete;
  Stream& operator=(const Stream&) = delete;

  // Ends the cursor and its transaction or savepoint, whether or not every row was read.
  void close() {
    if (!open_) return;
    if (pending_) drain();  // the reader stopped before the last batch
    const std::string end = guarded_ ? "CLOSE quillon_rows; RELEASE SAVEPOINT quillon_statement"
                                     : "CLOSE quillon_rows; COMMIT";
    Result done(pq::PQexec(db_.conn_, end.c_str()));
    if (pq::PQresultStatus(done.get()) != PGRES_COMMAND_OK) fail(done.get());
    open_ = false;
  }

  bool next() override {
    if (!cursor_->next()) {
      close();
      return false;
    }
    return true;
  }
  // The batch at hand is read and the next one's FETCH has not been answered in full yet. What
  // has come is taken off the socket; while more keeps coming it is taken for a few milliseconds
  // (kTakeArriving), and a millisecond without any ends the wait. A connection that fails here
  // says nothing: next() then meets it.
  bool awaitingRows() override {
    if (!pending_ || !cursor_->batchRead()) return false;
    const auto until = std::chrono::steady_clock::now() + kTakeArriving;
    pollfd in{pq::PQsocket(db_.conn_), POLLIN, 0};
    for (;;) {
      if (pq::PQconsumeInput(db_.conn_) == 0 || pq::PQisBusy(db_.conn_) == 0) return false;
      if (std::chrono::steady_clock::now() >= until || poll(&in, 1, 1) <= 0) return true;
    }
  }
  ValueKind kind(std::size_t column) const override { return cursor_->kind(column); }
  std::int64_t int64(std::size_t column) const override { return cursor_->int64(column); }
  double real(std::size_t column) const override { return cursor_->real(column); }
  std::string_view text(std::size_t column) const override { return cursor_->text(column); }
  std::span<const std::byte> blob(std::size_t column) const override {
    return cursor_->blob(column);
  }
  void readRow(std::span<CellView> out) const override { cursor_->readRow(out); }

 private:
  void drain() {
    while (PGresult* r = pq::PQgetResult(db_.conn_)) pq::PQclear(r);
    pending_ = false;
  }
  [[noreturn]] void fail(PGresult* r) {
    if (pq::PQstatus(db_.conn_) != CONNECTION_OK) {
      open_ = false;
      db_.lost(op_.source);
    }
    open_ = false;
    if (pending_) drain();
    Result(pq::PQexec(db_.conn_, undo_.c_str()));
    if (pq::PQstatus(db_.conn_) != CONNECTION_OK) db_.lost(op_.source);
    db_.raise(r, op_.source);
  }
  void sendFetch() {
    if (pq::PQsendQuery(db_.conn_, fetch_.c_str()) == 0) {
      open_ = false;
      db_.lost(op_.source);
    }
    pending_ = true;
  }
  PGresult* nextBatch() {
    if (!more_ || !open_) return nullptr;
    if (!pending_) sendFetch();
    Result batch(pq::PQgetResult(db_.conn_));
    drain();
    if (!batch) {
      open_ = false;
      db_.lost(op_.source);
    }
    if (pq::PQresultStatus(batch.get()) != PGRES_TUPLES_OK) fail(batch.get());
    more_ = pq::PQntuples(batch.get()) == kStreamBatch;
    if (more_) sendFetch();
    return batch.release();
  }

  PgDatabase& db_;
  Op op_;
  bool guarded_;
  std::string undo_;
  std::string fetch_;
  bool open_ = false;
  bool pending_ = false;  // a FETCH sent whose result is not taken yet
  bool more_ = false;
  std::unique_ptr<PgCursor> cursor_;
};

void PgDatabase::streamQuery(const Op& op, const std::string& sql, ResultHandler& handler) {
  Stream stream(*this, op, sql);
  handler.onResultSet(stream);
  stream.close();
}

std::unique_ptr<Cursor> PgDatabase::openQuery(const Op& op, std::size_t firstRows) {
  if (op.sql == "BEGIN" || op.sql == "COMMIT" || op.sql == "ROLLBACK" || !declarable(op.sql) ||
      op.sql.find("tsql.row_count()") != std::string::npos)
    return nullptr;
  ensureDomains(op.domains);
  return std::make_unique<Stream>(*this, op, op.sql, Stream::Plan::FirstRows, firstRows);
}

void PgDatabase::send(const Op& op, const std::string& sql, ResultHandler& handler) {
  if (handler.streamsRows() && op.kind == Op::Kind::Exec && declarable(sql)) {
    streamQuery(op, sql, handler);
    return;
  }
  pg_conn* conn = connection();
  const bool guarded = inTransaction_;
  const std::string text = guarded ? kSavepoint + sql + kRelease : sql;
  if (pq::PQsendQuery(conn, text.c_str()) == 0) lost(op.source);
  std::vector<Result> results;
  while (PGresult* r = pq::PQgetResult(conn)) results.emplace_back(r);
  const std::size_t first = guarded ? 1 : 0;
  for (std::size_t i = 0; i < results.size(); ++i) {
    PGresult* r = results[i].get();
    const auto status = pq::PQresultStatus(r);
    if (status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK) continue;
    if (connectionGone(r)) lost(op.source);
    if (guarded) {
      Result undo(pq::PQexec(conn, kUndoStatement));
      if (pq::PQstatus(conn) != CONNECTION_OK) lost(op.source);
    }
    raise(r, op.source);
  }
  if (results.size() <= first) lost(op.source);
  // The statement's own result comes first; what follows (a comment on a new table, the
  // savepoint's release) reports nothing of its own.
  PGresult* main = results[first].get();
  if (pq::PQresultStatus(main) == PGRES_TUPLES_OK && pq::PQnfields(main) > 0 &&
      op.kind != Op::Kind::SelectInto) {
    PgCursor cursor(*this, main, op);
    handler.onResultSet(cursor);
    return;
  }
  const char* tuples = pq::PQcmdTuples(main);
  changes_ = tuples != nullptr && *tuples != 0 ? std::strtoll(tuples, nullptr, 10) : 0;
  handler.onRowsAffected(changes_);
}

void PgDatabase::beginTransaction() {
  if (inTransaction_) throw SqlError::transactionOpen();
  try {
    exec(readOnly_ ? std::string("BEGIN") : std::string("BEGIN; ") + kWriteLock,
         "BEGIN TRANSACTION");
  } catch (const SqlError&) {
    // The lock was not had: nothing of the transaction stays open.
    if (conn_ != nullptr && pq::PQstatus(conn_) == CONNECTION_OK)
      Result(pq::PQexec(conn_, "ROLLBACK"));
    throw;
  }
  inTransaction_ = true;
}

void PgDatabase::commitTransaction() {
  if (broken_) {
    inTransaction_ = false;
    broken_ = false;
    lost("COMMIT TRANSACTION: the transaction was undone when the connection was lost");
  }
  inTransaction_ = false;
  exec("COMMIT", "COMMIT TRANSACTION");
}

void PgDatabase::rollbackTransaction() {
  if (!inTransaction_) return;
  inTransaction_ = false;
  if (broken_) {
    // The server undid it when the connection went.
    broken_ = false;
    return;
  }
  exec("ROLLBACK", "ROLLBACK TRANSACTION");
}

std::int64_t PgDatabase::lastInsertRowId() const {
  auto* self = const_cast<PgDatabase*>(this);
  Result r(pq::PQexec(self->connection(), "SELECT tsql.identity()"));
  if (pq::PQresultStatus(r.get()) != PGRES_TUPLES_OK && self->connectionGone(r.get()))
    self->lost("@@identity");
  if (pq::PQresultStatus(r.get()) != PGRES_TUPLES_OK || pq::PQgetisnull(r.get(), 0, 0)) return 0;
  return std::strtoll(pq::PQgetvalue(r.get(), 0, 0), nullptr, 10);
}

// An INSTEAD OF trigger, whose function (one per view, kept when the view goes and replaced when
// it is made again) upserts into the table.
void PgDatabase::routeUpdates(const UpdateRoute& route) {
  const auto name = [](const std::string& written) { return quoteName(asciiLower(written)); };
  std::string names;
  std::string values;
  std::string conflict;
  for (const auto& [column, value] : route.fixed) {
    names += name(column) + ", ";
    values += quoteLiteral(value) + ", ";
    conflict += name(column) + ", ";
  }
  names += name(route.key);
  values += "OLD." + name(route.key);
  conflict += name(route.key);
  std::string set;
  for (const std::string& column : route.columns) {
    names += ", " + name(column);
    values += ", NEW." + name(column);
    set += std::string(set.empty() ? "" : ", ") + name(column) + " = excluded." + name(column);
  }
  std::string forget = "DELETE FROM " + name(route.table) + " WHERE true";
  for (const auto& [column, value] : route.fixed)
    forget += " AND " + name(column) + " = " + quoteLiteral(value);
  const std::string function = name(route.view + "_route");
  // The trigger's name marks the view as one that stands for a table (tsql.sysobjects); its
  // comment is what DROP TABLE of the view deletes with it.
  exec("CREATE OR REPLACE FUNCTION " + function +
           "() RETURNS trigger LANGUAGE plpgsql AS $quillon$BEGIN INSERT INTO " +
           name(route.table) + " (" + names + ") VALUES (" + values + ") ON CONFLICT (" + conflict +
           ") DO UPDATE SET " + set + "; RETURN NEW; END$quillon$; CREATE TRIGGER " +
           "tsql_route INSTEAD OF UPDATE ON " + name(route.view) +
           " FOR EACH ROW EXECUTE FUNCTION " + function + "(); COMMENT ON TRIGGER tsql_route ON " +
           name(route.view) + " IS " + quoteLiteral(forget),
       "route view updates");
}

// A session is kept only when it is idle (no transaction, no cursor being read) and comes back as
// a new one starts: DISCARD ALL drops its temporary tables, closes its cursors, releases session
// locks and returns its settings to those it was opened with. What it knew of tables' columns is
// read afresh where other desks changed them meanwhile. A session put back and not used since
// (taken again from the pool) is not discarded twice; the check of the catalogue, which also
// finds a session the server has ended meanwhile, runs each time.
//
// The session serves one process only: the pool (ado/session_pool) never hands a process a
// session its parent kept before forking it, which would be the same connection used by both.
bool PgDatabase::resetSession(const std::string& /*location*/) {
  if (conn_ == nullptr || broken_ || pq::PQstatus(conn_) != CONNECTION_OK) return false;
  if (!discarded_) {
    try {
      rollback();
    } catch (const std::exception&) {
      return false;
    }
    if (pq::PQtransactionStatus(conn_) != PQTRANS_IDLE) return false;
    Result r(pq::PQexec(conn_, "DISCARD ALL"));
    if (pq::PQresultStatus(r.get()) != PGRES_COMMAND_OK) return false;
    discarded_ = true;
  }
  if (!checkRelations()) return false;
  lastNotice_.clear();
  changes_ = 0;
  return true;
}

// A relation's columns, their types and written names change only with new rows in the catalogue
// for the relation itself, its columns or its comment: the row versions (xmin) of those rows
// tell whether the description kept of it still holds, at the cost of one query for all of them
// instead of describing each again.
bool PgDatabase::checkRelations() {
  std::string list;
  for (const auto& [oid, rel] : relations_) {
    if (!rel.columns.empty()) list += (list.empty() ? "" : ",") + std::to_string(oid);
  }
  std::map<unsigned int, std::string> now;
  // The query runs even with nothing described (oid 0 is no relation's): its answer shows that
  // the session still has its server process.
  if (list.empty()) list = "0";
  {
    const std::string sql =
        "SELECT c.oid, c.xmin::text || ':' || coalesce((SELECT string_agg(a.attnum || '.' || "
        "a.xmin::text, ',' ORDER BY a.attnum) FROM pg_attribute a WHERE a.attrelid = c.oid AND "
        "a.attnum > 0), '') || ':' || coalesce((SELECT d.xmin::text FROM pg_description d WHERE "
        "d.objoid = c.oid AND d.classoid = 'pg_class'::regclass AND d.objsubid = 0), '') "
        "FROM pg_class c WHERE c.oid IN (" +
        list + ")";
    Result r(pq::PQexec(conn_, sql.c_str()));
    if (pq::PQresultStatus(r.get()) != PGRES_TUPLES_OK) return false;
    for (int i = 0; i < pq::PQntuples(r.get()); ++i) {
      now[static_cast<unsigned int>(std::strtoul(pq::PQgetvalue(r.get(), i, 0), nullptr, 10))] =
          pq::PQgetvalue(r.get(), i, 1);
    }
  }
  for (auto it = relations_.begin(); it != relations_.end();) {
    const auto found = now.find(it->first);
    const auto was = versions_.find(it->first);
    const bool changed =
        found == now.end() || (was != versions_.end() && was->second != found->second);
    it = changed ? relations_.erase(it) : std::next(it);
  }
  versions_ = std::move(now);
  return true;
}

void PgDatabase::dropTable(const Op& op, ResultHandler& handler) {
  if (!op.target.empty()) {
    const std::string sql =
        "SELECT quote_ident(c.relname), d.description FROM pg_class c JOIN pg_trigger t ON "
        "t.tgrelid = c.oid AND t.tgname = 'tsql_route' JOIN pg_description d ON d.objoid = t.oid "
        "AND d.classoid = 'pg_trigger'::regclass WHERE c.relkind = 'v' AND c.relnamespace = "
        "current_schema()::regnamespace AND c.relname = " +
        quoteLiteral(asciiLower(op.target));
    Result r(pq::PQexec(connection(), sql.c_str()));
    if (pq::PQresultStatus(r.get()) != PGRES_TUPLES_OK) raise(r.get(), op.source);
    if (pq::PQntuples(r.get()) == 1) {
      // One statement string: outside a transaction the server runs it as one. The drop comes
      // first, as its result is the statement's (no rows affected).
      const std::string both = std::string("DROP VIEW ") + pq::PQgetvalue(r.get(), 0, 0) + "; " +
                               pq::PQgetvalue(r.get(), 0, 1);
      r.reset();
      send(op, both, handler);
      return;
    }
  }
  send(op, op.sql, handler);
}

void PgDatabase::setBusyTimeout(int milliseconds) {
  busyTimeoutMs_ = milliseconds;
  if (conn_ == nullptr || pq::PQstatus(conn_) != CONNECTION_OK) return;
  const long ms = milliseconds > 0 ? milliseconds : 0;
  exec("SET lock_timeout = " + std::to_string(ms) +
           "; SET statement_timeout = " + std::to_string(ms > 0 ? 2 * ms : 0),
       "CommandTimeout");
}

std::vector<std::string> PgDatabase::checkIntegrity(int limit) {
  // The server keeps its own files sound; what can be wrong is the account's structure: indexes
  // left invalid by a failed build and tables without the dialect layer's types.
  std::vector<std::string> problems;
  Result r(pq::PQexec(connection(),
                      "SELECT 'index ' || c.relname || ' is not valid' FROM pg_index i "
                      "JOIN pg_class c ON c.oid = i.indexrelid "
                      "WHERE NOT i.indisvalid AND c.relnamespace = current_schema()::regnamespace "
                      "ORDER BY 1"));
  if (pq::PQresultStatus(r.get()) != PGRES_TUPLES_OK) raise(r.get(), "integrity check");
  for (int i = 0; i < pq::PQntuples(r.get()) && static_cast<int>(problems.size()) < limit; ++i)
    problems.emplace_back(pq::PQgetvalue(r.get(), i, 0));
  return problems;
}

void PgDatabase::relaxDurability() {
  exec("SET synchronous_commit = off", "relax durability");
}

void PgDatabase::gatherStatistics() {
  // Autovacuum would get to the tables in its own time; until then every join is planned as if
  // they were empty.
  exec("ANALYZE", "update statistics");
}

const PgRelation* PgDatabase::relation(unsigned int oid) {
  auto it = relations_.find(oid);
  if (it == relations_.end()) {
    describeRelations({oid});
    it = relations_.find(oid);
  }
  return it != relations_.end() ? &it->second : nullptr;
}

void PgDatabase::describeRelations(const std::vector<unsigned int>& oids) {
  std::string list;
  for (unsigned int oid : oids) {
    if (relations_.count(oid) != 0) continue;
    list += (list.empty() ? "" : ",") + std::to_string(oid);
    relations_[oid];  // known from now on, even when it has gone meanwhile
  }
  if (list.empty()) return;
  const std::string sql =
      "SELECT a.attrelid, a.attnum, tsql.written_column(a.attrelid, a.attname), "
      "coalesce(tsql.declared_type(a.atttypid), ''), tsql.written_name(a.attrelid) "
      "FROM pg_attribute a WHERE a.attrelid IN (" +
      list + ") AND a.attnum > 0 AND NOT a.attisdropped";
  Result r(pq::PQexec(connection(), sql.c_str()));
  if (pq::PQresultStatus(r.get()) != PGRES_TUPLES_OK) raise(r.get(), "describe columns");
  for (int i = 0; i < pq::PQntuples(r.get()); ++i) {
    const auto oid =
        static_cast<unsigned int>(std::strtoul(pq::PQgetvalue(r.get(), i, 0), nullptr, 10));
    PgRelation& rel = relations_[oid];
    rel.name = pq::PQgetvalue(r.get(), i, 4);
    PgRelation::Column& c = rel.columns[std::atoi(pq::PQgetvalue(r.get(), i, 1))];
    c.name = pq::PQgetvalue(r.get(), i, 2);
    c.declaredType = pq::PQgetvalue(r.get(), i, 3);
  }
}

std::int64_t PgDatabase::ownSessionNumber() {
  const auto rows = column("SELECT pg_backend_pid()");
  return rows.empty() ? 0 : std::stoll(rows.front());
}

std::string PgDatabase::sessionLives(std::string_view column) const {
  return std::string(column) + " in (select pid from pg_stat_activity)";
}

}  // namespace quillon::sql
