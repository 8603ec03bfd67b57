#include "components/suite/stock/inventory_query.h"

#include <cctype>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "automation/com_error.h"
#include "automation/text_compare.h"
#include "sql/condition.h"

namespace quillon::components {

void registerInventoryQueryService(automation::ClassRegistry& registry) {
  registry.add<suite::InventoryQueryServiceObject>(std::string(kInventoryQueryServiceProgId),
                                                   "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B022}");
}

}  // namespace quillon::components

namespace quillon::components::suite {

using automation::Args;
using automation::Variant;

namespace {

bool wordAt(std::string_view text, std::size_t at, std::string_view word) {
  return at <= text.size() && automation::startsWithNoCase(text.substr(at), word);
}

bool nameChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  return std::isalnum(u) != 0 || c == '_' || u >= 0x80;
}

// Where a trailing "order by" of the condition starts (outside quotes and parentheses), or npos.
std::size_t orderByStart(std::string_view text) {
  std::size_t found = std::string_view::npos;
  int depth = 0;
  char quote = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '\'' || c == '"' || c == '[') {
      quote = c == '[' ? ']' : c;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')') {
      --depth;
    } else if (depth == 0 && wordAt(text, i, "order") && (i == 0 || !nameChar(text[i - 1]))) {
      std::size_t j = i + 5;
      if (j < text.size() && nameChar(text[j])) continue;
      while (j < text.size() && std::isspace(static_cast<unsigned char>(text[j])) != 0) ++j;
      if (wordAt(text, j, "by") && (j + 2 == text.size() || !nameChar(text[j + 2]))) found = i;
    }
  }
  return found;
}

bool blank(std::string_view text) {
  for (char c : text) {
    if (std::isspace(static_cast<unsigned char>(c)) == 0) return false;
  }
  return true;
}

}  // namespace

std::string inventoryListStatement(std::string_view condition, std::string_view permittedIds) {
  sql::checkCondition(condition);
  std::string_view where = condition;
  std::string_view order;
  if (const std::size_t at = orderByStart(condition); at != std::string_view::npos) {
    where = condition.substr(0, at);
    order = condition.substr(at);
  }
  std::string sql =
      "SELECT Inventory.cInvCode, Inventory.cInvName, Inventory.cInvStd, Inventory.cInvCCode, "
      "(SELECT C.cInvCName FROM InventoryClass C WHERE C.cInvCCode = Inventory.cInvCCode) AS "
      "cInvCName, (SELECT U.cComUnitName FROM ComputationUnit U WHERE U.cComunitCode = "
      "Inventory.cComUnitCode) AS cComUnitName FROM Inventory";
  std::string conditions;
  if (!blank(where)) conditions = "(" + std::string(where) + ")";
  if (!permittedIds.empty()) {
    conditions += (conditions.empty() ? "" : " AND ") + std::string("Inventory.iId IN (") +
                  std::string(permittedIds) + ")";
  }
  if (!conditions.empty()) sql += " WHERE " + conditions;
  sql += order.empty() ? std::string(" ORDER BY Inventory.cInvCode") : " " + std::string(order);
  return sql;
}

std::shared_ptr<ado::Recordset> InventoryQueryServiceObject::inventories(
    const std::string& condition) {
  if (!session_) throw automation::ComError::objectNotSet();
  auto conn = session_->connection();
  if (!conn || !conn->isOpen()) throw automation::ComError::objectNotSet();
  const std::string ids = session_->permissionList("inventory", "", "W");
  auto rs = std::make_shared<ado::Recordset>();
  rs->setCursorLocation(ado::adUseClient);
  rs->open(inventoryListStatement(condition, ids), conn);
  return rs;
}

const automation::MemberTable& InventoryQueryServiceObject::memberTable() const {
  using Self = InventoryQueryServiceObject;
  using automation::in;
  static const automation::MemberTable table =
      automation::MemberBuilder<Self>("InventoryQueryService")
          .method("Init", {in("oSession", "SessionContext")}, "",
                  [](Self& self, Args& a) -> Variant {
                    auto session = a.objectAs<SessionContext>(0);
                    if (!session) throw automation::ComError::objectNotSet();
                    self.init(std::move(session));
                    return {};
                  })
          .method("GetInventoryList", {in("sWhere", "String")}, "Recordset",
                  [](Self& self, Args& a) -> Variant {
                    return Variant(automation::ObjectPtr(self.inventories(a.str(0))));
                  })
          .build();
  return table;
}

}  // namespace quillon::components::suite
