// The WHERE texts of the delivery-note dialog, as it hands them to PurchaseRefService: the
// department rights condition, the head filter of a filter run and the line conditions of a
// marked head. Pure functions of their inputs.
//
// Values typed into the filter boxes are placed as literals (sql::literal), so a quote that got
// past the key filter still cannot end one; without quotes the texts are those of the filter's
// fragments character for character, separators included. A date bound that is not a date is no
// bound: the date boxes refuse such text before a filter runs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillon::dialogs::cons {

// "(DispatchList.cDepCode IN(" + list + ") OR ISNULL(DispatchList.cDepCode,'') = '')"; "" for an
// empty list (an unrestricted user).
std::string departmentCondition(std::string_view permittedDepartments);

// The filter text after load: the owner's filter and the department condition, joined by " AND ".
std::string loadFilterText(std::string_view ownerFilter, std::string_view departmentCondition);

// What the filter boxes hold when a filter runs (empty when not used). The names are those the
// conditions compare: the warehouse by its code, department and person by name, the customer by
// its abbreviation.
struct FilterBoxes {
  std::string lowerDate;
  std::string upperDate;
  std::string warehouseCode;
  std::string department;
  std::string person;
  std::string deliveryCode;
  std::string customer;
  std::string vouchType;
  std::string busType;
  std::string invoiceCode;
};

// The head WHERE text of a filter run: the boxes' conditions in the filter's order, each after
// " and" (the invoice code after " and "), then the department condition built at load after
// " AND ", so that a restricted user's every filter stays within her departments.
std::string headFilter(const FilterBoxes& boxes, std::string_view departmentCondition);

// Conditions 2 to 4 of a note's lines: the warehouse box's code, the warehouse rights, the
// inventory rights, joined by " AND "; "" when none applies.
std::string lineConditions(std::string_view warehouseCode, std::string_view permittedWarehouses,
                           std::string_view permittedInventoryIds);

// The lines of note `dlid`: "DispatchLists.DLID=" + id, then " AND " + the conditions.
std::string noteLineFilter(std::int32_t dlid, std::string_view conditions);

}  // namespace quillon::dialogs::cons
