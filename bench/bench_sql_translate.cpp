// Translation cost of the longest statement the outsourced-order dialog builds (the receipt
// product-line query with its derived quantity table), first time and from the cache.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_runner.h"
#include "sql/translator.h"

namespace {

std::string productLineQuery() {
  const std::string Q = "2";
  const std::string N = "2";
  const std::string ids = "(1001,1002,1003,1004)";
  const std::string state = "2";
  std::string fields =
      "OM_POMain.MainID, om_productPo.cCode, OM_POMain.cInvCode, Inventory.cInvName, "
      "Inventory.cInvStd, computationUnit.cComUnitName, computationunit2.cComUnitName as cassunit, "
      "M.fQuantity, M.fInquantity, M.fnum, M.fInNum, '' as iCurQuantity, '' as iCurNum, "
      "qm_ncheckvouchers.autoid as ichkautoid, OM_POMain.dStartDate, OM_POMain.dEndDate, "
      "fitem.citem_name, OM_POMain.citemcode, OM_POMain.citem_class, venandinv.cVenInvCode";
  for (int i = 1; i <= 10; ++i) fields += ", OM_POMain.cFree" + std::to_string(i);
  for (int i = 22; i <= 37; ++i) fields += ", OM_POMain.cDefine" + std::to_string(i);
  const std::string close = " and (OM_POMain.cclose='' or OM_POMain.cclose is null) ";
  const std::string X =
      "OM_POmain.cInvCode in ( select II.cInvCode From Inventory II where II.cInvCode = cInvCode "
      "and II.iid "
      "IN(1,2,3,4,5,6,7,8,9,10))";
  const std::string JX = " AND ";
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
  return "select " + fields +
         " from  OM_POMain LEFT OUTER JOIN fitem on fitem.cItem_Class=OM_POMain.cItem_Class LEFT "
         "OUTER JOIN  "
         "Inventory  ON Inventory.cInvCode = OM_POMain.cInvCode LEFT OUTER JOIN  computationUnit "
         "ON "
         "Inventory.cComUnitCode =   computationUnit.cComunitCode " +
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
         " left join venandinv on om_pomain.cinvcode = venandinv.cinvcode and "
         "om_ProductPo.cvencode = "
         "venandinv.cvencode " +
         " left outer join OM_ProductPO_V on OM_ProductPO_V.mainid = OM_POMain.mainid " + where +
         " AND ( om_pomain.mainid IN ( SELECT mainid FROM om_pomain WHERE mainid IN ( SELECT "
         "mainid FROM om_podetails "
         "WHERE ISNULL ( foutquantity ,0 ) >0 ) ) OR om_pomain.mainid IN ( SELECT mainid FROM "
         "om_podetails WHERE "
         "ISNULL ( wiptype ,3 ) = 1 ) ) ";
}

void BM_TranslateFirstTime(benchmark::State& state) {
  const std::string sql = productLineQuery();
  quillon::sql::Translator translator;
  for (auto _ : state) {
    state.PauseTiming();
    translator.clearCache();
    state.ResumeTiming();
    benchmark::DoNotOptimize(translator.translate(sql));
  }
  state.SetLabel(std::to_string(sql.size()) + " bytes");
}
QUILLON_BENCHMARK(BM_TranslateFirstTime)->Unit(benchmark::kMicrosecond);

void BM_TranslateCached(benchmark::State& state) {
  const std::string sql = productLineQuery();
  quillon::sql::Translator translator;
  translator.translate(sql);
  for (auto _ : state) benchmark::DoNotOptimize(translator.translate(sql));
  state.SetLabel(std::to_string(sql.size()) + " bytes");
}
QUILLON_BENCHMARK(BM_TranslateCached)->Unit(benchmark::kMicrosecond);

}  // namespace

QUILLON_BENCHMARK_MAIN()
