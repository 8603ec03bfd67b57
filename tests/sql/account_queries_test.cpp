// The statements the library's services build, with concrete values, run on the test schema.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "automation/com_error.h"
#include "sql/database.h"
#include "test_schema.h"

namespace quillon::sql {
namespace {

using testing::rows;
using testing::scalar;

std::string sorted(const std::string& rowText) {
  std::vector<std::string> parts;
  std::stringstream in(rowText);
  std::string part;
  while (std::getline(in, part, ';')) parts.push_back(part);
  std::sort(parts.begin(), parts.end());
  std::string out;
  for (const auto& p : parts) out += (out.empty() ? "" : ";") + p;
  return out;
}

class AccountQueries : public ::testing::Test {
 protected:
  void SetUp() override {
    db = Database::open(":memory:");
    testing::createAccountSchema(*db);
  }
  std::unique_ptr<Database> db;
  const std::string Q = "2";  // quantity decimals
  const std::string N = "2";  // piece-count decimals
};

TEST_F(AccountQueries, AccountParameterAndLookups) {
  const auto parameter = [](const std::string& name, const std::string& sys) {
    return "select isnull(cValue,isnull(cDefault,'')) as cValue from accinformation where cname='" +
           name + "' and csysid = '" + sys + "'";
  };
  EXPECT_EQ(scalar(*db, parameter("bBOMSpreadNotByFree", "st")), "1");
  EXPECT_EQ(scalar(*db, parameter("bOMInNeedOut", "om")), "false");
  EXPECT_EQ(scalar(*db, parameter("NoSuchParameter", "om")), "<no row>");

  const std::string t = "0";
  const std::string vendor = "SELECT * FROM Vendor WHERE (cVencode LIKE '%" + t + "%'" +
                             " OR cVenName LIKE '%" + t + "%')" + " AND cVencode IN(" + "'V02'" +
                             ")";
  EXPECT_EQ(rows(*db, vendor), "V02|乙供应商");
  const std::string dept = "SELECT * FROM department WHERE bdepend = 1 AND (cDepcode LIKE '%" +
                           std::string("d") + "%'" + " OR cDepName LIKE '%" + "d" + "%')";
  EXPECT_EQ(rows(*db, dept), "D01|一车间|1");
  const std::string inv = "SELECT * FROM Inventory WHERE (cInvCode LIKE '%" + std::string("材料") +
                          "%'" + " OR cInvAddCode LIKE '%" + "材料" + "%'" +
                          " OR cInvName LIKE '%" + "材料" + "%')" + " AND iID IN(" + "3,5" + ")";
  EXPECT_EQ(sorted(rows(*db, inv + " ")),
            "M1|M1|材料一|NULL|U1|0|3|02;M3|M3|材料三|NULL|U2|1|5|0201");
}

TEST_F(AccountQueries, OrderConditionsAndRereadBeforeOrderBy) {
  const std::string deptCondition =
      std::string(
          "( (cDepCode IN ( Select cDepCode From Department DD where DD.cDepCode = cDepCode and "
          "DD.bDepEnd = 1) ) ") +
      "OR ISNULL(cDepCode, '') = '' ) ";
  const std::string source =
      "select ID, cCode from OM_ProductPO where " + deptCondition + " ORDER BY cCode desc";
  EXPECT_EQ(rows(*db, source), "3|WW003;2|WW002;1|WW001");
  // Re-reading the marked rows inserts the key condition before " order by ".
  const std::string lower = [&] {
    std::string s = source;
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  }();
  const auto at = lower.find(" order by ");
  ASSERT_NE(at, std::string::npos);
  const std::string reread =
      source.substr(0, at + 1) + " AND  " + "id IN (1,3)" + " " + source.substr(at + 1);
  EXPECT_EQ(rows(*db, reread), "3|WW003;1|WW001");
}

// The header queries of the outsourced-order dialog.
class OutsourcedHeaders : public AccountQueries {
 protected:
  const std::string fields =
      "P.ID, P.cCode, P.dDate, Vendor.cVenName, Department.cDepName, person.cPersonName";
  const std::string W =
      "( (P.cDepCode IN ( Select P.cDepCode From Department DD where DD.cDepCode = P.cDepCode and "
      "DD.bDepEnd = 1) ) OR ISNULL(P.cDepCode, '') = '' )  and P.cVenCode = 'V01'";
  const std::string J = " AND ";
  const std::string state = "2";
};

TEST_F(OutsourcedHeaders, ReceiptConcessionAndIssueHeaders) {
  const std::string e1 =
      " and  (  (isnull(m.bcheck,0)=0  AND ( round( ISNULL ( m.fquantity ,0 ) -isnull ( "
      "m.finquantity ,0 ) ," +
      Q + " ) >0 OR round( ISNULL ( m.fnum ,0 ) - round( isnull ( m.finnum ,0 )," + N + " ) ," + N +
      " ) >0 ) )" + " or " + " (isnull(m.bcheck,0)=1 and p.id in " +
      " (select om_pomain.id from om_pomain left outer join qm_ncheckvouchers on "
      "om_pomain.mainid=qm_ncheckvouchers.isourceautoid left outer join qm_ncheckvoucher on "
      "qm_ncheckvouchers.id=qm_ncheckvoucher.id " +
      " where qm_ncheckvoucher.csourcecardnumber='OM02' and qm_ncheckvoucher.cvouchtype='QM16' and "
      "isnull(qm_ncheckvoucher.cverifier,'')<>'' and isnull(qm_ncheckvouchers.fhgquantity,0)>0 and "
      "round(isnull(qm_ncheckvouchers.fhgquantity,0)-isnull(qm_ncheckvouchers.fhginquantity,0)," +
      Q + ")>0) ) " + " ) ";
  const std::string product1 = "select distinct " + fields +
                               "  from OM_ProductPO P left outer join om_pomain m on p.id = m.id "
                               "LEFT OUTER JOIN Department ON "
                               "Department.cDepCode = P.cDepCode LEFT OUTER JOIN Vendor ON "
                               "Vendor.cVenCode = P.cVenCode LEFT OUTER JOIN "
                               "person ON person.cPersonCode = P.cPersonCode   where iState=" +
                               state + " " + J + W + e1;
  EXPECT_EQ(rows(*db, product1), "1|WW001|2024-03-01|甲供应商|一车间|张三");
  EXPECT_EQ(rows(*db, "select * from accinformation where cname='bOMInNeedOut' and cvalue='true'"),
            "");
  // With the option set the extra condition keeps the order: its line 10 has issued materials.
  const std::string needOut =
      product1 +
      " and (m.id in (select id from OM_pomain where MainID in (select MainID from OM_PODetails "
      "where "
      "isnull(fOutQuantity,0)>0)) " +
      " or m.MainID in(select MainID From OM_PODetails Where IsNull(WipType, 3) = 1))";
  EXPECT_EQ(rows(*db, needOut), "1|WW001|2024-03-01|甲供应商|一车间|张三");
  // Re-reading the marked header for OK: the header column list replaces the field list.
  const std::string parent = "select distinct P.ID, P.cCode, Vendor.cVenName, P.cVenCode " +
                             product1.substr(product1.find(fields) + fields.size()) + " AND " +
                             "p.id" + " IN (" + "1" + ")";
  EXPECT_EQ(rows(*db, parent), "1|WW001|甲供应商|V01");

  const std::string e2 =
      " and  (  (isnull(m.bcheck,0)=1 and p.id in  (select om_pomain.id from om_pomain left outer "
      "join "
      "qm_ncheckvouchers on om_pomain.mainid=qm_ncheckvouchers.isourceautoid left outer join "
      "qm_ncheckvoucher on "
      "qm_ncheckvouchers.id=qm_ncheckvoucher.id left outer join qm_ncvreject on "
      "qm_ncheckvouchers.irejid=qm_ncvreject.id  where qm_ncheckvoucher.csourcecardnumber='OM02' "
      "and "
      "qm_ncheckvoucher.cvouchtype='QM16' and isnull(qm_ncheckvoucher.cverifier,'')<>'' and "
      "isnull(qm_ncvreject.fybjsquantity,0)<>0 and "
      "round(isnull(qm_ncvreject.fybjsquantity,0)-isnull(qm_ncvreject.fybjsinquantity,0)," +
      Q + ")>0) )  ) ";
  const std::string ybjs = "select distinct " + fields +
                           "  from OM_ProductPO P LEFT OUTER JOIN Department ON "
                           "Department.cDepCode = P.cDepCode LEFT OUTER JOIN Vendor "
                           "ON Vendor.cVenCode = P.cVenCode LEFT OUTER JOIN person ON "
                           "person.cPersonCode = P.cPersonCode  left outer "
                           "join om_pomain m on p.id=m.id  where iState=" +
                           state + " " + J + W + e2;
  EXPECT_EQ(rows(*db, ybjs), "1|WW001|2024-03-01|甲供应商|一车间|张三");

  const std::string e3 =
      " and id in (select distinct id from OM_pomain where mainid in (select distinct mainid from "
      "OM_podetails where "
      "round(isnull(fquantity,0)-isnull(foutquantity,0)," +
      Q + ")>0 or round(isnull(fnum,0)-isnull(foutnum,0)," + Q + ")>0) )";
  const std::string productZ = "select  " + fields +
                               "  from OM_ProductPO  P LEFT OUTER JOIN Department ON "
                               "Department.cDepCode = P.cDepCode LEFT OUTER JOIN "
                               "Vendor ON Vendor.cVenCode = P.cVenCode LEFT OUTER JOIN person ON "
                               "person.cPersonCode = P.cPersonCode  where "
                               "iState=" +
                               state +
                               "  and exists(select * from OM_POMain where ID=P.ID and bUsed=0 and "
                               "exists(select * from OM_PODetails where "
                               "MainID=OM_POMain.MainID)) " +
                               "" + "" + e3;
  EXPECT_EQ(rows(*db, productZ), "1|WW001|2024-03-01|甲供应商|一车间|张三");
  const std::string productX =
      "select  P.ID, P.cCode  from OM_ProductPO P  where iState=" + state +
      "  and  exists(select * from OM_POMain Where ID=P.ID and isnull(bUsed,0)=0 and not "
      "exists(select  * from "
      "OM_PODetails where MainID=OM_POMain.MainID and  isnull(fOutQuantity,0)>0 ) and "
      "exists(select  * from "
      "OM_PODetails where MainID=OM_POMain.MainID and  isnull(fOutQuantity,0)=0 )  )  " +
      J + "P.cCode = 'WW001'" + e3;
  EXPECT_EQ(rows(*db, productX), "1|WW001");
}

class OutsourcedLines : public AccountQueries {
 protected:
  const std::string ids = "(1)";
  const std::string state = "2";
  const std::string close = " and (OM_POMain.cclose='' or OM_POMain.cclose is null) ";
  const std::string X =
      "OM_POmain.cInvCode in ( select II.cInvCode From Inventory II where II.cInvCode = cInvCode "
      "and II.iid "
      "IN(1,2))";
  const std::string JX = " AND ";
  const std::string units =
      " from  OM_POMain LEFT OUTER JOIN fitem on fitem.cItem_Class=OM_POMain.cItem_Class LEFT "
      "OUTER JOIN  "
      "Inventory  ON Inventory.cInvCode = OM_POMain.cInvCode LEFT OUTER JOIN  computationUnit ON "
      "Inventory.cComUnitCode =   computationUnit.cComunitCode ";
  std::string c3() const {
    return " and mainid in (select mainid from OM_podetails where  "
           "(round(isnull(fquantity,0)-isnull(foutquantity,0)," +
           Q + ")>0 or round(isnull(fnum,0)-isnull(foutnum,0)," + N + ")>0) ) ";
  }
};

TEST_F(OutsourcedLines, ReceiptProductLines) {
  const std::string fields =
      "OM_POMain.MainID, OM_POMain.cInvCode, Inventory.cInvName, M.fQuantity, M.fInquantity, "
      "qm_ncheckvouchers.autoid as ichkautoid";
  const std::string checks =
      " left outer join qm_ncheckvouchers on om_pomain.mainid=qm_ncheckvouchers.isourceautoid and "
      "(isnull(om_pomain.bcheck,0)=1)  " +
      std::string(" left outer join qm_ncheckvoucher on qm_ncheckvouchers.id=qm_ncheckvoucher.id ");
  const std::string c1 =
      " and  (  ( isnull(om_pomain.bcheck,0)=0 and ( "
      "round(isnull(om_pomain.fquantity,0)-isnull(om_pomain.finquantity,0)," +
      Q + ")>0   or  round(isnull(om_pomain.fnum,0)-isnull(om_pomain.finnum,0)," + N +
      ")>0 )  )  " + " or " +
      " ( qm_ncheckvoucher.csourcecardnumber='OM02' and  qm_ncheckvoucher.cvouchtype='QM16' and "
      "isnull(qm_ncheckvoucher.cverifier,'') <>''and isnull(om_pomain.bcheck,0)=1 and  "
      "isnull(qm_ncheckvouchers.fhgquantity,0)>0 and "
      "round(isnull(qm_ncheckvouchers.fhgquantity,0)-isnull(qm_ncheckvouchers.fhginquantity,0)," +
      Q + ")>0 ) " + " ) ";
  const std::string where =
      " where om_pomain.id in " + ids +
      " and  om_pomain.ID in (select ID from OM_ProductPO where iState= " + state + ")  " + JX + X +
      c1 + close;
  const std::string sql =
      "select " + fields + units +
      " LEFT OUTER JOIN  computationunit computationunit2 on computationunit2.ccomunitcode = "
      "om_pomain.cunitid  " +
      checks +
      " left outer join (select (case when isnull(om_pomain.bcheck, 0) = 0 then "
      "isnull(OM_POMain.fQuantity, 0) "
      "else isnull(qm_ncheckvouchers.fhgquantity, 0) end) as fQuantity," +
      " (case when isnull(om_pomain.bcheck, 0) = 0 then isnull(OM_POMain.fnum, 0) else "
      "isnull(qm_ncheckvouchers.fhgnum, 0) end) as fnum," +
      "(case when isnull(om_pomain.bcheck, 0) = 0 then isnull(OM_POMain.fInquantity, 0) else "
      "isnull(qm_ncheckvouchers.fhginquantity, 0) end) as fInquantity," +
      "(case when isnull(om_pomain.bcheck, 0) = 0 then isnull(OM_POMain.fInNum, 0) else "
      "isnull(qm_ncheckvouchers.fhginNum, 0) end) as fInNum," +
      "om_pomain.mainid,qm_ncheckvouchers.autoid from om_pomain " + checks + where +
      " ) m on m.mainid = om_pomain.mainid and (m.autoid is null or m.autoid = "
      "qm_ncheckvouchers.autoid) " +
      " inner join om_productPo on om_pomain.id = om_ProductPo.ID " +
      " left join venandinv on om_pomain.cinvcode = venandinv.cinvcode and om_ProductPo.cvencode = "
      "venandinv.cvencode " +
      " left outer join OM_ProductPO_V on OM_ProductPO_V.mainid = OM_POMain.mainid " + where;
  EXPECT_EQ(sorted(rows(*db, sql)),
            "10|P100|成品一|100|40|NULL;12|P101|成品二|30|10|500;13|P100|成品一|10|0|NULL");

  // OK re-reads the marked line through the part after the field list.
  const std::string sub = "select OM_POMain.MainID, '' as iCurQuantity " +
                          sql.substr(sql.find(fields) + fields.size()) + " AND " +
                          "(  om_pomain.mainid='12'  and " + "  qm_ncheckvouchers.autoid='500'  ) ";
  EXPECT_EQ(rows(*db, sub), "12|");
}

TEST_F(OutsourcedLines, ConcessionAndIssueProductLines) {
  const std::string c2 =
      " and  ( qm_ncheckvoucher.csourcecardnumber='OM02' and  qm_ncheckvoucher.cvouchtype='QM16' "
      "and "
      "isnull(qm_ncheckvoucher.cverifier,'') <>''and isnull(om_pomain.bcheck,0)=1 and "
      "(isnull(qm_ncvreject.fybjsquantity,0)>0 or isnull(qm_ncvreject.fybjsnum,0)>0) ) ";
  const std::string ybjs =
      "select OM_POMain.MainID, M.fQuantity, M.fInquantity, qm_ncvreject.id as irejid" + units +
      " left outer join qm_ncheckvouchers on om_pomain.mainid=qm_ncheckvouchers.isourceautoid  " +
      " left outer join qm_ncheckvoucher on qm_ncheckvouchers.id=qm_ncheckvoucher.id " +
      " left outer join qm_ncvreject on qm_ncheckvouchers.irejid=qm_ncvreject.id  left outer join "
      "(select "
      "isnull(qm_ncvreject.fybjsquantity, 0) as fQuantity,isnull(qm_ncvreject.fybjsinquantity, 0) "
      "as fInquantity," +
      "isnull(qm_ncvreject.fybjsNum, 0) as fNum,isnull(qm_ncvreject.fybjsinNum, 0) as fInNum," +
      "qm_ncvreject.id from qm_ncvreject) M on qm_ncvreject.ID = M.id " +
      " inner join om_productPo on om_pomain.id = om_ProductPo.ID " +
      " LEFT OUTER JOIN  ComputationUnit as computationunit2 on OM_POMain.cunitid = "
      "computationunit2.ccomunitcode" +
      " left join venandinv on om_pomain.cinvcode = venandinv.cinvcode and om_ProductPo.cvencode = "
      "venandinv.cvencode " +
      " left outer join OM_ProductPO_V on OM_ProductPO_V.mainid = OM_POMain.mainid " +
      " where om_pomain.id in " + ids +
      " and  om_pomain.ID in (select ID from OM_ProductPO where iState= " + state + ")  " + JX + X +
      c2 +
      " and  ( round(isnull(qm_ncvreject.fybjsquantity,0)-isnull(qm_ncvreject.fybjsinquantity,0)," +
      Q + ")>0 or  round(isnull(qm_ncvreject.fybjsnum,0)-isnull(qm_ncvreject.fybjsinnum,0)," + N +
      ")>0) " + close;
  EXPECT_EQ(rows(*db, ybjs), "12|5|2|900");

  const std::string xz =
      "om_pomain.cInvCode in ( select II.cInvCode From Inventory II where II.cInvCode = cInvCode "
      "and II.iid "
      "IN(1,2))";
  const std::string z = "select OM_POMain.MainID, OM_POMain.cInvCode, Inventory.cInvName" + units +
                        " where (id in " + ids +
                        " and bUsed=0  and  exists(select * from OM_PODetails where "
                        "OM_PODetails.MainID=OM_POMain.MainID) and  ID in (select ID from "
                        "OM_ProductPO where iState=" +
                        state + ")  " + JX + xz + c3() + close + " )";
  EXPECT_EQ(sorted(rows(*db, z)), "10|P100|成品一;13|P100|成品一");

  const std::string probe =
      "select count(*) as myNum from sysobjects where id = object_id(N'[dbo].[fitemss99]') and "
      "OBJECTPROPERTY(id, "
      "N'IsUserTable') = 1";
  EXPECT_EQ(scalar(*db, probe), "0");
  const std::string x3 =
      "select OM_POMain.MainID" + units + " where (id in " + ids +
      "   and not exists(select * from OM_PODetails where OM_PODetails.MainID=OM_POMain.MainID and "
      "isnull(OM_PODetails.fOutQuantity,0)>0) and bUsed=0 and  ID in (select ID from OM_ProductPO "
      "where iState=" +
      state + ")  " + JX + X + c3() + close + " )";
  EXPECT_EQ(rows(*db, x3), "13");
  db->execute("create table fitemss99 (cpspcode varchar(20), iautoid int)");
  EXPECT_EQ(scalar(*db, probe), "1");
}

TEST_F(OutsourcedLines, MaterialLinesAndTheirChecks) {
  EXPECT_EQ(scalar(*db,
                   " select iState from OM_ProductPO where ID in (select ID from OM_POMain where "
                   "mainid in (10))"),
            "2");
  EXPECT_EQ(scalar(*db,
                   " select iState from OM_ProductPO where ID in (select ID from OM_POMain where "
                   "mainid in (20))"),
            "3");
  EXPECT_EQ(scalar(*db, " select bUsed from OM_POMain where MainID in (10)"), "0");

  const std::string fout =
      " left outer join ( select (isnull(OM_PODetails.fQuantity, 0) - "
      "isnull(OM_PODetails.fOutQuantity, 0)) as "
      "iCurOutQuantity," +
      std::string(
          " case when igrouptype =0 then 0 when igrouptype =  1  then "
          "(isnull(OM_PODetails.fQuantity, 0) - "
          "isnull(OM_PODetails.fOutQuantity, 0))/ichangrate when igrouptype =2 and  "
          "isnull(OM_PODetails.fnum, 0) > "
          "isnull(OM_PODetails.fOutnum, 0)  then (isnull(OM_PODetails.fnum, 0) - "
          "isnull(OM_PODetails.fOutnum, 0)) "
          "end as iCurOutNum, ") +
      " case when igrouptype =0 then 0 when igrouptype =  1  then  isnull(OM_PODetails.fquantity, "
      "0)/ichangrate when "
      "igrouptype =2    then ( isnull(OM_PODetails.fnum, 0)) end as fnum, " +
      " case when igrouptype =0 then 0 when igrouptype =  1  then  "
      "isnull(OM_PODetails.fOutQuantity, 0)/ichangrate "
      "when igrouptype =2    then ( isnull(OM_PODetails.fOutnum, 0)) end as fOutnum, " +
      " case  when igrouptype =0 then ''  when igrouptype =2 and  (isnull(OM_PODetails.fnum, 0) - "
      "isnull(OM_PODetails.fOutnum, 0))>0 then " +
      " (isnull(OM_PODetails.fQuantity, 0) - isnull(OM_PODetails.fOutQuantity, "
      "0))/(isnull(OM_PODetails.fnum, 0) - "
      "isnull(OM_PODetails.fOutnum, 0)) " +
      " when igrouptype =1 then ichangrate else  '' end  as iinvexchrate, " +
      " SubID from OM_PODetails    left join inventory i on OM_PODetails.cinvcode=i.cinvcode left "
      "join "
      "ComputationUnit c on OM_PODetails.cunitid=c.ccomunitcode) FOUT on FOUT.SubID = p.SubID   ";
  const std::string extra =
      "p.cInvCode in ( select II.cInvCode From Inventory II where II.cInvCode = cInvCode and "
      "II.iid IN(3,4,5))";
  const std::string c4 = "  and  (round(isnull(P.fquantity,0) - isnull(P.foutQuantity,0)," + Q +
                         ")>0  or  round(isnull(fout.fnum,0)-isnull(fout.foutnum,0)," + N +
                         ")>0   )  ";
  const std::string sql =
      "SELECT P.SubID, P.cInvCode, d.cInvName, FOUT.iCurOutQuantity, FOUT.iCurOutNum, "
      "FOUT.iinvexchrate, W.cWhName "
      "FROM OM_PODetails  P LEFT OUTER JOIN      OM_POMain PM ON P.MainID = PM.MainId LEFT OUTER "
      "JOIN      Inventory "
      "d ON d.cInvCode = P.cInvCode LEFT OUTER JOIN      ComputationUnit ON       d.cComUnitCode = "
      "ComputationUnit.cComunitCode LEFT OUTER JOIN      Warehouse W ON W.cWhCode = P.cwhcode LEFT "
      "OUTER JOIN      "
      "Department De ON De.cDepCode = P.cdepcode LEFT OUTER JOIN fitem ON  P.citem_class = "
      "fitem.citem_class " +
      fout + " where  isnull(P.wiptype,3)=3 AND P.MainID in " + "(10)" + " " + " And  " + extra +
      c4 + " order by P.cWhCode,P.cInvCode ";
  // Group type 0: no pieces; group type 2 fully issued: no open pieces, empty rate; group type 1:
  // fixed rate.
  EXPECT_EQ(
      rows(*db, sql),
      "100|M1|材料一|150|0||材料库;101|M2|材料二|80|NULL||材料库;102|M3|材料三|24|2|12|材料库");
}

TEST_F(OutsourcedLines, ChildRereadThroughTheTemporaryTable) {
  const std::string name = "#tmp417";
  db->execute("CREATE TABLE [" + name +
              "] ([tSubID] [int] NULL ,[iCurOutQuantity] [decimal](18, 6) NULL,[iCurOutNum] "
              "[decimal](18, 6) NULL ) "
              "ON [PRIMARY]");
  db->execute("insert into " + name + "(tSubID,iCurOutQuantity,iCurOutNum) values(" + "100" + "," +
              "60" + "," + "6" + ")");
  const std::string sql =
      "select OM_PODetails.SubID, OM_ProductPO.cCode, d.cInvName, " + name + ".iCurOutQuantity," +
      name + ".iCurOutNum," + " W.cWhName, d1.cinvname as cinvname1 " +
      "FROM OM_PODetails LEFT OUTER JOIN      OM_POMain PM ON OM_PODetails.MainID = PM.MainId left "
      "outer join "
      "OM_ProductPO on  OM_ProductPO.id = PM.id  LEFT OUTER JOIN      Inventory d ON d.cInvCode = "
      "OM_PODetails.cInvCode LEFT OUTER JOIN      ComputationUnit ON       d.cComUnitCode = "
      "ComputationUnit.cComunitCode LEFT OUTER JOIN      Warehouse W ON W.cWhCode = "
      "OM_PODetails.cwhcode LEFT OUTER "
      "JOIN      Department De ON De.cDepCode = OM_PODetails.cdepcode LEFT OUTER JOIN fitem ON  "
      "OM_PODetails.citem_class = fitem.citem_class LEFT OUTER JOIN  ComputationUnit as "
      "computationunit2 on "
      "OM_PODetails.cunitid = computationunit2.ccomunitcode " +
      "left join " + name + " on " + name + ".tSubID=OM_PODetails.SubID" +
      " LEFT OUTER JOIN inventory d1 ON d1.cinvcode = pm.cinvcode" + " where " + "subid" + " IN (" +
      "100,101" + ")";
  EXPECT_EQ(sorted(rows(*db, sql)),
            "100|WW001|材料一|60|6|材料库|成品一;101|WW001|材料二|NULL|NULL|材料库|成品一");
}

TEST_F(AccountQueries, WorkTablesOfTheStockSelection) {
  const std::string prefix = "PC_01_3";
  const std::string create =
      " if  exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[" + prefix +
      "_CurrentS]') and OBJECTPROPERTY(id, N'IsUserTable') = 1) drop table " + prefix +
      "_CurrentS " + "create table " + prefix +
      "_CurrentS ( AutoID int , fSumOutQ "
      "decimal(20,6),fSumOutN decimal(20,6))" +
      " insert into " + prefix + "_CurrentS select Autoid,0,0 from CurrentStock ";
  const auto update = [&](const std::string& q, const std::string& n, const std::string& id) {
    return " update " + prefix + "_CurrentS set  fSumOutQ = fSumOutQ + " + q +
           ",fSumOutN = fSumOutN + " + n + " where AutoID= " + id;
  };
  db->execute(create);
  db->execute(update("5", "0.5", "1"));
  db->execute(update("3", "0", "1"));
  EXPECT_EQ(rows(*db, "select AutoID, fSumOutQ, fSumOutN from PC_01_3_CurrentS order by AutoID"),
            "1|8|0.5;2|0|0;3|0|0");
  // The host query, rewritten to offer net quantities.
  const std::string host =
      "select currentstock.autoid, iQuantity, iNum from currentstock Where cWhCode='W1' and "
      "cInvCode='M1'";
  const std::string rewritten =
      "select currentstock.autoid, (iQuantity - IsNull(fSumOutQ, 0)), (iNum-IsNull(fSumOutN,0)) "
      "from currentstock"
      "   left join  " +
      prefix + "_CurrentS  on  " + prefix +
      "_CurrentS.autoid=currentstock.autoid where cWhCode='W1' and cInvCode='M1'";
  EXPECT_EQ(rows(*db, host), "1|100|10;2|30|3");
  EXPECT_EQ(rows(*db, rewritten), "1|92|9.5;2|30|3");
  // Creating again starts afresh with one freshly filled table.
  db->execute(create);
  EXPECT_EQ(rows(*db, "select count(*), sum(fSumOutQ) from PC_01_3_CurrentS"), "3|0");
  EXPECT_EQ(scalar(*db, "select count(*) from sysobjects where name = 'PC_01_3_CurrentS'"), "1");

  const std::string rd =
      " if  exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[" + prefix +
      "_TmpRdRecords]') and OBJECTPROPERTY(id, N'IsUserTable') = 1) drop table " + prefix +
      "_TmpRdRecords " + "create table " + prefix +
      "_TmpRdRecords ( AutoID int , fSumOutQ "
      "decimal(20,6),fSumOutN decimal(20,6))" +
      " insert into " + prefix + "_TmpRdRecords select Autoid,0,0 from rdrecords ";
  db->execute(rd);
  db->execute(rd);
  db->execute(" update " + prefix + "_TmpRdRecords set  fSumOutQ =fSumOutQ + " + "2.5" +
              ",fSumOutN =fSumOutN + " + "1" + " where AutoID= " + "2");
  EXPECT_EQ(
      rows(*db, "select AutoID, fSumOutQ, fSumOutN from PC_01_3_TmpRdRecords order by AutoID"),
      "1|0|0;2|2.5|1");

  // Dropping: the second drop fails with the engine's error.
  db->execute(" drop table " + prefix + "_CurrentS ");
  try {
    db->execute(" drop table " + prefix + "_CurrentS ");
    FAIL() << "dropping a missing table succeeded";
  } catch (const automation::ComError& e) {
    EXPECT_EQ(e.number(), -2147217900);
    EXPECT_NE(e.description().find("no such table: PC_01_3_CurrentS"), std::string::npos)
        << e.description();
  }
}

TEST_F(AccountQueries, StockRowLookupMatchesEmptyTextNotNull) {
  std::string sql = " Select AutoID from CurrentStock where cWhCode='" + std::string("W1") +
                    "' and " + " cInvCode='" + "M1" + "' and " + " cBatch='" + "";
  for (int k = 1; k <= 10; ++k) sql += "' and  cFree" + std::to_string(k) + "='" + "";
  sql += "'";
  EXPECT_EQ(rows(*db, sql), "1");
}

TEST_F(AccountQueries, WriteBackOfTrackedCounts) {
  EXPECT_EQ(rows(*db, "SELECT *  FROM RdRecords where AutoID =" + std::string("1")),
            "1|NULL|M1|10|1|4|0|2024-03-01 08:30:00");
  EXPECT_EQ(rows(*db, "SELECT *  FROM RdRecords where AutoID =" + std::string("77")), "");
  const auto write = [&](const std::string& sign) {
    return "UPDATE RdRecords SET cVouchCode ='" + std::string("1") + "'" +
           ", iSOutQuantity = iSOutQuantity " + sign + "2.5" + ", iSOutNum =  iSOutNum" + sign +
           "1" + " where AutoID = " + "1";
  };
  EXPECT_EQ(db->execute(write("+")), 1);
  EXPECT_EQ(rows(*db, "select cVouchCode, iSOutQuantity, iSOutNum from RdRecords where AutoID = 1"),
            "1|6.5|1");
  db->execute(write("-"));
  EXPECT_EQ(rows(*db, "select iSOutQuantity, iSOutNum from RdRecords where AutoID = 1"), "4|0");
  // A stock write with empty batch and free items touches every row of the warehouse and inventory.
  const std::string stock = "UPDATE CurrentStock SET iQuantity = iQuantity " + std::string("-") +
                            "3" + ", iNum = iNum " + "-" + "1" + " where " + "cWhCode = 'W1'" +
                            " and " + "cInvCode = 'M1'";
  EXPECT_EQ(db->execute(stock), 2);
  EXPECT_EQ(
      rows(*db, "select iQuantity, iNum from CurrentStock where cInvCode = 'M1' order by AutoID"),
      "97|9;27|2");
}

TEST_F(AccountQueries, ReturnInventoryTempdbTable) {
  const std::string name = "tempdb..tmp" + std::string("demo_001") + "tmp";
  const auto batch = [&](const std::vector<std::string>& codes) {
    std::string s = "if exists (select * from tempdb..sysobjects where id=object_id(N'" + name +
                    "')) drop table " + name + " create table " + name + "(id nvarchar(255))";
    for (const auto& c : codes) s += " insert into " + name + "(id) values('" + c + "') ";
    return s;
  };
  db->execute(batch({"M1", "M2"}));
  db->execute(batch({"M1", "P100", "m2"}));
  const std::string condition =
      " cInvCode in (select id from " + name + ")" + " order by cInvCode  desc ";
  EXPECT_EQ(rows(*db, "select cInvCode from Inventory where" + condition), "P100;M2;M1");
  // The table is the connection's own, not the account database's.
  EXPECT_EQ(scalar(*db, "select count(*) from sysobjects where name like 'tmpdemo%'"), "0");
}

}  // namespace
}  // namespace quillon::sql
