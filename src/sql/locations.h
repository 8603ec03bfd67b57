// Whole account databases by location: a file of the embedded engine, or a database on a server
// (made, renamed and dropped through the server's own database "postgres").
#pragma once

#include <string>
#include <string_view>

namespace quillon::sql {

// Whether the database exists (a file that is there, a database the server has).
bool databaseExists(const std::string& location);

// What a database on a server holds, read without preparing it for the library: nothing (not
// there), no table, view or sequence outside the server's own schemas and the dialect layer's
// (one a DBA made for an account to be built in), or tables. A database whose encoding is not
// UTF8 cannot hold an account: ComError 5 naming its encoding.
enum class ServerDatabase { Absent, Empty, HoldsTables };
ServerDatabase serverDatabaseContents(const std::string& location);

// Removes the database; nothing when it is not there. A server's database goes even while other
// connections use it.
void dropDatabase(const std::string& location);

// Moves a database to another location of the same kind, replacing what is there.
void renameDatabase(const std::string& from, const std::string& to);

// A new database with the contents of `from`, which no connection may be using on a server.
void copyDatabase(const std::string& from, const std::string& to);

// The location beside `location` for a database of the given name suffix: "a.db" and ".building"
// give "a.db.building"; a server's "…/acct?…" gives "…/acct_building?…".
std::string siblingLocation(const std::string& location, std::string_view suffix);

// The same server location with another database name.
std::string withDatabaseName(const std::string& location, std::string_view name);

// The database name of a server location, the file name of a file.
std::string databaseName(const std::string& location);

// A connection text as it may be shown or logged: a server URI's password ("user:secret@",
// "password=secret" in its query) and the Password / PWD items of a connection string
// ("Password=secret", also quoted) become "***", in a URI given alone or as an item's value
// (Data Source=postgresql://…). Everything else stays as it is; a file's path comes back
// unchanged. Every message and printout that names an account's location goes through it.
std::string maskPassword(std::string_view connectionText);
// A message about a connection text (a parser's complaint quoting a piece of it, say) with every
// password that connection text carries masked, as written and percent-decoded, besides the
// passwords of the URIs the message itself holds.
std::string maskPasswordIn(std::string_view message, std::string_view connectionText);

}  // namespace quillon::sql
