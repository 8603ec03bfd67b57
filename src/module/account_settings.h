// The account settings of the current session (gContext): formats, decimal places and the stock
// options, read late-bound by name. Every dialog and helper reads them here.
#pragma once

namespace quillon::components {
class AccountSettings;
}

namespace quillon::module {

// The settings object of gContext; ComError 91 when no session is open or it has none.
components::AccountSettings& CurrentAccountSettings();

}  // namespace quillon::module
