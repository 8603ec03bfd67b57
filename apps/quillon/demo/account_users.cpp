#include "demo/account_users.h"

#include <stdexcept>

#include "demo/account_query.h"

namespace quillon::cli::demo {

std::vector<AccountUser> accountUsers(const std::string& databasePath) {
  const auto rows = accountRows(
      databasePath,
      "SELECT cUser_Id, cUser_Name FROM UA_User WHERE bDisabled IS NULL OR bDisabled = 0 "
      "ORDER BY cUser_Id",
      2);
  std::vector<AccountUser> users;
  for (const auto& row : rows) users.push_back({row[0], row[1]});
  if (users.empty()) {
    throw std::runtime_error("账套数据库[" + databasePath + "]中没有可以登录的用户");
  }
  return users;
}

}  // namespace quillon::cli::demo
