#include "dialogs/frmProduceOrder/produce_order_queries.h"

#include "ado/criteria.h"
#include "module/text_helpers.h"
#include "sql/sql_text.h"

namespace quillon::dialogs::produce_order {

namespace {

void appendAnd(std::string& condition, std::string_view fragment) {
  if (!condition.empty()) condition += " and";
  condition += fragment;
}

}  // namespace

std::string withDepartmentCondition(std::string_view filter,
                                    std::string_view permittedDepartments) {
  std::string out(filter);
  if (!out.empty()) out += " AND ";
  if (!permittedDepartments.empty()) {
    out += "( (cDepCode IN(" + std::string(permittedDepartments) + ")" +
           "  AND cDepCode IN ( Select cDepCode From Department DD where DD.cDepCode = cDepCode "
           "and DD.bDepEnd = 1)) " +
           "OR ISNULL(cDepCode, '') = '' ) ";
  } else {
    out += std::string(
               "( (cDepCode IN ( Select cDepCode From Department DD where DD.cDepCode = "
               "cDepCode and DD.bDepEnd = 1) ) ") +
           "OR ISNULL(cDepCode, '') = '' ) ";
  }
  return out;
}

std::string inventoryCondition(std::string_view permittedInventoryIds) {
  if (permittedInventoryIds.empty()) return {};
  return "cInvCode in ( select II.cInvCode From Inventory II where II.cInvCode = cInvCode and "
         "II.iid IN(" +
         std::string(permittedInventoryIds) + "))";
}

FilterConditions filterConditions(const FilterFields& f, int voucherType) {
  FilterConditions c;
  if (!f.lowerDate.empty() || !f.upperDate.empty()) {
    c.head += module::DateRangeCondition("dDate", f.lowerDate, f.upperDate);
  }
  if (!f.department.empty()) appendAnd(c.head, " cDepCode = " + sql::literal(f.department));
  if (!f.person.empty()) appendAnd(c.head, " cPersonCode = " + sql::literal(f.person));
  if (!f.orderCode.empty()) appendAnd(c.head, " cCode = " + sql::literal(f.orderCode));
  if (!f.vendor.empty()) appendAnd(c.head, " cVenCode = " + sql::literal(f.vendor));
  if (!f.item.empty()) {
    c.line = " cInvCode = " + ado::criteriaLiteral(f.item);
    c.head.clear();
  }
  if (voucherType == 71) appendAnd(c.head, " iProperty =2 ");
  return c;
}

std::string joinHeadConditions(std::string_view condition, std::string_view filter) {
  if (condition.empty() || filter.empty()) return std::string(condition) + std::string(filter);
  return std::string(condition) + " and " + std::string(filter);
}

std::string projectNarrowing(std::string_view itemCode, std::string_view itemClass) {
  return " and ISNULL(citemcode,'')=" + sql::literal(itemCode) +
         " and citem_class =" + sql::literal(itemClass);
}

}  // namespace quillon::dialogs::produce_order
