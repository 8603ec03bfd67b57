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

std::string rowsOfKind(std::string_view userId, std::string_view kind) {
  return " FROM UA_DataRight WHERE cUser_Id = " + sql::literal(userId) +
         " AND cObjectKind = " + sql::literal(automation::LCase(kind));
}

std::string rightsCondition(std::string_view rightCode) {
  if (rightCode.empty()) return " AND cRightCode IN ('W', 'R')";
  return " AND cRightCode = " + sql::literal(rightCode);
}

// One row of the kind is enough to know the user is restricted: counting them all walks a
// hundred thousand rights for a clerk of a large account.
bool restricted(sql::Database& db, std::string_view userId, std::string_view kind) {
  return !queryRows(db, "SELECT TOP 1 cObjectId" + rowsOfKind(userId, kind)).empty();
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
  if (!restricted(db, userId, kind)) return {};
  // Inventory ids are sorted here as numbers, so the engine is not asked to sort a hundred
  // thousand codes as text first; the other kinds keep the codes' order.
  const bool numeric = automation::equalsNoCase(kind, "inventory");
  Rows rows =
      queryRows(db, "SELECT cObjectId" + rowsOfKind(userId, kind) + rightsCondition(rightCode) +
                        (numeric ? "" : " ORDER BY cObjectId"));

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

bool idListHolds(std::string_view list, long long id) {
  const std::string wanted = std::to_string(id);
  std::size_t at = 0;
  while (at <= list.size()) {
    std::size_t end = list.find(',', at);
    if (end == std::string_view::npos) end = list.size();
    if (list.substr(at, end - at) == wanted) return true;
    at = end + 1;
  }
  return false;
}

bool permitsInventory(sql::Database& db, std::string_view userId, long long iId,
                      std::string_view rightCode) {
  if (!restricted(db, userId, "inventory")) return true;
  if (!queryRows(db, "SELECT TOP 1 cObjectId" + rowsOfKind(userId, "inventory") +
                         rightsCondition(rightCode) +
                         " AND cObjectId = " + sql::literal(std::to_string(iId)))
           .empty()) {
    return true;
  }
  // A right may hold the id written otherwise (" 12", "012"): the whole list decides.
  return idListHolds(permissionList(db, userId, "inventory", rightCode), iId);
}

}  // namespace quillon::components::suite
