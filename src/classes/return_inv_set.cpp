#include "classes/return_inv_set.h"

#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "classes/class_kit.h"
#include "components/session_context.h"
#include "dialogs/frmReturnInvSet/frm_return_inv_set.h"
#include "forms/constants.h"
#include "module/module_state.h"
#include "module/session.h"
#include "sql/condition.h"

namespace quillon::classes {

using automation::Args;
using automation::ObjectPtr;
using automation::Variant;

ReturnInvSet::ReturnInvSet() = default;

ReturnInvSet::~ReturnInvSet() {
  if (keepsWhere_) module::gReturnInvWhere.clear();
}

std::shared_ptr<ado::Recordset> ReturnInvSet::RecordsetValue() {
  return module::gReturnInvRecordset;
}

void ReturnInvSet::setRecordsetValue(std::shared_ptr<ado::Recordset> rs) {
  module::gReturnInvRecordset = std::move(rs);
}

void ReturnInvSet::frmShow(const ObjectPtr& oLogin, std::int16_t ShowMode,
                           const std::string& sWhere) {
  // The host condition narrows every list of the picker: one expression, or nothing runs.
  sql::checkCondition(sWhere);
  auto context = module::OpenContext(module::LoginArgument(oLogin), false);
  module::gContext = context;
  module::gReturnInvWhere = sWhere;
  keepsWhere_ = true;
  form_ = std::make_shared<dialogs::frmReturnInvSet>();
  form_->Show(ShowMode == forms::vbModeless ? forms::vbModeless : forms::vbModal);
}

const automation::MemberTable& ReturnInvSet::memberTable() const {
  using automation::in;
  using automation::optRef;
  using Self = ReturnInvSet;
  auto get = [](Self&, Args&) -> Variant {
    return Variant(std::static_pointer_cast<automation::Object>(RecordsetValue()));
  };
  auto set = [](Self&, Args& a) -> Variant {
    setRecordsetValue(automation::toObjectAs<ado::Recordset>(a.value()));
    return {};
  };
  static const automation::MemberTable table =
      automation::MemberBuilder<Self>("ReturnInvSet")
          .property("RecordsetValue", "Recordset", get, nullptr, set)
          .method("frmShow",
                  {in("oLogin", "Object"), in("ShowMode", "Integer"),
                   optRef("sWhere", "String", Variant(""))},
                  "",
                  [](Self& self, Args& a) -> Variant {
                    const std::string where = a[2].isEmpty() ? std::string() : a.str(2);
                    self.frmShow(a.object(0), a.integer(1), where);
                    return {};
                  })
          .build();
  return table;
}

void registerReturnInvSet(automation::ClassRegistry& registry) {
  registerOnce<ReturnInvSet>(registry, kReturnInvSetProgId, kReturnInvSetClsid);
}

}  // namespace quillon::classes
