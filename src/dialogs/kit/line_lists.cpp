#include "dialogs/kit/line_lists.h"

#include "automation/text_compare.h"
#include "sql/sql_text.h"

namespace quillon::dialogs::kit {

std::string UnitListQuery(std::string_view invCode, std::string_view typed) {
  const std::string t = sql::literal("%" + std::string(typed) + "%");
  return "SELECT cComunitCode AS 计量单位编码, cComUnitName AS 计量单位名称, cBarCode AS "
         "对应条形码中的编码, bMainUnit AS 主计量单位标志, iChangRate AS 换算率, iNumber AS 数量, "
         "fFloatRate AS 合理浮动比例 FROM ComputationUnit WHERE cGroupCode IN (SELECT cGroupCode "
         "FROM Inventory WHERE cInvCode = " +
         sql::literal(invCode) + ") AND (cComunitCode like " + t + " OR cComUnitName like " + t +
         ") ORDER BY iNumber, cComunitCode";
}

std::string FreeItemListQuery(std::string_view invCode, int freeNo, std::string_view typed) {
  const std::string t = sql::literal("%" + std::string(typed) + "%");
  return "SELECT cValueCode AS 代码, cValue AS 值, cBarCode AS 条码 FROM InvFreeValue WHERE "
         "cInvCode = " +
         sql::literal(invCode) + " AND iFreeNo = " + std::to_string(freeNo) +
         " AND (cValueCode like " + t + " OR cValue like " + t + ") ORDER BY cValueCode";
}

std::string UnitByBarcodeQuery(std::string_view barcode) {
  return "SELECT cComunitCode, cComUnitName, iChangRate FROM ComputationUnit WHERE cBarCode = " +
         sql::literal(barcode) + " ORDER BY cComunitCode";
}

int FreeItemNumber(std::string_view field) {
  if (!automation::startsWithNoCase(field, "cfree")) return 0;
  const std::string_view digits = field.substr(5);
  if (digits.empty() || digits.size() > 2) return 0;
  int n = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + (c - '0');
  }
  return n >= 1 && n <= 10 ? n : 0;
}

}  // namespace quillon::dialogs::kit
