#include "classes/position_set.h"

#include <vector>

#include "ado/connection.h"
#include "automation/class_registry.h"
#include "classes/class_kit.h"
#include "components/filter.h"
#include "components/inv_position.h"
#include "components/marlin_login.h"
#include "components/registration.h"
#include "dialogs/frmBatchPosition/frm_batch_position.h"
#include "forms/constants.h"
#include "module/session.h"
#include "sql/condition.h"

namespace quillon::classes {

using automation::Args;
using automation::ObjectPtr;
using automation::Variant;

PositionSet::PositionSet()
    : service_(automation::classRegistry().create(components::kInvPositionServiceProgId)) {}

PositionSet::~PositionSet() = default;

bool PositionSet::callService(std::string_view member, const ObjectPtr& position) {
  // The position object, no recordsets, no connection (the service uses the object's session)
  // and a result of our own that nobody reads.
  std::vector<Variant> args = {Variant(position), Variant::missing(), Variant::missing(),
                               Variant(ObjectPtr()), Variant()};
  return service_->invoke(member, automation::InvokeKind::Method, args).toBool();
}

bool PositionSet::Delete(const ObjectPtr& oInvPos) {
  return callService("Delete", oInvPos);
}

bool PositionSet::Insert(const ObjectPtr& oInvPos) {
  return callService("Insert", oInvPos);
}

bool PositionSet::Update(const ObjectPtr& oInvPos) {
  return callService("Update", oInvPos);
}

bool PositionSet::BatchInvPos(const ObjectPtr& oLogin, const std::string& StrName,
                              std::string& sReturnWhere) {
  const auto login = module::LoginArgument(oLogin);
  filterCode_ = 0;
  filterResult_.reset();
  connection_ = login->deskConnection();

  filterContext_ =
      components::createAs<components::FilterContext>(components::kFilterContextProgId);
  filterContext_->setFlag(true);
  const std::string accountKey = login->secondIdentity();
  filterContext_->init(kPositionFilterSubsystem, login, connection_, accountKey);

  if (!filterDialog_) {
    filterDialog_ = components::createAs<components::FilterDialog>(components::kFilterDialogProgId);
  }
  try {
    filterCode_ =
        filterDialog_->showFilter(*filterContext_, StrName, kPositionFilterSubsystem, connection_);
    if (filterCode_ == 1) {
      filterResult_ = filterDialog_->result();
      if (!filterResult_) throw automation::ComError::objectNotSet();
      // The host puts the filter's WHERE text into statements of its own: one expression, or
      // the call fails and the host's text stays as it was.
      std::string where = filterResult_->whereText();
      sql::checkCondition(where);
      sReturnWhere = std::move(where);
    }
    filterDialog_->terminate();
  } catch (...) {
    // The next call starts with a dialog of its own either way.
    filterDialog_.reset();
    throw;
  }
  filterDialog_.reset();

  form_ = std::make_shared<dialogs::frmBatchPosition>();
  form_->Show(forms::vbModal);
  return filterCode_ == 1;
}

const automation::MemberTable& PositionSet::memberTable() const {
  using automation::in;
  using automation::ref;
  using Self = PositionSet;
  using Op = bool (Self::*)(const ObjectPtr&);
  auto change = [](Op op) {
    return [op](Self& self, Args& a) -> Variant { return Variant((self.*op)(a.object(0))); };
  };
  static const automation::MemberTable table =
      automation::MemberBuilder<Self>("PositionSet")
          .method("Delete", {in("oInvPos", "InvPosition")}, "Boolean", change(&Self::Delete))
          .method("Insert", {in("oInvPos", "InvPosition")}, "Boolean", change(&Self::Insert))
          .method("Update", {in("oInvPos", "InvPosition")}, "Boolean", change(&Self::Update))
          .method("BatchInvPos",
                  {in("oLogin", "Object"), in("StrName", "String"), ref("sReturnWhere", "String")},
                  "",
                  [](Self& self, Args& a) -> Variant {
                    std::string where = a[2].isEmpty() ? std::string() : a.str(2);
                    // The host's variable is written only when the filter was confirmed.
                    if (self.BatchInvPos(a.object(0), a.str(1), where)) a[2] = Variant(where);
                    return {};
                  })
          .build();
  return table;
}

void registerPositionSet(automation::ClassRegistry& registry) {
  registerOnce<PositionSet>(registry, kPositionSetProgId, kPositionSetClsid);
}

}  // namespace quillon::classes
