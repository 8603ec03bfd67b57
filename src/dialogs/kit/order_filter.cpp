#include "dialogs/kit/order_filter.h"

#include "forms/text_box.h"
#include "module/lookup_fields.h"

namespace quillon::dialogs::kit {

OrderFilterFields readOrderFilter(const forms::TextBox& lowerDate, const forms::TextBox& upperDate,
                                  const forms::TextBox& department, const forms::TextBox& person,
                                  const forms::TextBox& orderCode, const forms::TextBox& vendor,
                                  const forms::TextBox& item) {
  using module::LookupFields;
  return {lowerDate.Text(),
          upperDate.Text(),
          LookupFields::codeOf(department),
          LookupFields::codeOf(person),
          orderCode.Text(),
          LookupFields::codeOf(vendor),
          LookupFields::codeOf(item)};
}

}  // namespace quillon::dialogs::kit
