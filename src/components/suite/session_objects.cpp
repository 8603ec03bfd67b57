#include "components/suite/session_objects.h"

#include "ado/connection.h"
#include "components/suite/account_settings_object.h"
#include "components/suite/component_errors.h"
#include "components/suite/permissions.h"

namespace quillon::components::suite {

using automation::Args;
using automation::in;
using automation::ref;
using automation::Variant;

ado::Connection& sessionConnection(SessionContext& context) {
  auto conn = context.connection();
  if (!conn) raise(kErrNoSession, "会话上下文尚未初始化");
  return *conn;
}

// --- SuiteSessionContext

SuiteSessionContext::SuiteSessionContext() = default;
SuiteSessionContext::~SuiteSessionContext() = default;

bool SuiteSessionContext::initialise(std::shared_ptr<MarlinLogin> login) {
  if (!login) return false;
  // The desk's connection, shared with the login's other contexts and dialogs.
  auto conn = login->deskConnection();
  // Only a fully opened session replaces the previous one.
  login_ = std::move(login);
  connection_ = std::move(conn);
  settings_ = std::make_shared<AccountSettingsObject>(connection_);
  profile_.reset();
  return true;
}

void SuiteSessionContext::setProfile(std::shared_ptr<SessionProfile> profile) {
  profile_ = std::move(profile);
}

std::string SuiteSessionContext::permissionList(std::string_view objectKind,
                                                std::string_view /*filter*/,
                                                std::string_view rightCode) {
  if (!login_) raise(kErrNoSession, "会话上下文尚未初始化");
  return suite::permissionList(sessionConnection(*this).database(), login_->userId(), objectKind,
                               rightCode);
}

bool SuiteSessionContext::permitsInventory(long long iId, std::string_view rightCode) {
  if (!login_) raise(kErrNoSession, "会话上下文尚未初始化");
  return suite::permitsInventory(sessionConnection(*this).database(), login_->userId(), iId,
                                 rightCode);
}

std::shared_ptr<ado::Connection> SuiteSessionContext::connection() {
  return connection_;
}

std::shared_ptr<AccountSettings> SuiteSessionContext::accountSettings() {
  if (!settings_) raise(kErrNoSession, "会话上下文尚未初始化");
  return settings_;
}

const automation::MemberTable& SuiteSessionContext::memberTable() const {
  using Self = SuiteSessionContext;
  static const automation::MemberTable table =
      automation::MemberBuilder<Self>("SessionContext")
          .method("Init", {in("oLogin", "MarlinLogin"), automation::optRef("bResult", "Boolean")},
                  "Boolean",
                  [](Self& self, Args& a) -> Variant {
                    bool ok = self.initialise(a.objectAs<MarlinLogin>(0));
                    a[1] = Variant(ok);
                    return Variant(ok);
                  })
          .method("SetProfile", {in("oProfile", "SessionProfile")}, "",
                  [](Self& self, Args& a) -> Variant {
                    self.setProfile(a.objectAs<SessionProfile>(0));
                    return {};
                  })
          .getter("Profile", "SessionProfile",
                  [](Self& self, Args&) -> Variant {
                    return Variant(automation::ObjectPtr(self.profile()));
                  })
          .getter("Login", "MarlinLogin",
                  [](Self& self, Args&) -> Variant {
                    return Variant(automation::ObjectPtr(self.login()));
                  })
          .method("GetPermissionList",
                  {in("sObject", "String"), in("sFilter", "String"), in("sRight", "String"),
                   automation::optRef("sList", "String")},
                  "String",
                  [](Self& self, Args& a) -> Variant {
                    std::string list = self.permissionList(a.str(0), a.str(1), a.str(2));
                    a[3] = Variant(list);
                    return Variant(list);
                  })
          .getter("Connection", "Connection",
                  [](Self& self, Args&) -> Variant {
                    return Variant(automation::ObjectPtr(self.connection()));
                  })
          .getter("AccountSettings", "AccountSettings",
                  [](Self& self, Args&) -> Variant {
                    return Variant(automation::ObjectPtr(self.accountSettings()));
                  })
          .build();
  return table;
}

// --- SuiteSessionProfile

void SuiteSessionProfile::fill(std::string userId, std::string accountKey) {
  userId_ = std::move(userId);
  accountKey_ = std::move(accountKey);
  filled_ = true;
}

const automation::MemberTable& SuiteSessionProfile::memberTable() const {
  using Self = SuiteSessionProfile;
  static const automation::MemberTable table =
      automation::MemberBuilder<Self>("SessionProfile")
          .getter("cUserId", "String",
                  [](Self& self, Args&) -> Variant { return Variant(self.userId()); })
          .getter("cAccountKey", "String",
                  [](Self& self, Args&) -> Variant { return Variant(self.accountKey()); })
          .getter("Filled", "Boolean",
                  [](Self& self, Args&) -> Variant { return Variant(self.filled()); })
          .build();
  return table;
}

// --- SuiteSessionContextBuilder

void SuiteSessionContextBuilder::setContext(std::shared_ptr<SessionContext> context) {
  context_ = std::move(context);
}

bool SuiteSessionContextBuilder::fillProfile(std::string_view firstText,
                                             std::string_view secondText, SessionProfile& profile) {
  if (!context_ || !context_->login()) raise(kErrNoSession, "会话上下文尚未初始化");
  auto login = context_->login();
  if (firstText != login->firstIdentity() || secondText != login->secondIdentity()) return false;
  profile.fill(std::string(firstText), std::string(secondText));
  return true;
}

const automation::MemberTable& SuiteSessionContextBuilder::memberTable() const {
  using Self = SuiteSessionContextBuilder;
  static const automation::MemberTable table =
      automation::MemberBuilder<Self>("SessionContextBuilder")
          .property("Context", "SessionContext", nullptr, nullptr,
                    [](Self& self, Args& a) -> Variant {
                      self.setContext(automation::toObjectAs<SessionContext>(a.value()));
                      return {};
                    })
          .method("SetContext", {in("oContext", "SessionContext")}, "",
                  [](Self& self, Args& a) -> Variant {
                    self.setContext(a.objectAs<SessionContext>(0));
                    return {};
                  })
          .method("FillProfile",
                  {in("sFirst", "String"), in("sSecond", "String"),
                   in("oProfile", "SessionProfile"), automation::optRef("bResult", "Boolean")},
                  "Boolean",
                  [](Self& self, Args& a) -> Variant {
                    auto profile = a.objectAs<SessionProfile>(2);
                    if (!profile) {
                      throw automation::ComError::objectNotSet();
                    }
                    bool ok = self.fillProfile(a.str(0), a.str(1), *profile);
                    a[3] = Variant(ok);
                    return Variant(ok);
                  })
          .build();
  return table;
}

}  // namespace quillon::components::suite
