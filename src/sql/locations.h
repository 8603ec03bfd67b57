// Whole account databases by location: a file of the embedded engine, or a database on a server
// (made, renamed and dropped through the server's own database "postgres"), and the masking of
// the passwords a location or a connection string carries.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "sql/database.h"

namespace quillon::sql {

class Storage;

// What a database holds, read without preparing it for the library: nothing (not there), no
// table, view or sequence outside the engine's own schemas and the dialect layer's (on a server,
// one a DBA made for an account to be built in), or tables.
enum class DatabaseContents : std::uint8_t { Absent, Empty, HoldsTables };

// Where an account database lives: a file of the embedded engine, or a database on a server
// ("postgresql://…"). The one place that tells the two apart: callers ask the location what they
// need (its name to show, its stem, whether it copies as a file) and never look at its text.
class Location {
 public:
  explicit Location(std::string text);
  // A database on a server from its parts: a host name, or a folder of the server's socket.
  static Location onServer(std::string_view host, std::string_view port, std::string_view database,
                           std::string_view user, std::string_view password, int connectionTimeout);

  // The text as given (with its password): what opens the database.
  const std::string& text() const { return text_; }
  // The text as it may be shown or logged: maskPassword.
  std::string shown() const;
  // The engine that holds the database.
  Engine engine() const;

  // Opens the database.
  std::unique_ptr<Database> open(OpenMode mode = OpenMode::CreateIfMissing,
                                 int busyTimeoutMs = kDefaultBusyTimeoutMs) const;

  // "文件[<shown>]" or "数据库[<shown>]": the location in a message to a user.
  std::string subject() const;
  // "The file <path> already exists", "The database <name> already exists on the server".
  std::string existsText() const;
  // The database name on a server, the file name of a file; the stem shown as the account's
  // name (a file's name without its extension, a server database's name).
  std::string name() const;
  std::string stem() const;
  // The text kept for a location that must not depend on the working folder: a file's absolute
  // path; a server's text as given.
  std::string resolved() const;

  // The location beside this one for a database of the given name suffix: "a.db" and ".building"
  // give "a.db.building"; a server's "…/acct?…" gives "…/acct_building?…".
  Location sibling(std::string_view suffix) const;
  // The same server with another database name; a file of that name in the same folder.
  Location withDatabaseName(std::string_view name) const;
  // A server location that logs in as `user` with `password` (when given) and gives up
  // connecting after `connectionTimeout` seconds (when positive, unless it says already); a
  // file's location as it is.
  Location withLogin(std::string_view user, std::string_view password, int connectionTimeout) const;

  // Whether the database exists (a file that is there, a database the server has).
  bool exists() const;
  // Whether the location is known not to hold a database without asking an engine: an empty
  // text, or a file that is not there (a server is asked by connecting).
  bool knownMissing() const;
  // Whether copies of it are plain file copies that may be made and thrown away freely.
  bool copiesFreely() const;
  // What the database holds. A file is Absent or HoldsTables (a directory is refused, ComError 5);
  // a server database whose encoding is not UTF8 cannot hold an account: ComError 5 naming it.
  DatabaseContents contents() const;

  // Removes the database; nothing when it is not there. A server's database goes even while
  // other connections use it.
  void drop() const;
  // Moves the database to `to` (a location of the same kind), replacing what is there.
  void renameTo(const Location& to) const;
  // A new database at `to` with the contents of this one, which no connection may be using on a
  // server.
  void copyTo(const Location& to) const;

 private:
  Location(std::string text, const Storage& storage) : text_(std::move(text)), storage_(&storage) {}

  std::string text_;
  const Storage* storage_;
};

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
