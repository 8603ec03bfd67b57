// The suite's session objects on an account database.
//
// SuiteSessionContext::initialise opens the session's own ADO connection from the login's
// connection text; permission lists, settings and every component given this context read
// through it. Late-bound members: Init(oLogin, ByRef bResult) As Boolean, SetProfile(oProfile),
// Profile, Login, GetPermissionList(sObject, sFilter, sRight, ByRef sList) As String (the list is
// both returned and written to sList), Connection, AccountSettings.
//
// SuiteSessionContextBuilder: Context (Set), SetContext(oContext), FillProfile(sFirst, sSecond,
// oProfile, ByRef bResult) As Boolean. The two texts must be those of the context's login.
// SuiteSessionProfile: cUserId, cAccountKey, Filled.
#pragma once

#include <memory>
#include <string>

#include "components/session_context.h"

namespace quillon::components::suite {

class SuiteSessionContext final : public SessionContext {
 public:
  SuiteSessionContext();
  ~SuiteSessionContext() override;

  bool initialise(std::shared_ptr<MarlinLogin> login) override;
  void setProfile(std::shared_ptr<SessionProfile> profile) override;
  std::shared_ptr<SessionProfile> profile() const override { return profile_; }
  std::shared_ptr<MarlinLogin> login() const override { return login_; }
  std::string permissionList(std::string_view objectKind, std::string_view filter,
                             std::string_view rightCode) override;
  bool permitsInventory(long long iId, std::string_view rightCode) override;
  std::shared_ptr<ado::Connection> connection() override;
  std::shared_ptr<AccountSettings> accountSettings() override;

  const automation::MemberTable& memberTable() const override;

 private:
  std::shared_ptr<MarlinLogin> login_;
  std::shared_ptr<SessionProfile> profile_;
  std::shared_ptr<ado::Connection> connection_;
  std::shared_ptr<AccountSettings> settings_;
};

class SuiteSessionProfile final : public SessionProfile {
 public:
  std::string userId() const override { return userId_; }
  std::string accountKey() const override { return accountKey_; }
  bool filled() const override { return filled_; }
  void fill(std::string userId, std::string accountKey) override;

  const automation::MemberTable& memberTable() const override;

 private:
  std::string userId_;
  std::string accountKey_;
  bool filled_ = false;
};

class SuiteSessionContextBuilder final : public SessionContextBuilder {
 public:
  void setContext(std::shared_ptr<SessionContext> context) override;
  bool fillProfile(std::string_view firstText, std::string_view secondText,
                   SessionProfile& profile) override;

  const automation::MemberTable& memberTable() const override;

 private:
  std::shared_ptr<SessionContext> context_;
};

// The connection of a context; raises kErrNoSession when the context was never initialised.
ado::Connection& sessionConnection(SessionContext& context);

}  // namespace quillon::components::suite
