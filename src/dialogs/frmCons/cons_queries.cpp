#include "dialogs/frmCons/cons_queries.h"

#include <utility>

#include "automation/vb_runtime.h"
#include "module/text_helpers.h"
#include "sql/sql_text.h"

namespace quillon::dialogs::cons {

namespace {

std::string dateBound(std::string_view text) {
  return automation::IsDate(automation::Variant(text)) ? std::string(text) : std::string();
}

void joinWith(std::string& s, std::string_view separator, std::string_view condition) {
  if (condition.empty()) return;
  if (!s.empty()) s += separator;
  s += condition;
}

}  // namespace

std::string departmentCondition(std::string_view permittedDepartments) {
  if (permittedDepartments.empty()) return {};
  return "(DispatchList.cDepCode IN(" + std::string(permittedDepartments) +
         ") OR ISNULL(DispatchList.cDepCode,'') = '')";
}

std::string loadFilterText(std::string_view ownerFilter, std::string_view departmentCondition) {
  std::string s(ownerFilter);
  joinWith(s, " AND ", departmentCondition);
  return s;
}

std::string headFilter(const FilterBoxes& boxes, std::string_view departmentCondition) {
  std::string s;
  if (!boxes.lowerDate.empty() || !boxes.upperDate.empty()) {
    s = module::DateRangeCondition("DispatchList.dDate", dateBound(boxes.lowerDate),
                                   dateBound(boxes.upperDate));
  }
  const std::pair<const std::string&, const char*> fragments[] = {
      {boxes.warehouseCode, " DispatchLists.cwhcode = "},
      {boxes.department, " Department.cDepName = "},
      {boxes.person, " Person.cPersonName = "},
      {boxes.deliveryCode, " DispatchList.cDLCode = "},
      {boxes.customer, " Customer.cCusAbbName = "},
      {boxes.vouchType, " VouchType.cVouchName = "},
      {boxes.busType, " DispatchList.cBusType = "},
  };
  for (const auto& [text, fragment] : fragments) {
    if (!text.empty()) joinWith(s, " and", fragment + sql::literal(text));
  }
  if (!boxes.invoiceCode.empty()) {
    joinWith(s, " and ", " DispatchList.cSBVCode =" + sql::literal(boxes.invoiceCode));
  }
  joinWith(s, " AND ", departmentCondition);
  return s;
}

std::string lineConditions(std::string_view warehouseCode, std::string_view permittedWarehouses,
                           std::string_view permittedInventoryIds) {
  std::string s;
  if (!warehouseCode.empty()) {
    joinWith(s, " AND ", "DispatchLists.cWhCode IN (" + sql::literal(warehouseCode) + ")");
  }
  if (!permittedWarehouses.empty()) {
    joinWith(s, " AND ", "DispatchLists.cWhCode IN (" + std::string(permittedWarehouses) + ")");
  }
  if (!permittedInventoryIds.empty()) {
    joinWith(s, " AND ",
             "DispatchLists.cInvCode in ( select II.cInvCode From Inventory II where II.cInvCode "
             "= DispatchLists.cInvCode and II.iid IN(" +
                 std::string(permittedInventoryIds) + "))");
  }
  return s;
}

std::string noteLineFilter(std::int32_t dlid, std::string_view conditions) {
  std::string s = "DispatchLists.DLID=" + std::to_string(dlid);
  joinWith(s, " AND ", conditions);
  return s;
}

}  // namespace quillon::dialogs::cons
