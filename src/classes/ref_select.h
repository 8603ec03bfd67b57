// RefSelect: the public class through which a stock voucher picks current-stock rows or receipt
// lines for one of its lines ("Quillon.RefSelect").
//
// Refer shows frmRefSelect over the rows of the host's query; AutoRefer loads it without showing
// it, allocates the requested quantity automatically and confirms at once. Either way the chosen
// rows come back in ReturnData (Nothing when nothing was chosen or the user cancelled).
//
// The work-table members keep, per workstation, what the voucher being entered has already taken
// from each stock row (prefix + "_CurrentS") or receipt line (prefix + "_TmpRdRecords"); GetAllBSQL
// and GetAllRDSSQL rewrite a host query so that it offers quantities net of those amounts. How a
// work table is kept (a view over its source, the sums apart) is in module/work_tables.h.
//
// Nothing is trapped: a failing statement or query reaches the host as the call's error. Every
// Boolean member returns False; the outcome is in ReturnData and sReturnErr.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "automation/dispatch.h"

namespace quillon::ado {
class Recordset;
}
namespace quillon::automation {
class ClassRegistry;
class Collection;
}  // namespace quillon::automation
namespace quillon::components {
class SessionContext;
}
namespace quillon::dialogs {
class frmRefSelect;
}

namespace quillon::classes {

inline constexpr const char* kRefSelectProgId = "Quillon.RefSelect";
inline constexpr const char* kRefSelectClsid = "{2168BD89-83F2-4BC1-98DE-EAF2D0373F88}";

class RefSelect : public automation::Object {
 public:
  // What a reference call hands the dialog.
  struct Request {
    std::string whCode;
    std::string invCode;
    std::shared_ptr<automation::Collection> free;
    double quantity = 0;
    double num = 0;
    double exchRate = 0;
    std::int32_t refType = 0;
    std::string sql;
    bool isRedVouch = false;
    bool mutiSel = true;
    std::string refFrom;
  };

  RefSelect();
  ~RefSelect() override;

  const automation::MemberTable& memberTable() const override;

  void Refer(const automation::ObjectPtr& login, const Request& request);
  // `returnErr` non-empty on entry asks for silent mode: it is cleared and receives the shortfall
  // message instead of a message box.
  void AutoRefer(const automation::ObjectPtr& login, const Request& request,
                 std::string& returnErr);

  const std::shared_ptr<ado::Recordset>& ReturnData() const { return returnData_; }
  void setReturnData(std::shared_ptr<ado::Recordset> rs) { returnData_ = std::move(rs); }
  double ExchRate() const { return exchRate_; }
  void setExchRate(double rate) { exchRate_ = rate; }
  // The dialog of the last reference call (it stays readable after it closed).
  const std::shared_ptr<dialogs::frmRefSelect>& dialog() const { return dialog_; }

  void CreateAndDropTmpCurrentStock(const automation::ObjectPtr& login, bool create);
  void CreateAndDropTmpRdrecord(const automation::ObjectPtr& login, bool create);
  void UpdateTmpCurrentStock(const automation::ObjectPtr& login, double sumOutQ, double sumOutN,
                             std::int32_t autoId);
  void UpdateTmpRdrecords(const automation::ObjectPtr& login, double sumOutQ, double sumOutN,
                          std::int32_t autoId);
  // `strSql` keeps the first two rewrites; the result has all three.
  std::string GetAllBSQL(std::string& strSql) const;
  std::string GetAllRDSSQL(std::string& strSql) const;
  // free[0..9] are sFree1..sFree10.
  std::int32_t GetAutoID(const automation::ObjectPtr& login, const std::string& whCode,
                         const std::string& invCode, const std::array<std::string, 10>& free,
                         const std::string& batch);

  // The statement text of GetAutoID, as it is executed.
  static std::string autoIdQuery(const std::string& whCode, const std::string& invCode,
                                 const std::array<std::string, 10>& free, const std::string& batch);

 private:
  std::shared_ptr<components::SessionContext> openContext(const automation::ObjectPtr& login);
  void startReference(const automation::ObjectPtr& login, const Request& request);

  automation::ObjectPtr login_;
  std::shared_ptr<dialogs::frmRefSelect> dialog_;
  std::string sql_;
  std::shared_ptr<ado::Recordset> returnData_;
  double exchRate_ = 0;
};

void registerRefSelect(automation::ClassRegistry& registry);

}  // namespace quillon::classes
