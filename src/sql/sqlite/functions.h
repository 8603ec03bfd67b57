// The server functions the dialect layer maps onto: registered on every connection, together
// with the catalogue views sysobjects (the database's objects) and tempdb_sysobjects (the
// connection's temporary objects), whose ids are those object_id() returns.
#pragma once

struct sqlite3;

namespace quillon::sql {

// Returns false (with the engine's error left on the connection) when registration fails.
bool registerServerFunctions(sqlite3* db);

}  // namespace quillon::sql
