// What OK reads again for the host: the temporary table of this time's material quantities, the
// "Child" statement, the selection condition of marked product lines, and the re-read of a list's
// statement with the fixed, host-facing column list of its mode. Pure functions of their inputs.
//
// The column lists run after the tail of any statement of their list (the header tails join no
// department, vendor or person in type 39; the product-line tails differ by mode), so they name
// only the tables every tail of their mode has, and reach names through sub-selects on P.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dialogs/frmWWProduceOrder/ww_produce_order_rules.h"

namespace quillon::dialogs::ww_produce_order {

// A connection-local table for this time's material quantities; `random` below 1000 makes it
// unique on the connection.
std::string materialTableName(int random);
std::string createMaterialTableSql(std::string_view name);

// One marked material line as the list shows it. The numbers lose their "," and an empty one is
// NULL; a key or number that is not one raises ComError 13 naming the cell.
struct MaterialQuantity {
  std::string subId;
  std::string quantity;
  std::string pieces;
};
std::string insertMaterialSql(std::string_view name, const MaterialQuantity& material);

// The "Child" statement: the marked material lines with this time's values from the table.
std::string childSql(std::string_view name, const std::vector<std::string>& subIds);

// A marked product line: its key, and the inspection row and nonconformity record it stands for
// (empty when it has none).
struct SelectedLine {
  std::string mainId;
  std::string checkId;
  std::string rejectId;
};
// The lines' conditions joined with " or ". Each line's keys go in as literals. The whole is
// parenthesised: it is appended to a WHERE text with " AND ", and without the parentheses every
// line after the first would escape the statement's own conditions (closed lines included).
std::string selectionCondition(const std::vector<SelectedLine>& lines);

// The header re-read condition.
std::string headerCondition(std::string_view ids);

// A list's statement with its field list replaced by `columns` (a whole "select ..." text),
// narrowed with " AND " + `condition`. ComError 5 when the statement does not hold the field list.
std::string reReadSql(std::string_view statement, std::string_view fields, std::string_view columns,
                      std::string_view condition);

// The fixed column lists: the header list for one or several marked headers; the product-line
// list of a mode, for one or several headers, with MakePrice when the account estimates
// processing charges (bOMZGInstal).
std::string headerColumns(bool severalHeaders);
std::string lineColumns(Mode mode, bool severalHeaders, bool makePrice);

}  // namespace quillon::dialogs::ww_produce_order
