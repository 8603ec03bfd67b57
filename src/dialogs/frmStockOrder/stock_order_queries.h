// The WHERE texts of the order and arrival-note dialog, as it hands them to PurchaseRefService:
// the permission clauses, the filter text of a tab switch, the head filter of a filter run and
// the line conditions. Pure functions of their inputs.
//
// Values typed into the filter boxes are placed as literals (sql::literal), so a quote that got
// past the key filter still cannot end one; without quotes the texts are those of the filter's
// fragments character for character. A date bound that is not a date is no bound: the date boxes
// refuse such text before a filter runs.
#pragma once

#include <string>
#include <string_view>

namespace quillon::dialogs::stock_order {

inline constexpr int kOrderTab = 0;
inline constexpr int kArrivalTab = 1;

// "(cDepCode in (" + list + ") OR ISNULL(cDepCode, '') = '')"; "" for an empty list.
std::string departmentClause(std::string_view permittedDepartments);
// "(cWhCode in (" + list + ") OR ISNULL(cWhCode,'') = '')"; "" for an empty list.
std::string warehouseClause(std::string_view permittedWarehouses);

// The filter text a tab switch leaves: on the arrival tab the department and warehouse clauses
// joined by " AND ", on the order tab the department clause.
std::string tabFilterText(int tab, std::string_view permittedDepartments,
                          std::string_view permittedWarehouses);

// What the filter boxes hold when a filter runs (texts as shown; empty when not used).
struct FilterBoxes {
  std::string lowerDate;
  std::string upperDate;
  std::string department;  // cdepname
  std::string person;      // cpersonname
  std::string arrivalCode;
  std::string orderCode;
  std::string vendor;  // cVenAbbName
  std::string busType;
};

// The head WHERE text of a filter run on `tab`: the date range, the boxes in the filter's order,
// the two business-type branches, the department clause.
std::string headFilter(int tab, const FilterBoxes& boxes, std::string_view permittedDepartments);

// Order lines: the inventory permission and the planned-arrival range, with the consignment
// condition in front when only consignment items are wanted.
std::string orderLineCondition(std::string_view permittedInventoryIds, std::string_view lowerPlan,
                               std::string_view upperPlan, bool consignmentOnly);

// Arrival-note lines: the inventory and warehouse permissions and, for the lines of all marked
// heads, the warehouse name box; `singleHead` gives the conditions of a head marked by a click
// (permissions only, "Inventory.iId IN (" with its blank). The consignment condition applies in
// the commercial edition.
std::string arrivalLineCondition(std::string_view permittedInventoryIds,
                                 std::string_view permittedWarehouses,
                                 std::string_view warehouseName, bool commercial,
                                 bool consignmentOnly, bool singleHead);

}  // namespace quillon::dialogs::stock_order
