// The suite's DefineItemService on the account's definition table. Late-bound members: Login /
// Context (Set: the SessionContext), GetDefine(sKey, oTarget) As Boolean, and the filled
// definition's Key, Name, Type, Length, Source, Defined. Definitions marked as not in use count as
// undefined.
#pragma once

#include <memory>

#include "components/define_item_service.h"

namespace quillon::components::suite {

class DefineItemServiceObject final : public DefineItemService {
 public:
  void setContext(std::shared_ptr<SessionContext> context) override {
    context_ = std::move(context);
  }
  std::optional<DefineItem> lookup(std::string_view key) override;
  bool getDefine(std::string_view key, DefineItemService& target) override;
  const std::optional<DefineItem>& definition() const override { return definition_; }
  void assign(std::optional<DefineItem> item) override { definition_ = std::move(item); }

  const automation::MemberTable& memberTable() const override;

 private:
  std::shared_ptr<SessionContext> context_;
  std::optional<DefineItem> definition_;
};

}  // namespace quillon::components::suite
