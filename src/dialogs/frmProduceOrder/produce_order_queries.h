// The WHERE texts of the production-order dialog: permission conditions added on load, the
// conditions cmdFilter builds from the filter fields and the project narrowing of the lines read
// again on OK. Pure functions of their inputs.
#pragma once

#include <string>
#include <string_view>

#include "dialogs/kit/order_filter.h"

namespace quillon::dialogs::produce_order {

// The department condition appended to the dialog's filter on load: only orders of end-level
// departments (within `permittedDepartments`, a quoted list, when it is not empty) or without a
// department. Joined to `filter` with " AND " when the filter is not empty.
std::string withDepartmentCondition(std::string_view filter, std::string_view permittedDepartments);

// The inventory condition handed to the line and material queries; "" for an unrestricted user.
std::string inventoryCondition(std::string_view permittedInventoryIds);

// What the filter fields hold (the item is an inventory code).
using FilterFields = kit::OrderFilterFields;

struct FilterConditions {
  std::string head;  // for the head query
  std::string line;  // a Filter for the listed product lines
};

// cmdFilter's conditions: the date range on "dDate", then department, person, order code and
// vendor; an inventory item turns the filter into a line filter (the head condition is emptied);
// voucher type 71 always adds " iProperty =2 " to the head condition.
FilterConditions filterConditions(const FilterFields& fields, int voucherType);

// The WHERE text of the head query: the cmdFilter condition and the dialog's filter text.
std::string joinHeadConditions(std::string_view condition, std::string_view filter);

// The project narrowing appended to the line keys: the chosen line's project and project class.
std::string projectNarrowing(std::string_view itemCode, std::string_view itemClass);

}  // namespace quillon::dialogs::produce_order
