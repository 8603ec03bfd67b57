// The statements of the suite's purchase and delivery reference queries (what they offer is
// described in components/purchase_ref_service.h). Pure functions of their arguments; a caller's WHERE text is
// joined in as " AND (" + where + ")" so that its own OR cannot widen what is offered.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillon::components::suite {

std::string orderHeadQuery(std::string_view where, bool showClosed);
std::string arrivalHeadQuery(std::string_view where, bool showClosed);
std::string orderLineQuery(std::int32_t orderId, std::string_view where, bool showClosed);
std::string arrivalLineQuery(std::int32_t arrivalId, std::string_view where, bool showClosed);
std::string deliveryHeadQuery(std::string_view where, bool showClosed);
std::string deliveryLineQuery(std::string_view where);

}  // namespace quillon::components::suite
