// The data-permission lists of a user, read from the permission table of the account database.
//
// A user is restricted for an object kind exactly when he has at least one permission row of that
// kind. The list for right code "W" holds his "W" rows; for an empty right code it holds "W" and
// "R" rows; any other code its own rows. Codes are quoted ('01','02'), inventory ids are written
// bare (3,7) and anything in an id row that is not a whole number is left out. A restricted user
// without a single matching row gets "NULL", which matches nothing inside IN(...), so that an
// empty list keeps meaning "not restricted".
#pragma once

#include <string>
#include <string_view>

#include "sql/database.h"

namespace quillon::components::suite {

// The object kinds that have permission lists.
bool isPermissionKind(std::string_view kind);

// Raises kErrUnknownObjectKind for an unknown kind.
std::string permissionList(sql::Database& db, std::string_view userId, std::string_view kind,
                           std::string_view rightCode);

// Whether a permission list of inventory ids (as permissionList writes it) holds `id`.
bool idListHolds(std::string_view list, long long id);

// Whether the user may use the inventory of id `iId`, as permissionList's list for `rightCode`
// would say, without reading the whole list when a right names the id as it is written.
bool permitsInventory(sql::Database& db, std::string_view userId, long long iId,
                      std::string_view rightCode);

}  // namespace quillon::components::suite
