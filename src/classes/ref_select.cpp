#include "classes/ref_select.h"

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "automation/collection.h"
#include "automation/com_error.h"
#include "automation/vb_strings.h"
#include "classes/class_kit.h"
#include "components/marlin_login.h"
#include "components/registration.h"
#include "components/session_context.h"
#include "components/suite_utility.h"
#include "dialogs/frmRefSelect/frm_ref_select.h"
#include "forms/constants.h"
#include "module/module_state.h"
#include "module/session.h"
#include "module/settings.h"
#include "module/shared_holds.h"
#include "module/work_tables.h"
#include "sql/sql_text.h"

namespace quillon::classes {

using automation::Args;
using automation::ComError;
using automation::ObjectPtr;
using automation::Variant;

RefSelect::RefSelect() = default;
RefSelect::~RefSelect() = default;

std::shared_ptr<components::SessionContext> RefSelect::openContext(const ObjectPtr& login) {
  return module::OpenContext(module::LoginArgument(login), false);
}

void RefSelect::startReference(const ObjectPtr& login, const Request& request) {
  login_ = login;
  dialog_ = std::make_shared<dialogs::frmRefSelect>();
  auto context = openContext(login);
  module::gContext = context;
  sql_ = request.sql;

  dialogs::frmRefSelect& dlg = *dialog_;
  dlg.WhCode = request.whCode;
  dlg.InvCode = request.invCode;
  dlg.Free = request.free;
  dlg.Quantity = request.quantity;
  dlg.Num = request.num;
  dlg.RefType = request.refType;
  dlg.ExchRate = request.exchRate;
  dlg.IsRedVouch = request.isRedVouch;
  dlg.MutiSel = request.mutiSel;
  dlg.RefFrom = request.refFrom;

  auto rs = std::make_shared<ado::Recordset>();
  rs->setCursorLocation(ado::adUseClient);
  rs->open(Variant(sql_), Variant(ObjectPtr(context->connection())), ado::adOpenDynamic,
           ado::adLockBatchOptimistic);
  returnData_ = rs;
}

void RefSelect::Refer(const ObjectPtr& login, const Request& request) {
  startReference(login, request);
  dialog_->DataFrom = returnData_;
  dialog_->Show(forms::vbModal);
  returnData_ = dialog_->DataFrom;
}

void RefSelect::AutoRefer(const ObjectPtr& login, const Request& request, std::string& returnErr) {
  startReference(login, request);
  // The stream round trip, which for the query's own recordset needs no copy.
  returnData_ = components::suiteUtility()->throughStream(std::move(returnData_));
  dialog_->DataFrom = returnData_;
  dialog_->FillOnLoad = false;  // AutoMatch fills the grid in the rule's order
  dialog_->Load();
  dialog_->AutoMatch(returnErr);
  dialog_->TaskRun("ok");
  returnData_ = dialog_->DataFrom;
}

namespace {

// The work table's rows are the source's own (module/work_tables.h), found by AutoID through the
// source's key. With shared holds on, the desk's holds of the kind end with the table (and a table
// made afresh starts with none).
void createOrDropWorkTable(components::SessionContext& context, module::HoldKind kind,
                           bool create) {
  const std::string prefix = module::WorkTableSuffix();
  auto& connection = *context.connection();
  if (create) {
    module::MakeWorkTable(connection, kind, prefix);
  } else {
    module::DropWorkTable(connection, kind, prefix);
  }
  if (module::SharedHoldsOn(connection)) {
    if (create) module::InstallSharedHolds(connection);
    module::ReleaseHolds(connection, kind, prefix);
  }
}

void updateWorkTable(components::SessionContext& context, module::HoldKind kind,
                     const std::string& table, const std::string& assignQ,
                     const std::string& assignN, double sumOutQ, double sumOutN,
                     std::int32_t autoId) {
  const std::string prefix = module::WorkTableSuffix();
  auto& connection = *context.connection();
  if (module::SharedHoldsOn(connection)) {
    module::TakeHold(connection, kind, prefix, prefix + table, sumOutQ, sumOutN, autoId);
    return;
  }
  connection.execute(" update " + prefix + table + " set  fSumOutQ " + assignQ +
                         sql::literal(sumOutQ) + ",fSumOutN " + assignN + sql::literal(sumOutN) +
                         " where AutoID= " + std::to_string(autoId),
                     nullptr, ado::adOptionUnspecified);
}

// Whether the rewrites net every desk's holds: the account of the current context, or the last
// account a member with a login read.
bool rewriteSharedHolds() {
  if (module::gContext) {
    auto connection = module::gContext->connection();
    if (connection && connection->isOpen()) return module::SharedHoldsOn(*connection);
  }
  return module::SharedHoldsKnown();
}

}  // namespace

void RefSelect::CreateAndDropTmpCurrentStock(const ObjectPtr& login, bool create) {
  createOrDropWorkTable(*openContext(login), module::HoldKind::Stock, create);
}

void RefSelect::CreateAndDropTmpRdrecord(const ObjectPtr& login, bool create) {
  createOrDropWorkTable(*openContext(login), module::HoldKind::Receipt, create);
}

void RefSelect::UpdateTmpCurrentStock(const ObjectPtr& login, double sumOutQ, double sumOutN,
                                      std::int32_t autoId) {
  updateWorkTable(*openContext(login), module::HoldKind::Stock, "_CurrentS", "= fSumOutQ + ",
                  "= fSumOutN + ", sumOutQ, sumOutN, autoId);
}

void RefSelect::UpdateTmpRdrecords(const ObjectPtr& login, double sumOutQ, double sumOutN,
                                   std::int32_t autoId) {
  updateWorkTable(*openContext(login), module::HoldKind::Receipt, "_TmpRdRecords", "=fSumOutQ + ",
                  "=fSumOutN + ", sumOutQ, sumOutN, autoId);
}

std::string RefSelect::GetAllBSQL(std::string& strSql) const {
  // With shared holds the join is to every live desk's sums rather than the desk's own table.
  const std::string held = rewriteSharedHolds()
                               ? std::string(module::HoldsView(module::HoldKind::Stock))
                               : module::WorkTableSuffix() + "_CurrentS";
  strSql = automation::Replace(
      strSql, "Where",
      "  left join  " + held + "  on  " + held + ".autoid=currentstock.autoid where");
  strSql = automation::Replace(strSql, "iQuantity", "(iQuantity - IsNull(fSumOutQ, 0))");
  return automation::Replace(strSql, "iNum", "(iNum-IsNull(fSumOutN,0))");
}

std::string RefSelect::GetAllRDSSQL(std::string& strSql) const {
  const std::string held = rewriteSharedHolds()
                               ? std::string(module::HoldsView(module::HoldKind::Receipt))
                               : module::WorkTableSuffix() + "_TmpRdRecords";
  strSql = automation::Replace(
      strSql, "Where", "  left join   " + held + "  on " + held + ".autoid=mainbatch.rdid where");
  strSql = automation::Replace(strSql, "abs(RdRecords.iQuantity)",
                               "abs(RdRecords.iQuantity) - IsNull(fSumOutQ, 0)");
  return automation::Replace(strSql, " abs(RdRecords.inum)",
                             " abs(RdRecords.inum)-IsNull(fSumOutN,0)");
}

std::string RefSelect::autoIdQuery(const std::string& whCode, const std::string& invCode,
                                   const std::array<std::string, 10>& free,
                                   const std::string& batch) {
  std::string sql = " Select AutoID from CurrentStock where cWhCode=" + sql::literal(whCode);
  sql += " and  cInvCode=" + sql::literal(invCode);
  sql += " and  cBatch=" + sql::literal(batch);
  for (std::size_t k = 0; k < free.size(); ++k) {
    sql += " and  cFree" + std::to_string(k + 1) + "=" + sql::literal(free[k]);
  }
  return sql;
}

std::int32_t RefSelect::GetAutoID(const ObjectPtr& login, const std::string& whCode,
                                  const std::string& invCode,
                                  const std::array<std::string, 10>& free,
                                  const std::string& batch) {
  auto context = openContext(login);
  auto rs = std::make_shared<ado::Recordset>();
  rs->open(Variant(autoIdQuery(whCode, invCode, free, batch)),
           Variant(ObjectPtr(context->connection())), ado::adOpenUnspecified,
           ado::adLockUnspecified, ado::adOptionUnspecified);
  if (!rs->isOpen() || rs->eof()) return 0;
  return rs->value("AutoID").toLong();
}

const automation::MemberTable& RefSelect::memberTable() const {
  using automation::in;
  using automation::optRef;
  using automation::ref;
  using Self = RefSelect;
  // The reference calls' arguments, all by reference and optional after the login.
  const auto referParams = [](bool withReturnErr) {
    std::vector<automation::ParamInfo> params = {
        in("oLogin", "Object"),
        optRef("sWhcode", "String", Variant("")),
        optRef("sInvCode", "String", Variant("")),
        optRef("sFree", "Collection"),
        optRef("iQuantity", "Double", Variant(0.0)),
        optRef("iNum", "Double", Variant(0.0)),
        optRef("iExchRate", "Double", Variant(0.0)),
        optRef("RefType", "RefType", Variant(std::int32_t{0})),
        optRef("sSql", "String", Variant("")),
        optRef("bIsRedVouch", "Boolean", Variant(false)),
        optRef("bMutiSel", "Boolean", Variant(true)),
        optRef("sRefFrom", "String", Variant("")),
    };
    if (withReturnErr) params.push_back(optRef("sReturnErr", "String", Variant("")));
    return params;
  };
  const auto request = [](Args& a) {
    Request r;
    r.whCode = a.str(1);
    r.invCode = a.str(2);
    r.free = a.objectAs<automation::Collection>(3);
    r.quantity = a.dbl(4);
    r.num = a.dbl(5);
    r.exchRate = a.dbl(6);
    r.refType = a.lng(7);
    r.sql = a.str(8);
    r.isRedVouch = a.boolean(9);
    r.mutiSel = a.boolean(10);
    r.refFrom = a.str(11);
    return r;
  };
  const auto freeItems = [](Args& a, std::size_t first) {
    std::array<std::string, 10> free;
    for (std::size_t k = 0; k < free.size(); ++k) free[k] = a.str(first + k);
    return free;
  };
  const auto updateParams = [] {
    return std::vector<automation::ParamInfo>{in("oLogin", "Object"), ref("fSumOutQ", "Double"),
                                              ref("fSumOutN", "Double"), ref("AutoID", "Long")};
  };
  const auto getAutoIdParams = [] {
    std::vector<automation::ParamInfo> params = {in("oLogin", "Object"),
                                                 optRef("sWhcode", "String", Variant("")),
                                                 optRef("sInvCode", "String", Variant(""))};
    for (int k = 1; k <= 10; ++k)
      params.push_back(optRef("sFree" + std::to_string(k), "String", Variant("")));
    params.push_back(optRef("sBatch", "String", Variant("")));
    return params;
  };

  static const automation::MemberTable table =
      automation::MemberBuilder<Self>("RefSelect")
          .method("AutoRefer", referParams(true), "Boolean",
                  [request](Self& self, Args& a) -> Variant {
                    std::string err = a.str(12);
                    try {
                      self.AutoRefer(a.object(0), request(a), err);
                    } catch (...) {
                      a[12] = Variant(err);
                      throw;
                    }
                    a[12] = Variant(err);
                    return Variant(false);
                  })
          .method("Refer", referParams(false), "Boolean",
                  [request](Self& self, Args& a) -> Variant {
                    self.Refer(a.object(0), request(a));
                    return Variant(false);
                  })
          .property(
              "ReturnData", "Recordset",
              [](Self& self, Args&) -> Variant { return Variant(ObjectPtr(self.returnData_)); },
              [](Self& self, Args& a) -> Variant {
                self.returnData_ = automation::toObjectAs<ado::Recordset>(a.value());
                return {};
              },
              [](Self& self, Args& a) -> Variant {
                self.returnData_ = automation::toObjectAs<ado::Recordset>(a.value());
                return {};
              })
          .property(
              "ExchRate", "Variant",
              [](Self& self, Args&) -> Variant { return Variant(self.exchRate_); },
              [](Self& self, Args& a) -> Variant {
                self.exchRate_ = a.value().toDouble();
                return {};
              })
          .method("CreateAndDropTmpCurrentStock",
                  {in("oLogin", "Object"), ref("bCreate", "Boolean")}, "Boolean",
                  [](Self& self, Args& a) -> Variant {
                    self.CreateAndDropTmpCurrentStock(a.object(0), a.boolean(1));
                    return Variant(false);
                  })
          .method("GetAllBSQL", {ref("STRSQL", "String")}, "String",
                  [](Self& self, Args& a) -> Variant {
                    std::string sql = a.str(0);
                    std::string result = self.GetAllBSQL(sql);
                    a[0] = Variant(std::move(sql));
                    return Variant(std::move(result));
                  })
          .method("GetAllRDSSQL", {ref("STRSQL", "String")}, "String",
                  [](Self& self, Args& a) -> Variant {
                    std::string sql = a.str(0);
                    std::string result = self.GetAllRDSSQL(sql);
                    a[0] = Variant(std::move(sql));
                    return Variant(std::move(result));
                  })
          .method("GetAutoID", getAutoIdParams(), "Long",
                  [freeItems](Self& self, Args& a) -> Variant {
                    return Variant(self.GetAutoID(a.object(0), a.str(1), a.str(2), freeItems(a, 3),
                                                  a.str(13)));
                  })
          .method("UpdateTmpCurrentStock", updateParams(), "Boolean",
                  [](Self& self, Args& a) -> Variant {
                    self.UpdateTmpCurrentStock(a.object(0), a.dbl(1), a.dbl(2), a.lng(3));
                    return Variant(false);
                  })
          .method("CreateAndDropTmpRdrecord", {in("oLogin", "Object"), ref("bCreate", "Boolean")},
                  "Boolean",
                  [](Self& self, Args& a) -> Variant {
                    self.CreateAndDropTmpRdrecord(a.object(0), a.boolean(1));
                    return Variant(false);
                  })
          .method("UpdateTmpRdrecords", updateParams(), "Boolean",
                  [](Self& self, Args& a) -> Variant {
                    self.UpdateTmpRdrecords(a.object(0), a.dbl(1), a.dbl(2), a.lng(3));
                    return Variant(false);
                  })
          .build();
  return table;
}

void registerRefSelect(automation::ClassRegistry& registry) {
  registerOnce<RefSelect>(registry, kRefSelectProgId, kRefSelectClsid);
}

}  // namespace quillon::classes
