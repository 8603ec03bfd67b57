// PositionSet: bin positions of a stock voucher's lines ("Quillon.PositionSet").
//
// Delete, Insert and Update hand the host's position object to the suite's position service
// (created with the instance, by its ProgID) and return the service's Boolean as it is: False with
// nothing written when the service refuses the change. BatchInvPos runs the named filter of the
// stock subsystem through the suite's filter dialog on a connection of its own; when the user
// confirms, sReturnWhere receives the filter's WHERE text (otherwise it stays as the host left
// it); then it shows frmBatchPosition modally.
//
// Nothing is trapped: the service's and the filter's errors (91 for a Nothing position object, an
// unknown filter name, a confirmed WHERE text that is not one expression: sql::checkCondition,
// with sReturnWhere left as it was) reach the host as the call's error.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "automation/dispatch.h"

namespace quillon::ado {
class Connection;
}
namespace quillon::automation {
class ClassRegistry;
}
namespace quillon::components {
class FilterContext;
class FilterDialog;
class FilterOutcome;
}  // namespace quillon::components
namespace quillon::dialogs {
class frmBatchPosition;
}

namespace quillon::classes {

inline constexpr const char* kPositionSetProgId = "Quillon.PositionSet";
inline constexpr const char* kPositionSetClsid = "{11B61EE5-6949-4DB9-B3A4-E7C842DF1B2C}";
// The subsystem whose named filters BatchInvPos runs.
inline constexpr const char* kPositionFilterSubsystem = "ST";

class PositionSet : public automation::Object {
 public:
  PositionSet();
  ~PositionSet() override;

  const automation::MemberTable& memberTable() const override;

  bool Delete(const automation::ObjectPtr& oInvPos);
  bool Insert(const automation::ObjectPtr& oInvPos);
  bool Update(const automation::ObjectPtr& oInvPos);
  // Returns whether the filter was confirmed (code 1), which is when sReturnWhere was set.
  bool BatchInvPos(const automation::ObjectPtr& oLogin, const std::string& StrName,
                   std::string& sReturnWhere);

  // What the last BatchInvPos left: its filter's code, the form it showed.
  int filterCode() const { return filterCode_; }
  const std::shared_ptr<dialogs::frmBatchPosition>& form() const { return form_; }

 private:
  bool callService(std::string_view member, const automation::ObjectPtr& position);

  automation::ObjectPtr service_;
  std::shared_ptr<ado::Connection> connection_;
  std::shared_ptr<components::FilterContext> filterContext_;
  std::shared_ptr<components::FilterDialog> filterDialog_;
  int filterCode_ = 0;
  std::shared_ptr<components::FilterOutcome> filterResult_;
  std::shared_ptr<dialogs::frmBatchPosition> form_;
};

void registerPositionSet(automation::ClassRegistry& registry);

}  // namespace quillon::classes
