// The scale-1 demo account, built once per test binary, and logins and connections on it.
//
// The account is a file, or, when QUILLON_TEST_SERVER names the template database of a test
// server (as `make test` sets it for the server half), a database of this process on that
// server made from the template. Every test that takes the account from here runs on both.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/class_registration.h"
#include "support/scratch_dir.h"

namespace quillon::ado {
class Connection;
}
namespace quillon::components::suite {
class Login;
}

namespace quillon::test_support {

// Whether the tests of this process run on the test server (QUILLON_TEST_SERVER is set).
bool onServer();

// Where a test keeps an account database of its own named `name`: a file in `dir`, or a database
// of that name (made unique to the process) on the test server. The caller builds it.
std::string accountLocation(const std::filesystem::path& dir, const std::string& name);

// The account in a scratch folder of its own. The machine registry points at a file in the same
// folder while the account lives, so no test reads or changes the real one.
class DemoAccount {
 public:
  DemoAccount();
  ~DemoAccount();
  DemoAccount(const DemoAccount&) = delete;
  DemoAccount& operator=(const DemoAccount&) = delete;

  const std::filesystem::path& dir() const { return dir_.path(); }
  const std::string& path() const { return path_; }
  // A private copy for a test that writes; it goes with the folder (or with the account).
  std::string copy(const std::string& name) const;

 private:
  ScratchDir dir_;
  EnvGuard registry_;
  std::string path_;
  mutable std::vector<std::string> databases_;  // made on the server, dropped at the end
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
