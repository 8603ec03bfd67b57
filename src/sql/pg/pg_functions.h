// The dialect layer's functions, types and catalogue views on a PostgreSQL account (schema
// "tsql"): what the statements the translator writes for the server call.
#pragma once

namespace quillon::sql {

// Raised when the script changes, so that every account gets the new one on its next connection.
inline constexpr int kServerFunctionsVersion = 10;

// The installation script; "%VERSION%" stands for kServerFunctionsVersion.
const char* serverFunctionsScript();

}  // namespace quillon::sql
