// The SQL texts of the production-order queries (rules in components/production_order_service.h).
// Pure functions of their arguments: every text ends in its WHERE clause followed by
// " ORDER BY <key>", and a caller may insert " AND <condition>" before the ORDER BY.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillon::components::suite {

// Which hosts a query serves: material issues, outsourced issues (orders of outsourced
// processing only) or product receipts (voucher type 39).
enum class OrderQueryKind { Issue, OutsourcedIssue, Receipt };

std::string productionHeadQuery(OrderQueryKind kind, std::string_view where, std::int32_t state,
                                bool openOnly);
std::string productionLineQuery(OrderQueryKind kind, std::int32_t headId, std::int32_t state,
                                bool openOnly, std::string_view invCondition);
std::string productionMaterialQuery(std::int32_t lineId, double lineQuantity,
                                    std::string_view invCondition);

}  // namespace quillon::components::suite
