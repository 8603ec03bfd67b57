#include "support/demo_account.h"

#include "ado/connection.h"
#include "components/suite/account_database.h"
#include "components/suite/login.h"
#include "db/demo_data.h"

namespace quillon::test_support {

DemoAccount::DemoAccount()
    : registry_("QUILLON_REGISTRY", (dir_ / "registry").c_str()),
      path_((dir_ / "demo.db").string()) {
  db::createDemoDatabase(path_, 1, true);
}

std::string DemoAccount::copy(const std::string& name) const {
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
