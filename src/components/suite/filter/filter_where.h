// The WHERE text of a confirmed named filter, made from the values a person typed into the filter
// dialog's fields and its free condition box.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "forms/ui_host.h"

namespace quillon::components::suite {

// The text of the error for a value of a number field that is no number.
std::string notANumberText(const std::string& caption, const std::string& value);

// Each filled field gives "field op value" (a range field "field >= from" and / or
// "field <= to"), joined with " and "; a free condition follows in parentheses, or stands alone
// when no field is filled. Values reach the text only as literals: a number field's value must be
// a number (kErrBadArgument with notANumberText otherwise), a "like" value without a wildcard of
// its own is looked for anywhere in the field (%value%). Blank values are no condition. A field
// whose operator is not one a condition may use is refused, as is a field without a name.
std::string filterWhereText(const std::vector<forms::FilterField>& fields,
                            const std::vector<forms::FilterValue>& values,
                            std::string_view freeCondition);

}  // namespace quillon::components::suite
