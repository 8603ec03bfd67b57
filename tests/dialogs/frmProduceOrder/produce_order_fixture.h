// Shared set-up of the production-order dialog tests: every class registered once, a scale-1 demo
// account in a scratch directory (with private copies for tests that write), logins, and the
// recording UI host that lets a test drive the modal dialog from C++.
#pragma once

#include <memory>
#include <string>

#include "components/suite/login.h"
#include "support/recording_ui_host.h"

namespace quillon::dialogs::testing {

// The demo account with every class registered; a copy for a test that writes.
const std::string& demoPath();
std::string demoCopy(const std::string& name);
// A login on the demo account (which registers every class first) or on a copy of it.
std::shared_ptr<components::suite::Login> loginAs(const std::string& user,
                                                  const std::string& path = demoPath());

}  // namespace quillon::dialogs::testing
