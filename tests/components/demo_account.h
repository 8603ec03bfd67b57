// The scale-1 demo account as a database file, built once per test binary, and logins on it.
#pragma once

#include <memory>
#include <string>

#include "components/session_context.h"
#include "components/suite/login.h"

namespace quillon::components::testing {

// Path of the shared demo account file; tests must not change its rows.
const std::string& demoPath();

// A private copy of the demo account for a test that writes; removed with the test directory.
std::string demoCopy(const std::string& name);

// A directory for scratch files of this test binary.
const std::string& scratchDir();

std::shared_ptr<suite::Login> loginAs(const std::string& user,
                                      const std::string& path = demoPath());

// An initialised session context with its profile filled, as the library opens sessions.
std::shared_ptr<SessionContext> sessionFor(const std::string& user,
                                           const std::string& path = demoPath());

}  // namespace quillon::components::testing
