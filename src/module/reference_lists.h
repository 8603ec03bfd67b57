// What narrows a reference list's own query to the rows a person chose, when OK reads them again:
// the key list of the chosen rows and the query's text with the condition inserted.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillon::module {

// " IN (k1,k2,...)" for the keys: a numeric key as a number, any other as one text literal;
// "" when there is none.
std::string KeyInList(const std::vector<std::string>& keys);

// A level's source text narrowed to `condition`: inserted as " AND  condition " before an
// "order by" (found without regard to case), else appended with " AND ".
std::string NarrowedSource(std::string_view source, std::string_view condition);

}  // namespace quillon::module
