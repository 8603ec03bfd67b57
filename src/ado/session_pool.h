// Sessions kept open between connections to the same account file.
//
// A host opens a connection for each call it makes (a reference dialog, a write-back) and closes
// it again. Each fresh session of the embedded engine reads the file's schema and starts with an
// empty page cache and no translated statements; a kept one starts where the last user left it.
// A Connection's Close (or its end) gives its session here, reset as a fresh one starts (no
// transaction, no temporary tables); Open takes one back for the same file and mode. Sessions whose
// file was replaced, that cannot be reset, or that have waited a minute are closed.
//
// As with the suite's own pooling, "OLE DB Services=-2" in the connection string leaves the
// connection out of it. Safe to use from several threads.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "sql/database.h"

namespace quillon::ado::session_pool {

// A kept session of `location` opened in `mode`, or null.
std::unique_ptr<sql::Database> take(const std::string& location, sql::OpenMode mode);
// Keeps `db`, opened at `location` in `mode`, or closes it. Never throws.
void give(std::unique_ptr<sql::Database> db, const std::string& location,
          sql::OpenMode mode) noexcept;
// How many sessions are kept, and closing them all (for tests and shutdown).
std::size_t kept();
void clear();

}  // namespace quillon::ado::session_pool
