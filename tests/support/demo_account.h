// The scale-1 demo account as a database file, built once per test binary, and logins and
// connections on it.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "support/class_registration.h"
#include "support/scratch_dir.h"

namespace quillon::ado {
class Connection;
}
namespace quillon::components::suite {
class Login;
}

namespace quillon::test_support {

// The account in a scratch folder of its own. The machine registry points at a file in the same
// folder while the account lives, so no test reads or changes the real one.
class DemoAccount {
 public:
  DemoAccount();

  const std::filesystem::path& dir() const { return dir_.path(); }
  const std::string& path() const { return path_; }
  // A private copy for a test that writes; it goes with the folder.
  std::string copy(const std::string& name) const;

 private:
  ScratchDir dir_;
  EnvGuard registry_;
  std::string path_;
};

// The demo account of this test binary: built on first use, removed at exit.
const DemoAccount& demoAccount();
// The same, with the classes of `registration` registered first (once, as registerClassesOnce).
const DemoAccount& demoAccount(Registration registration);

// Path of the shared account file; tests must not change its rows.
const std::string& demoPath();
std::string demoCopy(const std::string& name);

// Logs in with the login date 2026-12-05, so what depends on the date gives the same on any day.
std::shared_ptr<components::suite::Login> loginAs(const std::string& user,
                                                  const std::string& path = demoPath());

// An open connection to an account file, refusing to create one that is not there.
std::shared_ptr<ado::Connection> connect(const std::string& path);

}  // namespace quillon::test_support
