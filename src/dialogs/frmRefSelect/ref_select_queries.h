// The field layout frmRefSelect expects of its candidate rows: the names of the stock and
// this-time quantity and pieces fields, their places counted back from the end of the field list,
// and the sort order each allocation rule gives the rows. Pure functions of the dialog's inputs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::dialogs::ref_select {

// RefType values of the suite's reference-type enumeration.
inline constexpr std::int32_t kRefBatch = 0;
inline constexpr std::int32_t kRefTrace = 1;
inline constexpr std::int32_t kRefReturn = 2;

// The calling voucher kind that marks stocktaking.
inline constexpr std::string_view kStocktaking = "18";

struct ColumnNames {
  std::string stock;     // stock quantity (book quantity when stocktaking)
  std::string stockNum;  // stock pieces
  std::string thisQty;   // quantity taken this time
  std::string thisNum;   // pieces taken this time
};

ColumnNames columnNamesFor(std::string_view refFrom, std::int32_t refType);

// Distance of each field's grid column from the grid's column count (field count + 1): the
// column is count - offset, so offset 1 is the last field.
struct ColumnOffsets {
  int thisQty;
  int stock;
  int thisNum;
  int stockNum;
};

// Reference types outside 0..2 use the batch layout.
ColumnOffsets offsetsFor(std::int32_t refType, std::string_view refFrom);

// Sort text of the allocation rule `rule` ("BatchOut" for RefType 0, "InOutTrace" for 1); empty
// when the rows keep the query's order.
std::string allocationSort(std::int32_t refType, std::string_view rule);

// The fields a sort text names, in order ("入库日期 Desc ,入库系统编号 Desc" gives the two names).
std::vector<std::string> sortFields(std::string_view sortText);

// What is wrong with a query's field list for this layout, as the text of the error the dialog
// raises; nothing when the four fields are present and, when `checkPlaces`, each stands at its
// place.
std::optional<std::string> layoutProblem(const std::vector<std::string>& fieldNames,
                                         std::string_view refFrom, std::int32_t refType,
                                         bool checkPlaces);

}  // namespace quillon::dialogs::ref_select
