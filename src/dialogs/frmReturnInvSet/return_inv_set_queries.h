// The conditions and statements of the return-inventory picker, pure functions of their inputs.
// Class and inventory codes go into the statements as literals (sql::literal); the host condition
// is the host's own text, checked as one expression when the host hands it in (frmShow) and put
// in parentheses so that it narrows whatever stands beside it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillon::dialogs::return_inv_set {

// The class code of a tree node: its key without the first character ("" for the root).
std::string classCodeOfKey(std::string_view key, bool root);

// What a clicked class lists: "cInvCCode like '<code>%'", then " and " and the host condition
// when there is one. The root lists what the host condition allows ("" for all).
std::string listCondition(std::string_view classCode, std::string_view hostWhere);
// What a checked class chooses: the same, joined with " AND ".
std::string checkCondition(std::string_view classCode, std::string_view hostWhere);

// The list's order: "" (the service's code order) or " order by cInvCode desc".
std::string listOrder(bool descending);

// "tempdb..tmp" + the identifier with every "." made "_" + "tmp", made one name by
// sql::identifier (an account "acct-01" in 2026 gives tempdb..tmpacct_01_2026tmp).
std::string tempTableName(std::string_view identifier);

// The batch that makes the temporary table afresh and puts the chosen codes into it.
std::string tempTableBatch(std::string_view name, const std::vector<std::string>& codes);

// The condition of the final read of the chosen inventories, in the order the Order menu's
// caption says the list shows (it offers the other one).
std::string chosenCondition(std::string_view name, std::string_view orderCaption);

}  // namespace quillon::dialogs::return_inv_set
