// The statements of the outsourced-order dialog's lists: the WHERE texts of its filter and
// permissions, the header queries of each mode, the product-line queries, the material query with
// its checks, and the probing statements they depend on. Pure functions of their inputs; the texts
// are the suite's own, fragment for fragment.
//
// FIELDS is always the field list of the list's column set, inserted as it comes; `ids` and
// `mainIds` are id-list texts "(1,2)"; Q and N are the quantity and piece decimals as text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/kit/order_filter.h"

namespace quillon::dialogs::ww_produce_order {

// The decimals inserted as the second argument of SQL round.
struct Digits {
  std::string quantity;  // QuanDecDgt
  std::string number;    // NumDecDgt
};

// ---- load and filter

// The department condition appended to the order filter on load, joined with " AND ".
std::string withDepartmentCondition(std::string_view orderFilter,
                                    std::string_view permittedDepartments);

// The inventory permission filter of the receipt and type-39 product lines; "" when unrestricted.
std::string inventoryPermissionFilter(std::string_view permittedInventoryIds);
// The same for the other issue types, rebuilt before each load.
std::string issueInventoryFilter(std::string_view permittedInventoryIds);

// What the filter boxes hold (the item is a product code).
using FilterFields = kit::OrderFilterFields;

struct FilterText {
  std::string where;    // for the header query; dropped when a product is given
  std::string product;  // an ADO filter on the loaded product lines, or ""
};

// cmdFilter's texts. `originalOnly` adds the bOriginal narrowing (voucher types 72 and 77 with
// bIsSTQc).
FilterText filterText(const FilterFields& fields, bool originalOnly);

// The WHERE text of the header query: the order filter and the filter text.
std::string headerWhere(std::string_view orderFilter, std::string_view filterWhere);

// ---- header queries (GetProduct1, GetYbjsProduct, GetProductX, GetProductZ)

inline constexpr std::string_view kHeaderInNeedOutProbe =
    "select * from accinformation where cname='bOMInNeedOut' and cvalue='true'";

std::string receiptHeaderCondition(bool openOnly, const Digits& d);     // E1
std::string concessionHeaderCondition(bool openOnly, const Digits& d);  // E2
std::string issueHeaderCondition(bool openOnly, const Digits& d);       // E3

// `inNeedOut`: the probe above returned a row.
std::string product1Sql(std::string_view fields, int state, std::string_view where, bool openOnly,
                        const Digits& d, bool inNeedOut);
std::string ybjsProductSql(std::string_view fields, int state, std::string_view where,
                           bool openOnly, const Digits& d, bool inNeedOut);
std::string productXSql(std::string_view fields, int state, std::string_view where, bool openOnly,
                        const Digits& d);
std::string productZSql(std::string_view fields, int state, std::string_view where, bool openOnly,
                        const Digits& d);

// ---- product-line queries (GetPoMain, GetYbjsPoMain, GetPoMainZ, GetPoMainX)

inline constexpr std::string_view kLineInNeedOutProbe =
    "select cvalue from dbo.AccInformation where cname='bOMInNeedOut' and cvalue='true'";
inline constexpr std::string_view kCostObjectTableProbe =
    "select count(*) as myNum from sysobjects where id = object_id(N'[dbo].[fitemss99]') and "
    "OBJECTPROPERTY(id, N'IsUserTable') = 1";
inline constexpr std::string_view kSpreadNotByFreeProbe =
    "select cValue from accinformation where cName='bBOMSpreadNotByFree' and csysid='st'";

struct LineQuery {
  std::string fields;
  std::string ids;
  int state = 2;
  bool openOnly = true;
  std::string extra;  // the extra condition of the mode
  Digits digits;
};

std::string receiptLineCondition(bool openOnly, const Digits& d);                    // C1
std::string concessionLineCondition(bool openOnly, bool zgInstal, const Digits& d);  // C2
std::string issueLineCondition(bool openOnly, const Digits& d);                      // C3

std::string poMainSql(const LineQuery& q, bool inNeedOut);
std::string ybjsPoMainSql(const LineQuery& q, bool zgInstal);
std::string poMainZSql(const LineQuery& q);

// The three forms of the type-39 statement: the cost-object table exists and the account spreads
// structures without regard to free items, it exists and they count, or it is missing.
enum class CostObjects { SpreadNotByFree, SpreadByFree, Missing };
std::string poMainXSql(const LineQuery& q, CostObjects costObjects);

// ---- material lines

std::string materialStateProbe(std::string_view mainIds);
std::string materialUsedProbe(std::string_view mainIds);
// The material list's extra condition: the inventory filter with its product-line prefix turned
// into the material table's (compared without regard to case).
std::string materialExtraCondition(std::string_view inventoryFilter);
std::string materialSql(std::string_view fields, std::string_view mainIds,
                        std::string_view extraCondition, bool openOnly, const Digits& d);

// ---- the order of each line

// The product lines (MainID) of the orders `headIds` with their order (ID), the numbers as
// literals; a key that is no number is left out, and with none left nothing is asked.
std::optional<std::string> lineOrdersSql(const std::vector<std::string>& headIds);

}  // namespace quillon::dialogs::ww_produce_order
