#include "components/suite/login.h"

#include <unistd.h>

#include "ado/connection.h"
#include "ado/connection_string.h"
#include "ado/session_pool.h"
#include "automation/vb_dates.h"
#include "automation/vb_format.h"
#include "components/suite/account_database.h"
#include "components/suite/component_errors.h"
#include "platform/clock.h"
#include "platform/computer_name.h"
#include "sql/database.h"
#include "sql/locations.h"
#include "sql/sql_text.h"

namespace quillon::components::suite {

using automation::Args;
using automation::DateValue;
using automation::Variant;

namespace {

DateValue today() {
  DateValue now = platform::clockFromEnvironment().nowAsDate();
  return DateValue{static_cast<double>(static_cast<long long>(now.serial))};
}

std::optional<std::string> accountParameter(sql::Database& db, std::string_view name) {
  return scalarText(
      db, "SELECT isnull(cValue, isnull(cDefault, '')) FROM accinformation WHERE cName = " +
              sql::literal(name));
}

}  // namespace

Login::Login() = default;
Login::~Login() = default;

std::shared_ptr<Login> Login::open(const std::string& dbPath, const std::string& userCode,
                                   std::optional<DateValue> date) {
  auto login = std::make_shared<Login>();
  login->logIn(dbPath, userCode, date);
  return login;
}

void Login::logIn(const std::string& dbPath, const std::string& userCode,
                  std::optional<DateValue> date) {
  auto db = openAccountDatabase(dbPath);
  auto users =
      db->query("SELECT cUser_Id, cUser_Name, bAdmin, bDisabled FROM UA_User WHERE cUser_Id = " +
                sql::literal(userCode));
  if (users.empty() || users.front().rows.empty()) {
    raise(kErrUnknownUser,
          "用户[" + userCode + "]在账套数据库[" + sql::maskPassword(dbPath) + "]中不存在");
  }
  const auto& row = users.front().rows.front();
  if (row[3].integer != 0) raise(kErrUserDisabled, "用户[" + userCode + "]已停用");

  const sql::Location location(dbPath);
  std::string stem = location.stem();
  std::string accId = accountParameter(*db, "cAccId").value_or("");
  std::string accName = accountParameter(*db, "cAccName").value_or("");

  userId_ = row[0].text;
  userName_ = row[1].text;
  admin_ = row[2].integer != 0;
  accountId_ = accId.empty() ? stem : accId;
  accountName_ = accName.empty() ? stem : accName;
  date_ = date ? *date : today();
  dbPath_ = location.resolved();
  loggedIn_ = true;
  {
    const std::lock_guard lock(deskMutex_);
    desk_.reset();  // a connection of the previous login is not this one's
  }
  // The session that read the login is kept for the desk's connection, which takes it from the
  // pool as the first context opens, instead of staying open beside it.
  const ado::ConnectionTarget target =
      ado::resolveConnectionTarget(ado::ConnectionString::parse(accountConnectionString(dbPath_)));
  ado::session_pool::give(std::move(db), target.path, target.mode);
}

std::shared_ptr<ado::Connection> Login::deskConnection() {
  requireLoggedIn();
  const pid_t self = ::getpid();
  const std::lock_guard lock(deskMutex_);
  std::shared_ptr<ado::Connection> shared = deskProcess_ == self ? desk_.lock() : nullptr;
  if (shared && shared->isOpen() && !shared->inTransaction()) return shared;
  auto connection = std::make_shared<ado::Connection>();
  connection->open(connectionText(), "", "", ado::adOptionUnspecified);
  // One held inside a transaction stays the shared one; it is free again when that ends.
  if (!shared || !shared->isOpen()) {
    desk_ = connection;
    deskProcess_ = self;
  }
  return connection;
}

void Login::requireLoggedIn() const {
  if (!loggedIn_) raise(kErrNotLoggedIn, "登录对象尚未登录账套");
}

std::string Login::connectionText() const {
  requireLoggedIn();
  return accountConnectionString(dbPath_);
}

std::string Login::firstIdentity() const {
  return userId();
}

std::string Login::secondIdentity() const {
  return accountId() + "." + year();
}

DateValue Login::loginDate() const {
  requireLoggedIn();
  return date_;
}

bool Login::checkFunctionRight(std::string_view functionCode, std::int16_t /*mode*/,
                               std::int16_t /*flag*/) {
  requireLoggedIn();
  if (functionCode.empty()) return false;
  // Rights are read each time: an administrator may grant or revoke them while a host runs.
  const auto connection = deskConnection();
  sql::Database& db = connection->database();
  auto admin =
      scalarText(db, "SELECT bAdmin FROM UA_User WHERE cUser_Id = " + sql::literal(userId_));
  if (admin && *admin != "0") return true;
  auto count =
      scalarText(db, "SELECT COUNT(*) FROM UA_FuncRight WHERE cUser_Id = " + sql::literal(userId_) +
                         " AND cFuncCode = " + sql::literal(functionCode));
  return count && *count != "0";
}

std::string Login::userId() const {
  requireLoggedIn();
  return userId_;
}

std::string Login::userName() const {
  requireLoggedIn();
  return userName_;
}

std::string Login::accountId() const {
  requireLoggedIn();
  return accountId_;
}

std::string Login::accountName() const {
  requireLoggedIn();
  return accountName_;
}

std::string Login::year() const {
  requireLoggedIn();
  return automation::formatDate(date_, "yyyy");
}

std::string Login::serverName() const {
  requireLoggedIn();
  return platform::computerName();
}

std::string Login::databaseName() const {
  requireLoggedIn();
  // A text to show: a server account's password stays in the connection text alone.
  return sql::maskPassword(dbPath_);
}

const automation::MemberTable& Login::memberTable() const {
  using automation::in;
  using automation::opt;
  static const automation::MemberTable table =
      automation::MemberBuilder<Login>("MarlinLogin")
          .method("Open", {in("sDbFile", "String"), in("sUserId", "String"), opt("dDate", "Date")},
                  "Boolean",
                  [](Login& self, Args& a) -> Variant {
                    std::optional<DateValue> date;
                    if (!a.omitted(2) && !a[2].isEmpty()) date = a[2].toDate();
                    self.logIn(a.str(0), a.str(1), date);
                    return Variant(true);
                  })
          .getter("ConnectionString", "String",
                  [](Login& self, Args&) -> Variant { return Variant(self.connectionText()); })
          .getter("cUserId", "String",
                  [](Login& self, Args&) -> Variant { return Variant(self.userId()); })
          .getter("cUserName", "String",
                  [](Login& self, Args&) -> Variant { return Variant(self.userName()); })
          .getter("cAccId", "String",
                  [](Login& self, Args&) -> Variant { return Variant(self.accountId()); })
          .getter("cAccName", "String",
                  [](Login& self, Args&) -> Variant { return Variant(self.accountName()); })
          .getter("cYear", "String",
                  [](Login& self, Args&) -> Variant { return Variant(self.year()); })
          .getter("cServer", "String",
                  [](Login& self, Args&) -> Variant { return Variant(self.serverName()); })
          .getter("cDataBase", "String",
                  [](Login& self, Args&) -> Variant { return Variant(self.databaseName()); })
          .getter("cAccountKey", "String",
                  [](Login& self, Args&) -> Variant { return Variant(self.secondIdentity()); })
          .getter("LoginDate", "Date",
                  [](Login& self, Args&) -> Variant { return Variant(self.loginDate()); })
          .method("CheckFunctionRight",
                  {in("sFuncCode", "String"), opt("iMode", "Integer", Variant(std::int16_t{1})),
                   opt("iFlag", "Integer", Variant(std::int16_t{0}))},
                  "Boolean",
                  [](Login& self, Args& a) -> Variant {
                    return Variant(self.checkFunctionRight(a.str(0), a.integer(1), a.integer(2)));
                  })
          .build();
  return table;
}

}  // namespace quillon::components::suite
