// The filter fields of the production-order dialogs (the production orders and the outsourced
// orders): what they hold when a filter runs — the date range and the order number as typed, the
// codes the lookups stored for the department, the clerk, the vendor and the item (the typed text
// where no lookup stored one).
#pragma once

#include <string>

namespace quillon::forms {
class TextBox;
}

namespace quillon::dialogs::kit {

struct OrderFilterFields {
  std::string lowerDate;
  std::string upperDate;
  std::string department;
  std::string person;
  std::string orderCode;
  std::string vendor;
  std::string item;
};

// What the boxes hold, read as the filter reads them.
OrderFilterFields readOrderFilter(const forms::TextBox& lowerDate, const forms::TextBox& upperDate,
                                  const forms::TextBox& department, const forms::TextBox& person,
                                  const forms::TextBox& orderCode, const forms::TextBox& vendor,
                                  const forms::TextBox& item);

}  // namespace quillon::dialogs::kit
