// The suite's inventory list on the account database (what it offers: components/
// inventory_query_service.h).
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "components/inventory_query_service.h"

namespace quillon::components::suite {

// The statement for `condition` (which may end in " order by …") limited to the inventory ids of
// `permittedIds` ("" for an unrestricted user). Only Inventory is in the FROM clause, so the
// condition's unqualified names are its columns.
std::string inventoryListStatement(std::string_view condition, std::string_view permittedIds);

class InventoryQueryServiceObject final : public InventoryQueryService {
 public:
  void init(std::shared_ptr<SessionContext> session) override { session_ = std::move(session); }
  std::shared_ptr<ado::Recordset> inventories(const std::string& condition) override;

  const automation::MemberTable& memberTable() const override;

 private:
  std::shared_ptr<SessionContext> session_;
};

}  // namespace quillon::components::suite
