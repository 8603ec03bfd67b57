// The scale-1 demo account of the components tests, and sessions on it as the library opens them.
#pragma once

#include <memory>
#include <string>

#include "components/session_context.h"
#include "components/suite/login.h"
#include "support/demo_account.h"

namespace quillon::components::testing {

using test_support::demoCopy;
using test_support::demoPath;
using test_support::loginAs;

// A directory for scratch files of this test binary.
const std::string& scratchDir();

// An initialised session context with its profile filled, as the library opens sessions.
std::shared_ptr<SessionContext> sessionFor(const std::string& user,
                                           const std::string& path = demoPath());

}  // namespace quillon::components::testing
