// The users a person may run the demo as: the enabled users of an account database file.
#pragma once

#include <string>
#include <vector>

namespace quillon::cli::demo {

struct AccountUser {
  std::string id;    // what `login user=` takes
  std::string name;  // as the account spells it, for the chooser
};

// Enabled users ordered by id. A missing file, a file that is no account database or an account
// without an enabled user throws std::runtime_error with a message meant for the person choosing.
std::vector<AccountUser> accountUsers(const std::string& databasePath);

}  // namespace quillon::cli::demo
