#include "dialogs/frmWWProduceOrder/ww_produce_order_queries.h"

#include "ado/criteria.h"
#include "automation/numeric_text.h"
#include "automation/text_compare.h"
#include "automation/vb_strings.h"
#include "module/text_helpers.h"
#include "sql/sql_text.h"

namespace quillon::dialogs::ww_produce_order {

using sql::literal;

namespace {

std::string str(std::string_view s) {
  return std::string(s);
}

// " AND " before a condition that is not blank.
std::string joinAnd(std::string_view condition) {
  return automation::Trim(condition).empty() ? std::string() : std::string(" AND ");
}

void appendPart(std::string& where, std::string_view part) {
  if (!where.empty()) where += " and";
  where += part;
}

constexpr std::string_view kClose = " and (OM_POMain.cclose='' or OM_POMain.cclose is null) ";

// The product lines' own tables, before the joins of each statement.
constexpr std::string_view kLineFrom =
    " from  OM_POMain LEFT OUTER JOIN fitem on fitem.cItem_Class=OM_POMain.cItem_Class LEFT OUTER "
    "JOIN  Inventory  ON Inventory.cInvCode = OM_POMain.cInvCode LEFT OUTER JOIN  computationUnit "
    "ON Inventory.cComUnitCode =   computationUnit.cComunitCode ";

constexpr std::string_view kInspectionJoins =
    " left outer join qm_ncheckvouchers on om_pomain.mainid=qm_ncheckvouchers.isourceautoid and "
    "(isnull(om_pomain.bcheck,0)=1)  "
    " left outer join qm_ncheckvoucher on qm_ncheckvouchers.id=qm_ncheckvoucher.id ";

std::string linesOfOrders(const LineQuery& q) {
  return " where om_pomain.id in " + q.ids +
         " and  om_pomain.ID in (select ID from OM_ProductPO where iState= " +
         std::to_string(q.state) + ")  " + joinAnd(q.extra) + q.extra;
}

constexpr std::string_view kInspectedSubSelect =
    " (select om_pomain.id from om_pomain left outer join qm_ncheckvouchers on "
    "om_pomain.mainid=qm_ncheckvouchers.isourceautoid left outer join qm_ncheckvoucher on "
    "qm_ncheckvouchers.id=qm_ncheckvoucher.id ";

constexpr std::string_view kVerifiedInspection =
    " where qm_ncheckvoucher.csourcecardnumber='OM02' and qm_ncheckvoucher.cvouchtype='QM16' and "
    "isnull(qm_ncheckvoucher.cverifier,'')<>'' and isnull(qm_ncheckvouchers.fhgquantity,0)>0";

constexpr std::string_view kLineInspection =
    " ( qm_ncheckvoucher.csourcecardnumber='OM02' and  qm_ncheckvoucher.cvouchtype='QM16' and "
    "isnull(qm_ncheckvoucher.cverifier,'') <>''and isnull(om_pomain.bcheck,0)=1 and  "
    "isnull(qm_ncheckvouchers.fhgquantity,0)>0";

}  // namespace

// ---- load and filter

std::string withDepartmentCondition(std::string_view orderFilter,
                                    std::string_view permittedDepartments) {
  std::string condition;
  if (permittedDepartments.empty()) {
    condition = std::string(
                    "( (P.cDepCode IN ( Select P.cDepCode From Department DD where DD.cDepCode = "
                    "P.cDepCode and DD.bDepEnd = 1) ) ") +
                "OR ISNULL(P.cDepCode, '') = '' ) ";
  } else {
    condition = "( (P.cDepCode IN(" + str(permittedDepartments) + ")" +
                "  AND P.cDepCode IN ( Select P.cDepCode From Department DD where DD.cDepCode = "
                "P.cDepCode and DD.bDepEnd = 1)) " +
                "OR ISNULL(P.cDepCode, '') = '' ) ";
  }
  if (orderFilter.empty()) return condition;
  return str(orderFilter) + " AND " + condition;
}

std::string inventoryPermissionFilter(std::string_view permittedInventoryIds) {
  if (permittedInventoryIds.empty()) return {};
  return "OM_POmain.cInvCode in ( select II.cInvCode From Inventory II where II.cInvCode = "
         "cInvCode and II.iid IN(" +
         str(permittedInventoryIds) + "))";
}

std::string issueInventoryFilter(std::string_view permittedInventoryIds) {
  if (permittedInventoryIds.empty()) return {};
  return "om_pomain.cInvCode in ( select II.cInvCode From Inventory II where II.cInvCode = "
         "cInvCode and II.iid IN(" +
         str(permittedInventoryIds) + "))";
}

FilterText filterText(const FilterFields& f, bool originalOnly) {
  FilterText out;
  if (!f.lowerDate.empty() || !f.upperDate.empty()) {
    out.where = module::DateRangeCondition("P.dDate", f.lowerDate, f.upperDate);
  }
  if (!f.department.empty()) appendPart(out.where, " P.cDepCode = " + literal(f.department));
  if (!f.person.empty()) appendPart(out.where, " P.cPersonCode = " + literal(f.person));
  if (!f.orderCode.empty()) appendPart(out.where, " P.cCode = " + literal(f.orderCode));
  if (!f.vendor.empty()) appendPart(out.where, " P.cVenCode = " + literal(f.vendor));
  if (originalOnly) {
    out.where = out.where.empty() ? std::string("bOriginal='1'") : out.where + " AND bOriginal='1'";
  }
  if (!f.item.empty()) {
    out.product = " cInvCode = " + ado::criteriaLiteral(f.item);
    out.where.clear();
  }
  return out;
}

std::string headerWhere(std::string_view orderFilter, std::string_view filterWhere) {
  if (orderFilter.empty() || filterWhere.empty()) return str(orderFilter) + str(filterWhere);
  return str(orderFilter) + " and " + str(filterWhere);
}

// ---- header queries

std::string receiptHeaderCondition(bool openOnly, const Digits& d) {
  if (openOnly) {
    return std::string(" and ") + " ( " +
           " (isnull(m.bcheck,0)=0  AND ( round( ISNULL ( m.fquantity ,0 ) -isnull ( "
           "m.finquantity ,0 ) ," +
           d.quantity + " ) >0 OR round( ISNULL ( m.fnum ,0 ) - round( isnull ( m.finnum ,0 )," +
           d.number + " ) ," + d.number + " ) >0 ) )" + " or " +
           " (isnull(m.bcheck,0)=1 and p.id in " + str(kInspectedSubSelect) +
           str(kVerifiedInspection) +
           " and "
           "round(isnull(qm_ncheckvouchers.fhgquantity,0)-isnull(qm_ncheckvouchers.fhginquantity,"
           "0)," +
           d.quantity + ")>0) ) " + " ) ";
  }
  return std::string(" and ") + " ( " + " (isnull(m.bcheck,0)=0 ) " + " or " +
         " (isnull(m.bcheck,0)=1 and p.id in " + str(kInspectedSubSelect) +
         str(kVerifiedInspection) + "  ) ) " + " ) ";
}

std::string concessionHeaderCondition(bool openOnly, const Digits& d) {
  const std::string subSelect =
      " (select om_pomain.id from om_pomain left outer join qm_ncheckvouchers on "
      "om_pomain.mainid=qm_ncheckvouchers.isourceautoid left outer join qm_ncheckvoucher on "
      "qm_ncheckvouchers.id=qm_ncheckvoucher.id left outer join qm_ncvreject on "
      "qm_ncheckvouchers.irejid=qm_ncvreject.id ";
  const std::string accepted =
      " where qm_ncheckvoucher.csourcecardnumber='OM02' and qm_ncheckvoucher.cvouchtype='QM16' "
      "and isnull(qm_ncheckvoucher.cverifier,'')<>'' and isnull(qm_ncvreject.fybjsquantity,0)<>0";
  const std::string head =
      std::string(" and ") + " ( " + " (isnull(m.bcheck,0)=1 and p.id in " + subSelect + accepted;
  if (openOnly) {
    return head +
           " and "
           "round(isnull(qm_ncvreject.fybjsquantity,0)-isnull(qm_ncvreject.fybjsinquantity,0)," +
           d.quantity + ")>0) ) " + " ) ";
  }
  return head + " ) ) " + " ) ";
}

std::string issueHeaderCondition(bool openOnly, const Digits& d) {
  if (!openOnly) return " ";
  // Both roundings use the quantity decimals, pieces included.
  return " and id in (select distinct id from OM_pomain where mainid in (select distinct mainid "
         "from OM_podetails where round(isnull(fquantity,0)-isnull(foutquantity,0)," +
         d.quantity + ")>0 or round(isnull(fnum,0)-isnull(foutnum,0)," + d.quantity + ")>0) )";
}

std::string product1Sql(std::string_view fields, int state, std::string_view where, bool openOnly,
                        const Digits& d, bool inNeedOut) {
  std::string sql =
      "select distinct " + str(fields) +
      "  from OM_ProductPO P left outer join om_pomain m on p.id = m.id LEFT OUTER JOIN Department "
      "ON Department.cDepCode = P.cDepCode LEFT OUTER JOIN Vendor ON Vendor.cVenCode = "
      "P.cVenCode LEFT OUTER JOIN person ON person.cPersonCode = P.cPersonCode   where iState=" +
      std::to_string(state) + " " + joinAnd(where) + str(where) +
      receiptHeaderCondition(openOnly, d);
  if (inNeedOut) {
    sql += std::string(
               " and (m.id in (select id from OM_pomain where MainID in (select MainID from "
               "OM_PODetails where isnull(fOutQuantity,0)>0)) ") +
           " or m.MainID in(select MainID From OM_PODetails Where IsNull(WipType, 3) = 1))";
  }
  return sql;
}

std::string ybjsProductSql(std::string_view fields, int state, std::string_view where,
                           bool openOnly, const Digits& d, bool inNeedOut) {
  std::string sql =
      "select distinct " + str(fields) +
      "  from OM_ProductPO P LEFT OUTER JOIN Department ON Department.cDepCode = P.cDepCode LEFT "
      "OUTER JOIN Vendor ON Vendor.cVenCode = P.cVenCode LEFT OUTER JOIN person ON "
      "person.cPersonCode = P.cPersonCode  left outer join om_pomain m on p.id=m.id  where "
      "iState=" +
      std::to_string(state) + " " + joinAnd(where) + str(where) +
      concessionHeaderCondition(openOnly, d);
  if (inNeedOut) {
    sql +=
        " and m.id in (select id from OM_pomain where MainID in (select MainID from OM_PODetails "
        "where isnull(fOutQuantity,0)>0)) ";
  }
  return sql;
}

std::string productXSql(std::string_view fields, int state, std::string_view where, bool openOnly,
                        const Digits& d) {
  return "select  " + str(fields) + " " +
         " from OM_ProductPO P  where iState=" + std::to_string(state) +
         "  and  exists(select * from OM_POMain Where ID=P.ID and isnull(bUsed,0)=0 and not "
         "exists(select  * from OM_PODetails where MainID=OM_POMain.MainID and  "
         "isnull(fOutQuantity,0)>0 ) and exists(select  * from OM_PODetails where "
         "MainID=OM_POMain.MainID and  isnull(fOutQuantity,0)=0 )  )  " +
         joinAnd(where) + str(where) + issueHeaderCondition(openOnly, d);
}

std::string productZSql(std::string_view fields, int state, std::string_view where, bool openOnly,
                        const Digits& d) {
  return "select  " + str(fields) +
         "  from OM_ProductPO  P LEFT OUTER JOIN Department ON Department.cDepCode = P.cDepCode "
         "LEFT OUTER JOIN Vendor ON Vendor.cVenCode = P.cVenCode LEFT OUTER JOIN person ON "
         "person.cPersonCode = P.cPersonCode  where iState=" +
         std::to_string(state) +
         "  and exists(select * from OM_POMain where ID=P.ID and bUsed=0 and exists(select * from "
         "OM_PODetails where MainID=OM_POMain.MainID)) " +
         joinAnd(where) + str(where) + issueHeaderCondition(openOnly, d);
}

// ---- product-line queries

std::string receiptLineCondition(bool openOnly, const Digits& d) {
  if (openOnly) {
    return std::string(" and ") + " ( " +
           " ( isnull(om_pomain.bcheck,0)=0 and ( "
           "round(isnull(om_pomain.fquantity,0)-isnull(om_pomain.finquantity,0)," +
           d.quantity + ")>0   or  round(isnull(om_pomain.fnum,0)-isnull(om_pomain.finnum,0)," +
           d.number + ")>0 )  )  " + " or " + str(kLineInspection) +
           " and "
           "round(isnull(qm_ncheckvouchers.fhgquantity,0)-isnull(qm_ncheckvouchers.fhginquantity,"
           "0)," +
           d.quantity + ")>0 ) " + " ) ";
  }
  return std::string(" and ") + " ( " + " ( isnull(om_pomain.bcheck,0)=0  ) " + " or " +
         str(kLineInspection) + "  ) " + " ) ";
}

std::string concessionLineCondition(bool openOnly, bool zgInstal, const Digits& d) {
  std::string c = std::string(" and ") +
                  " ( qm_ncheckvoucher.csourcecardnumber='OM02' and  "
                  "qm_ncheckvoucher.cvouchtype='QM16' and isnull(qm_ncheckvoucher.cverifier,'') "
                  "<>''and isnull(om_pomain.bcheck,0)=1 and "
                  "(isnull(qm_ncvreject.fybjsquantity,0)>0 or isnull(qm_ncvreject.fybjsnum,0)>0) "
                  ") ";
  if (openOnly && zgInstal) {
    c += " and  ( "
         "round(isnull(qm_ncvreject.fybjsquantity,0)-isnull(qm_ncvreject.fybjsinquantity,0)," +
         d.quantity +
         ")>0 or  round(isnull(qm_ncvreject.fybjsnum,0)-isnull(qm_ncvreject.fybjsinnum,0)," +
         d.number + ")>0) ";
  }
  return c;
}

std::string issueLineCondition(bool openOnly, const Digits& d) {
  if (!openOnly) return " ";
  return " and mainid in (select mainid from OM_podetails where  "
         "(round(isnull(fquantity,0)-isnull(foutquantity,0)," +
         d.quantity + ")>0 or round(isnull(fnum,0)-isnull(foutnum,0)," + d.number + ")>0) ) ";
}

std::string poMainSql(const LineQuery& q, bool inNeedOut) {
  const std::string lines =
      linesOfOrders(q) + receiptLineCondition(q.openOnly, q.digits) + str(kClose);
  std::string sql =
      "select " + q.fields + str(kLineFrom) +
      " LEFT OUTER JOIN  computationunit computationunit2 on computationunit2.ccomunitcode = "
      "om_pomain.cunitid  " +
      str(kInspectionJoins) +
      " left outer join (select (case when isnull(om_pomain.bcheck, 0) = 0 then "
      "isnull(OM_POMain.fQuantity, 0) else isnull(qm_ncheckvouchers.fhgquantity, 0) end) as "
      "fQuantity," +
      " (case when isnull(om_pomain.bcheck, 0) = 0 then isnull(OM_POMain.fnum, 0) else "
      "isnull(qm_ncheckvouchers.fhgnum, 0) end) as fnum," +
      "(case when isnull(om_pomain.bcheck, 0) = 0 then isnull(OM_POMain.fInquantity, 0) else "
      "isnull(qm_ncheckvouchers.fhginquantity, 0) end) as fInquantity," +
      "(case when isnull(om_pomain.bcheck, 0) = 0 then isnull(OM_POMain.fInNum, 0) else "
      "isnull(qm_ncheckvouchers.fhginNum, 0) end) as fInNum," +
      "om_pomain.mainid,qm_ncheckvouchers.autoid from om_pomain " + str(kInspectionJoins) + lines +
      " ) m on m.mainid = om_pomain.mainid and (m.autoid is null or m.autoid = "
      "qm_ncheckvouchers.autoid) " +
      " inner join om_productPo on om_pomain.id = om_ProductPo.ID " +
      " left join venandinv on om_pomain.cinvcode = venandinv.cinvcode and om_ProductPo.cvencode = "
      "venandinv.cvencode " +
      " left outer join OM_ProductPO_V on OM_ProductPO_V.mainid = OM_POMain.mainid " + lines;
  if (inNeedOut) {
    sql +=
        " AND ( om_pomain.mainid IN ( SELECT mainid FROM om_pomain WHERE mainid IN ( SELECT mainid "
        "FROM om_podetails WHERE ISNULL ( foutquantity ,0 ) >0 ) ) OR om_pomain.mainid IN ( SELECT "
        "mainid FROM om_podetails WHERE ISNULL ( wiptype ,3 ) = 1 ) ) ";
  }
  return sql;
}

std::string ybjsPoMainSql(const LineQuery& q, bool zgInstal) {
  return "select " + q.fields + str(kLineFrom) +
         " left outer join qm_ncheckvouchers on om_pomain.mainid=qm_ncheckvouchers.isourceautoid "
         " " +
         " left outer join qm_ncheckvoucher on qm_ncheckvouchers.id=qm_ncheckvoucher.id " +
         " left outer join qm_ncvreject on qm_ncheckvouchers.irejid=qm_ncvreject.id  left outer "
         "join (select isnull(qm_ncvreject.fybjsquantity, 0) as "
         "fQuantity,isnull(qm_ncvreject.fybjsinquantity, 0) as fInquantity," +
         "isnull(qm_ncvreject.fybjsNum, 0) as fNum,isnull(qm_ncvreject.fybjsinNum, 0) as fInNum," +
         "qm_ncvreject.id from qm_ncvreject) M on qm_ncvreject.ID = M.id " +
         " inner join om_productPo on om_pomain.id = om_ProductPo.ID " +
         " LEFT OUTER JOIN  ComputationUnit as computationunit2 on OM_POMain.cunitid = "
         "computationunit2.ccomunitcode" +
         " left join venandinv on om_pomain.cinvcode = venandinv.cinvcode and "
         "om_ProductPo.cvencode = venandinv.cvencode " +
         " left outer join OM_ProductPO_V on OM_ProductPO_V.mainid = OM_POMain.mainid " +
         linesOfOrders(q) + concessionLineCondition(q.openOnly, zgInstal, q.digits) + str(kClose);
}

std::string poMainZSql(const LineQuery& q) {
  return "select " + q.fields + str(kLineFrom) + " where (id in " + q.ids +
         " and bUsed=0  and  exists(select * from OM_PODetails where "
         "OM_PODetails.MainID=OM_POMain.MainID) and  ID in (select ID from OM_ProductPO where "
         "iState=" +
         std::to_string(q.state) + ")  " + joinAnd(q.extra) + q.extra +
         issueLineCondition(q.openOnly, q.digits) + str(kClose) + " )";
}

std::string poMainXSql(const LineQuery& q, CostObjects costObjects) {
  const std::string tail = ") " + joinAnd(q.extra) + q.extra +
                           issueLineCondition(q.openOnly, q.digits) + str(kClose) + " )";
  const std::string state = std::to_string(q.state);
  // The suite's statement names fitem twice without telling them apart, which no engine can
  // resolve. The cross-joined copy is the cost-object class: it is named fitem99 here and the
  // class-99 test asks for that class to exist. Everything else is as the suite writes it.
  const std::string costObjectClass =
      " and fitem99.cItem_class='99' and not exists(select * from OM_PODetails where "
      "OM_PODetails.MainID=OM_POMain.MainID and isnull(OM_PODetails.fOutQuantity,0)>0) and "
      "bUsed=0 and ID in (select ID from OM_ProductPO where iState=";
  switch (costObjects) {
    case CostObjects::SpreadNotByFree:
      return "select " + q.fields + str(kLineFrom) +
             " left  join fitemss99 on OM_POMain.cinvcode=fitemss99.cpspcode , fitem fitem99 "
             "where (id in " +
             q.ids + costObjectClass + state + tail;
    case CostObjects::SpreadByFree: {
      // A free item left empty on the order line matches any value of the structure row.
      auto freeItem = [](int i) {
        const std::string n = std::to_string(i);
        return " and (isnull(OM_POMain.cfree" + n + ",'')='' or isnull(OM_POMain.cfree" + n +
               ",'')=isnull(P.cfree" + n + ",''))";
      };
      std::string structure = "on OM_POMain.cinvcode=P.cpspcode";
      for (int i = 1; i <= 5; ++i) structure += freeItem(i);
      structure += " ";
      for (int i = 6; i <= 10; ++i) structure += freeItem(i);
      structure += " , ";
      return "select " + q.fields + str(kLineFrom) +
             "left join (productstructure P inner join fitemss99 on cautoid=iautoid) " + structure +
             "fitem fitem99 where (id in " + q.ids + costObjectClass + state + tail;
    }
    case CostObjects::Missing:
      break;
  }
  return "select " + q.fields + str(kLineFrom) + " where (id in " + q.ids +
         "   and not exists(select * from OM_PODetails where OM_PODetails.MainID=OM_POMain.MainID "
         "and isnull(OM_PODetails.fOutQuantity,0)>0) and bUsed=0 and  ID in (select ID from "
         "OM_ProductPO where iState=" +
         state + ")  " + joinAnd(q.extra) + q.extra + issueLineCondition(q.openOnly, q.digits) +
         str(kClose) + " )";
}

// ---- material lines

std::string materialStateProbe(std::string_view mainIds) {
  return " select iState from OM_ProductPO where ID in (select ID from OM_POMain where mainid in " +
         str(mainIds) + ")";
}

std::string materialUsedProbe(std::string_view mainIds) {
  return " select bUsed from OM_POMain where MainID in " + str(mainIds);
}

std::string materialExtraCondition(std::string_view inventoryFilter) {
  constexpr std::string_view kLinePrefix =
      "OM_POMain.cInvCode in ( select II.cInvCode From Inventory II where II.cInvCode = cInvCode "
      "and II.iid IN(";
  constexpr std::string_view kMaterialPrefix =
      "p.cInvCode in ( select II.cInvCode From Inventory II where II.cInvCode = cInvCode and "
      "II.iid IN(";
  // The filter is written "OM_POmain...": the prefix is found whatever its case.
  if (inventoryFilter.size() >= kLinePrefix.size() &&
      automation::equalsNoCase(inventoryFilter.substr(0, kLinePrefix.size()), kLinePrefix)) {
    return str(kMaterialPrefix) + str(inventoryFilter.substr(kLinePrefix.size()));
  }
  return str(inventoryFilter);
}

std::string materialSql(std::string_view fields, std::string_view mainIds,
                        std::string_view extraCondition, bool openOnly, const Digits& d) {
  const std::string fout =
      std::string(
          " left outer join ( select (isnull(OM_PODetails.fQuantity, 0) - "
          "isnull(OM_PODetails.fOutQuantity, 0)) as iCurOutQuantity,") +
      " case when igrouptype =0 then 0 when igrouptype =  1  then (isnull(OM_PODetails.fQuantity, "
      "0) - isnull(OM_PODetails.fOutQuantity, 0))/ichangrate when igrouptype =2 and  "
      "isnull(OM_PODetails.fnum, 0) > isnull(OM_PODetails.fOutnum, 0)  then "
      "(isnull(OM_PODetails.fnum, 0) - isnull(OM_PODetails.fOutnum, 0)) end as iCurOutNum, " +
      " case when igrouptype =0 then 0 when igrouptype =  1  then  isnull(OM_PODetails.fquantity, "
      "0)/ichangrate when igrouptype =2    then ( isnull(OM_PODetails.fnum, 0)) end as fnum, " +
      " case when igrouptype =0 then 0 when igrouptype =  1  then  "
      "isnull(OM_PODetails.fOutQuantity, 0)/ichangrate when igrouptype =2    then ( "
      "isnull(OM_PODetails.fOutnum, 0)) end as fOutnum, " +
      // The rate is a number, or NULL where the unit group has none: a text among the numbers
      // would make every row's rate a text on an engine that gives a CASE one type.
      " case  when igrouptype =0 then NULL  when igrouptype =2 and  (isnull(OM_PODetails.fnum, 0) "
      "- "
      "isnull(OM_PODetails.fOutnum, 0))>0 then " +
      " (isnull(OM_PODetails.fQuantity, 0) - isnull(OM_PODetails.fOutQuantity, "
      "0))/(isnull(OM_PODetails.fnum, 0) - isnull(OM_PODetails.fOutnum, 0)) " +
      " when igrouptype =1 then ichangrate else  NULL end  as iinvexchrate, " +
      " SubID from OM_PODetails    left join inventory i on OM_PODetails.cinvcode=i.cinvcode left "
      "join ComputationUnit c on OM_PODetails.cunitid=c.ccomunitcode) FOUT on FOUT.SubID = "
      "p.SubID   ";
  const std::string open =
      openOnly ? "  and  (round(isnull(P.fquantity,0) - isnull(P.foutQuantity,0)," + d.quantity +
                     ")>0  or  round(isnull(fout.fnum,0)-isnull(fout.foutnum,0)," + d.number +
                     ")>0   )  "
               : std::string(" ");
  std::string extra;
  if (!automation::Trim(extraCondition).empty()) extra = " And  " + str(extraCondition);
  return "SELECT " + str(fields) +
         " FROM OM_PODetails  P LEFT OUTER JOIN      OM_POMain PM ON P.MainID = PM.MainId LEFT "
         "OUTER JOIN      Inventory d ON d.cInvCode = P.cInvCode LEFT OUTER JOIN      "
         "ComputationUnit ON       d.cComUnitCode = ComputationUnit.cComunitCode LEFT OUTER JOIN "
         "     Warehouse W ON W.cWhCode = P.cwhcode LEFT OUTER JOIN      Department De ON "
         "De.cDepCode = P.cdepcode LEFT OUTER JOIN fitem ON  P.citem_class = fitem.citem_class " +
         fout + " where  isnull(P.wiptype,3)=3 AND P.MainID in " + str(mainIds) + " " + extra +
         open + " order by P.cWhCode,P.cInvCode ";
}

// ---- the order of each line

std::optional<std::string> lineOrdersSql(const std::vector<std::string>& headIds) {
  std::string ids;
  for (const std::string& key : headIds) {
    const auto value = automation::parseNumericText(automation::Trim(key));
    if (!value) continue;
    if (!ids.empty()) ids += ",";
    ids += literal(*value);
  }
  if (ids.empty()) return std::nullopt;
  return "SELECT MainID, ID FROM OM_POMain WHERE ID IN (" + ids + ")";
}

}  // namespace quillon::dialogs::ww_produce_order
