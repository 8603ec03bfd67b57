#include "components/suite/permissions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

#include "automation/text_compare.h"
#include "automation/vb_strings.h"
#include "components/suite/component_errors.h"
#include "components/suite/rows.h"
#include "sql/sql_text.h"

namespace quillon::components::suite {

namespace {

constexpr std::array<std::string_view, 6> kKinds = {"department", "inventory", "warehouse",
                                                    "customer",   "person",    "vendor"};

std::optional<long long> wholeNumber(std::string_view text) {
  text = text.substr(0, text.find_last_not_of(' ') + 1);
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  long long n = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return n;
}

}  // namespace

bool isPermissionKind(std::string_view kind) {
  return std::any_of(kKinds.begin(), kKinds.end(),
                     [&](std::string_view k) { return automation::equalsNoCase(k, kind); });
}

std::string permissionList(sql::Database& db, std::string_view userId, std::string_view kind,
                           std::string_view rightCode) {
  if (!isPermissionKind(kind)) {
    raise(kErrUnknownObjectKind, "未知的数据权限对象[" + std::string(kind) + "]");
  }
  const std::string who = " FROM UA_DataRight WHERE cUser_Id = " + sql::literal(userId) +
                          " AND cObjectKind = " + sql::literal(automation::LCase(kind));
  Rows restricted = queryRows(db, "SELECT COUNT(*) AS n" + who);
  if (restricted.empty() || restricted.at(0, "n").toLong() == 0) return {};

  std::string rights;
  if (rightCode.empty()) {
    rights = " AND cRightCode IN ('W', 'R')";
  } else {
    rights = " AND cRightCode = " + sql::literal(rightCode);
  }
  Rows rows = queryRows(db, "SELECT cObjectId" + who + rights + " ORDER BY cObjectId");

  const bool numeric = automation::equalsNoCase(kind, "inventory");
  std::vector<std::string> items;
  if (numeric) {
    std::vector<long long> ids;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (auto n = wholeNumber(rows.text(i, "cObjectId"))) ids.push_back(*n);
    }
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    for (long long id : ids) items.push_back(std::to_string(id));
  } else {
    for (std::size_t i = 0; i < rows.size(); ++i)
      items.push_back(sql::literal(rows.text(i, "cObjectId")));
  }
  if (items.empty()) return "NULL";
  return automation::Join(items, ",");
}

}  // namespace quillon::components::suite
