// The session objects: SessionContext (the current context of a call, held by the library as
// gContext), SessionProfile and SessionContextBuilder, and the account-settings object the context
// hands out.
//
// Opening a session: create a context and Init it with the login object; create a profile and a
// builder, give the builder the context, let it fill the profile from the login's two identifying
// texts, give the profile to the context.
//
// Permission lists: for an object kind ("department", "inventory", "warehouse", "customer",
// "person", "vendor") the list is a comma-separated list of what the user may use, ready to be put
// into "IN(...)": codes are quoted ('01','02', quotes inside a code doubled), inventory ids are
// bare numbers (1,5,9). An unrestricted user, or a kind without any restriction rows, gives "".
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "automation/dispatch.h"
#include "components/marlin_login.h"

namespace quillon::ado {
class Connection;
}

namespace quillon::components {

// Account settings, read late-bound by member name ("QuanDecDgt", "FormatQuanDecString",
// "BatchOut", ...). Unknown names raise 438 like any unknown member.
class AccountSettings : public automation::Object {
 public:
  virtual automation::Variant setting(std::string_view name) = 0;

  std::string text(std::string_view name) { return setting(name).toString(); }
  int digits(std::string_view name) { return setting(name).toLong(); }
  bool option(std::string_view name) { return setting(name).toBool(); }
};

class SessionProfile : public automation::Object {
 public:
  virtual std::string userId() const = 0;
  virtual std::string accountKey() const = 0;
  virtual bool filled() const = 0;
  virtual void fill(std::string userId, std::string accountKey) = 0;
};

class SessionContext : public automation::Object {
 public:
  // Opens the session's connection for the login; false (and the context stays unusable) when
  // the login is Nothing. Database failures raise.
  virtual bool initialise(std::shared_ptr<MarlinLogin> login) = 0;
  virtual void setProfile(std::shared_ptr<SessionProfile> profile) = 0;
  virtual std::shared_ptr<SessionProfile> profile() const = 0;
  virtual std::shared_ptr<MarlinLogin> login() const = 0;
  // filter is reserved (callers pass ""); rightCode is "W" from the dialogs, "" from lookups.
  virtual std::string permissionList(std::string_view objectKind, std::string_view filter,
                                     std::string_view rightCode) = 0;
  // Whether the user may use the inventory of id iId, as permissionList's list would say.
  virtual bool permitsInventory(long long iId, std::string_view rightCode) = 0;
  virtual std::shared_ptr<ado::Connection> connection() = 0;
  virtual std::shared_ptr<AccountSettings> accountSettings() = 0;
};

class SessionContextBuilder : public automation::Object {
 public:
  virtual void setContext(std::shared_ptr<SessionContext> context) = 0;
  // Fills the profile from the login's two identifying texts; false when they do not belong to
  // the context's login.
  virtual bool fillProfile(std::string_view firstText, std::string_view secondText,
                           SessionProfile& profile) = 0;
};

}  // namespace quillon::components
