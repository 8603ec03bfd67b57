// The suite's login object: a user logged into an account database file on a business date.
//
// Created either by Login::open(file, user[, date]) or late-bound ("Quillon.Suite.Login") and then
// Open(sDbFile, sUserId[, dDate]). The date defaults to today (the platform clock, which
// QUILLON_NOW pins). A missing file, a file that is not an account database, an unknown or a
// disabled user raise with the file or the user named in the text. Every other member of a login
// that was never opened raises kErrNotLoggedIn.
//
// Texts: the account id and name come from the account parameters "cAccId" / "cAccName" when the
// database has them, else from the file name; the year is the login date's year; the server is
// the computer's name, the database the file's path. The first identifying text is the user
// code, the second "<account id>.<year>".
#pragma once

#include <sys/types.h>

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "components/marlin_login.h"

namespace quillon::components::suite {

class Login final : public MarlinLogin {
 public:
  Login();
  ~Login() override;

  static std::shared_ptr<Login> open(const std::string& dbPath, const std::string& userCode,
                                     std::optional<automation::DateValue> date = std::nullopt);

  // Logs in (again); on failure the object keeps its previous state.
  void logIn(const std::string& dbPath, const std::string& userCode,
             std::optional<automation::DateValue> date = std::nullopt);
  bool isLoggedIn() const { return loggedIn_; }
  const std::string& databasePath() const { return dbPath_; }

  std::string connectionText() const override;
  std::string firstIdentity() const override;
  std::string secondIdentity() const override;
  automation::DateValue loginDate() const override;
  bool checkFunctionRight(std::string_view functionCode, std::int16_t mode = 1,
                          std::int16_t flag = 0) override;
  std::string userId() const override;
  std::string userName() const override;
  std::string accountId() const override;
  std::string accountName() const override;
  std::string year() const override;
  std::string serverName() const override;
  std::string databaseName() const override;
  // The desk's one connection to the account, shared by everything that asks for it while any
  // of them holds it (its statements run one after another in the desk's thread). A separate
  // connection instead while the shared one is inside a transaction, which a second transaction
  // must not join; a fresh shared one when it was closed, when nobody held it, or in a process
  // forked from the one that opened it.
  std::shared_ptr<ado::Connection> deskConnection() override;

  const automation::MemberTable& memberTable() const override;

 private:
  void requireLoggedIn() const;

  bool loggedIn_ = false;
  std::string dbPath_;
  std::string userId_;
  std::string userName_;
  std::string accountId_;
  std::string accountName_;
  bool admin_ = false;
  automation::DateValue date_;
  std::mutex deskMutex_;
  std::weak_ptr<ado::Connection> desk_;
  pid_t deskProcess_ = 0;  // the process that opened desk_
};

}  // namespace quillon::components::suite
