// The suite's unit/quantity component (rules in components/unit_quantity.h). Late-bound members:
// Login (Set: SessionContext), Body (Get/Set: the one-record recordset), Recalculate(sField) As
// Boolean. Computed values are kept to six decimals, the scale of the database's quantities.
#pragma once

#include <memory>

#include "components/unit_quantity.h"

namespace quillon::components::suite {

class UnitQuantityObject final : public UnitQuantity {
 public:
  void setLogin(std::shared_ptr<SessionContext> context) override { context_ = std::move(context); }
  void setBody(std::shared_ptr<ado::Recordset> body) override { body_ = std::move(body); }
  std::shared_ptr<ado::Recordset> body() const override { return body_; }
  void recalculate(std::string_view changedField) override;

  const automation::MemberTable& memberTable() const override;

 private:
  std::shared_ptr<SessionContext> context_;
  std::shared_ptr<ado::Recordset> body_;
};

}  // namespace quillon::components::suite
