// MarlinLogin: the suite's login object as the library sees it. A host logs a user into an account
// database and hands this object to every public member; the library derives its connection, its
// session context and a few texts from it.
//
// Late-bound members (suite implementation): "ConnectionString", "cUserId", "cUserName",
// "cAccId", "cAccName", "cYear", "cServer", "cDataBase", "cAccountKey", "LoginDate" (Date),
// "CheckFunctionRight"(sFuncCode, [iMode = 1], [iFlag = 0]) As Boolean.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "automation/dispatch.h"

namespace quillon::ado {
class Connection;
}

namespace quillon::components {

class MarlinLogin : public automation::Object {
 public:
  // An ADO connection string for the account database.
  virtual std::string connectionText() const = 0;
  // The two texts a SessionContextBuilder fills a profile from: the user code, and the account
  // key "<account id>.<year>".
  virtual std::string firstIdentity() const = 0;
  virtual std::string secondIdentity() const = 0;
  // Business date of the session; dialogs show it as their default date.
  virtual automation::DateValue loginDate() const = 0;
  // True when the user holds the function right (for example "ST0118"). mode and flag are passed
  // through as the suite's callers give them (1, 0).
  virtual bool checkFunctionRight(std::string_view functionCode, std::int16_t mode = 1,
                                  std::int16_t flag = 0) = 0;

  virtual std::string userId() const = 0;
  virtual std::string userName() const = 0;
  virtual std::string accountId() const = 0;
  virtual std::string accountName() const = 0;
  virtual std::string year() const = 0;
  virtual std::string serverName() const = 0;
  virtual std::string databaseName() const = 0;

  // An open connection to the account for the library's work on this login's behalf: session
  // contexts, the dialogs' connections. This one opens a new connection on every call; the
  // suite's login hands out one connection that all of them share while any of them holds it.
  virtual std::shared_ptr<ado::Connection> deskConnection();
};

}  // namespace quillon::components
