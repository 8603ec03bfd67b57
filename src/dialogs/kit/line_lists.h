// The lists the line grids of the order, arrival-note and delivery-note dialogs offer for a cell:
// the units of the line's item (for its stock unit) and the values of one of its free items. Both
// are restricted to the item and to what the person has typed (matched anywhere in the code or
// the name); the typed text and the item code enter as literals.
#pragma once

#include <string>
#include <string_view>

namespace quillon::dialogs::kit {

// Columns 计量单位编码, 计量单位名称, 对应条形码中的编码, 主计量单位标志, 换算率, 数量,
// 合理浮动比例: the units of the item's unit group.
std::string UnitListQuery(std::string_view invCode, std::string_view typed);

// Columns 代码, 值, 条码: the values of free item `freeNo` (1 to 10) of the item.
std::string FreeItemListQuery(std::string_view invCode, int freeNo, std::string_view typed);

// Columns cComunitCode, cComUnitName, iChangRate: the unit whose barcode (cBarCode) is `barcode`,
// which enters as a literal.
std::string UnitByBarcodeQuery(std::string_view barcode);

// The free item a line field stands for ("cfree3" gives 3), 0 for any other field.
int FreeItemNumber(std::string_view field);

}  // namespace quillon::dialogs::kit
