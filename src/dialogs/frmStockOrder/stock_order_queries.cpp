#include "dialogs/frmStockOrder/stock_order_queries.h"

#include <utility>

#include "automation/vb_runtime.h"
#include "module/text_helpers.h"
#include "sql/sql_text.h"

namespace quillon::dialogs::stock_order {

namespace {

// S + J + condition, J being " and" once S holds something.
void append(std::string& s, std::string_view condition) {
  if (!s.empty()) s += " and";
  s += condition;
}

std::string dateBound(std::string_view text) {
  return automation::IsDate(automation::Variant(text)) ? std::string(text) : std::string();
}

std::string dateRange(std::string_view field, std::string_view lower, std::string_view upper) {
  return module::DateRangeCondition(field, dateBound(lower), dateBound(upper));
}

std::string inventoryCondition(std::string_view ids, std::string_view opening) {
  if (ids.empty()) return {};
  return std::string(opening) + std::string(ids) + ")";
}

constexpr const char* kConsignmentItems = "Inventory.bInvEntrust=1";

std::string withConsignment(const std::string& conditions, bool consignmentOnly) {
  const std::string b = consignmentOnly ? kConsignmentItems : "";
  if (b.empty() || conditions.empty()) return b + conditions;
  return b + " and " + conditions;
}

}  // namespace

std::string departmentClause(std::string_view permittedDepartments) {
  if (permittedDepartments.empty()) return {};
  return "(cDepCode in (" + std::string(permittedDepartments) + ") OR ISNULL(cDepCode, '') = '')";
}

std::string warehouseClause(std::string_view permittedWarehouses) {
  if (permittedWarehouses.empty()) return {};
  return "(cWhCode in (" + std::string(permittedWarehouses) + ") OR ISNULL(cWhCode,'') = '')";
}

std::string tabFilterText(int tab, std::string_view permittedDepartments,
                          std::string_view permittedWarehouses) {
  std::string text = departmentClause(permittedDepartments);
  if (tab != kArrivalTab) return text;
  const std::string warehouses = warehouseClause(permittedWarehouses);
  if (!warehouses.empty()) text += (text.empty() ? "" : " AND ") + warehouses;
  return text;
}

std::string headFilter(int tab, const FilterBoxes& boxes, std::string_view permittedDepartments) {
  const std::string t = tab == kArrivalTab ? "pu_ArrHead" : "zpurpoheader";
  std::string s;
  if (!boxes.lowerDate.empty() || !boxes.upperDate.empty()) {
    s += dateRange(tab == kArrivalTab ? "pu_ArrHead.ddate" : "zpurpoheader.dpodate",
                   boxes.lowerDate, boxes.upperDate);
  }
  const std::pair<const std::string&, const char*> fragments[] = {
      {boxes.department, ".cdepname = "}, {boxes.person, ".cpersonname = "},
      {boxes.arrivalCode, ".cCode = "},   {boxes.orderCode, ".cPOId = "},
      {boxes.vendor, ".cVenAbbName = "},
  };
  for (const auto& [text, fragment] : fragments) {
    if (!text.empty()) append(s, " " + t + fragment + sql::literal(text));
  }
  if (!boxes.busType.empty()) {
    const std::string j = s.empty() ? "" : " and";
    s = "((" + s + j + " " + t + ".cBusType = " + sql::literal(boxes.busType) + ") Or (" + s + j +
        " " + t + ".cBusType = ''))";
  }
  const std::string departments = departmentClause(permittedDepartments);
  if (!departments.empty()) s += (s.empty() ? "" : " AND ") + departments;
  return s;
}

std::string orderLineCondition(std::string_view permittedInventoryIds, std::string_view lowerPlan,
                               std::string_view upperPlan, bool consignmentOnly) {
  std::string i = inventoryCondition(permittedInventoryIds, "Inventory.iId IN(");
  const std::string plan = dateRange("dArriveDate", lowerPlan, upperPlan);
  if (!plan.empty()) i += (i.empty() ? "" : " and ") + plan;
  return withConsignment(i, consignmentOnly);
}

std::string arrivalLineCondition(std::string_view permittedInventoryIds,
                                 std::string_view permittedWarehouses,
                                 std::string_view warehouseName, bool commercial,
                                 bool consignmentOnly, bool singleHead) {
  std::string i = inventoryCondition(permittedInventoryIds,
                                     singleHead ? "Inventory.iId IN (" : "Inventory.iId IN(");
  if (!permittedWarehouses.empty()) {
    i += (i.empty() ? "" : " AND ") + std::string("(PU_ArrivalVouchs.cWhCode in (") +
         std::string(permittedWarehouses) + ") OR ISNULL(PU_ArrivalVouchs.cWhCode,'') = '')";
  }
  if (singleHead) return i;
  if (!warehouseName.empty()) {
    i += (i.empty() ? "" : " and ") + std::string(" cWhName = ") + sql::literal(warehouseName);
  }
  return commercial ? withConsignment(i, consignmentOnly) : i;
}

}  // namespace quillon::dialogs::stock_order
