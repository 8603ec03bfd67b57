#include "demo/account_users.h"

#include <stdexcept>

#include "components/suite/account_database.h"

namespace quillon::cli::demo {

std::vector<AccountUser> accountUsers(const std::string& databasePath) {
  std::vector<sql::ResultSet> found;
  try {
    // The suite's own check: it names the file and says whether it is missing or no account.
    const auto db = components::suite::openAccountDatabase(databasePath);
    found = db->query(
        "SELECT cUser_Id, cUser_Name FROM UA_User WHERE bDisabled IS NULL OR bDisabled = 0 "
        "ORDER BY cUser_Id");
  } catch (const std::exception& e) {
    throw std::runtime_error(e.what());
  }
  std::vector<AccountUser> users;
  if (!found.empty()) {
    for (const auto& row : found.front().rows) {
      if (row.size() >= 2) users.push_back({row[0].text, row[1].text});
    }
  }
  if (users.empty()) {
    throw std::runtime_error("账套数据库[" + databasePath + "]中没有可以登录的用户");
  }
  return users;
}

}  // namespace quillon::cli::demo
