#include "support/demo_account.h"

#include <unistd.h>

#include <cctype>
#include <cstdlib>

#include "ado/connection.h"
#include "components/suite/account_database.h"
#include "components/suite/login.h"
#include "db/demo_data.h"
#include "sql/locations.h"

namespace quillon::test_support {

namespace {

// The template database of the test server, or empty.
const std::string& serverTemplate() {
  static const std::string location = [] {
    const char* v = ::getenv("QUILLON_TEST_SERVER");
    return std::string(v != nullptr ? v : "");
  }();
  return location;
}

}  // namespace

bool onServer() {
  return !serverTemplate().empty();
}

std::string accountLocation(const std::filesystem::path& dir, const std::string& name) {
  if (!onServer()) return (dir / (name + ".db")).string();
  static int made = 0;
  std::string safe;
  for (char c : name) safe += std::isalnum(static_cast<unsigned char>(c)) != 0 ? c : '_';
  return sql::Location(serverTemplate())
      .withDatabaseName("t" + std::to_string(::getpid()) + "_" + std::to_string(++made) + "_" +
                        safe)
      .text();
}

DemoAccount::DemoAccount()
    : registry_("QUILLON_REGISTRY", (dir_ / "registry").c_str()),
      path_(accountLocation(dir_.path(), "demo")) {
  if (onServer()) {
    // The template holds the same account as a build would give, made once for the whole run.
    sql::Location(serverTemplate()).copyTo(sql::Location(path_));
    databases_.push_back(path_);
  } else {
    db::createDemoDatabase(path_, 1, true);
  }
}

DemoAccount::~DemoAccount() {
  for (const std::string& location : databases_) {
    try {
      sql::Location(location).drop();
    } catch (const std::exception&) {
      // the test server goes at the end of the run in any case
    }
  }
}

std::string DemoAccount::copy(const std::string& name) const {
  if (onServer()) {
    const std::string target = accountLocation(dir(), name);
    sql::Location(serverTemplate()).copyTo(sql::Location(target));
    databases_.push_back(target);
    return target;
  }
  const std::filesystem::path target = dir() / (name + ".db");
  std::filesystem::copy_file(path_, target, std::filesystem::copy_options::overwrite_existing);
  return target.string();
}

const DemoAccount& demoAccount() {
  static const DemoAccount account;
  return account;
}

const DemoAccount& demoAccount(Registration registration) {
  registerClassesOnce(registration);
  return demoAccount();
}

const std::string& demoPath() {
  return demoAccount().path();
}

std::string demoCopy(const std::string& name) {
  return demoAccount().copy(name);
}

std::shared_ptr<components::suite::Login> loginAs(const std::string& user,
                                                  const std::string& path) {
  return components::suite::Login::open(path, user, automation::DateValue{46361.0});
}

std::shared_ptr<ado::Connection> connect(const std::string& path) {
  auto connection = std::make_shared<ado::Connection>();
  connection->open(components::suite::accountConnectionString(path));
  return connection;
}

}  // namespace quillon::test_support
