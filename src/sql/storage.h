// Storage: what one engine does with whole databases at its locations; the door from the
// engine-neutral side (Location, Database::open) to the engines' folders. Each engine has one
// (sqlite/sqlite_storage.cpp: files; pg/pg_storage.cpp: databases on a server), and storageOf
// picks it by the location's text. Nothing outside src/sql sees it: callers use Location.
//
// Every member takes the location's text as given (with its password); what it throws names the
// location with its password masked.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "sql/locations.h"

namespace quillon::sql {

class Storage {
 public:
  virtual ~Storage() = default;

  virtual Engine engine() const = 0;
  virtual std::unique_ptr<Database> open(const std::string& location, OpenMode mode,
                                         int busyTimeoutMs) const = 0;

  // The texts and locations of Location's members of the same names.
  virtual std::string subject(std::string_view shown) const = 0;
  virtual std::string existsText(const std::string& location) const = 0;
  virtual std::string name(const std::string& location) const = 0;
  virtual std::string stem(const std::string& location) const = 0;
  virtual std::string resolved(const std::string& location) const = 0;
  virtual std::string sibling(const std::string& location, std::string_view suffix) const = 0;
  virtual std::string withDatabaseName(const std::string& location,
                                       std::string_view name) const = 0;
  virtual std::string withLogin(const std::string& location, std::string_view user,
                                std::string_view password, int connectionTimeout) const = 0;

  virtual bool exists(const std::string& location) const = 0;
  virtual bool knownMissing(const std::string& location) const = 0;
  virtual bool copiesFreely() const = 0;
  virtual DatabaseContents contents(const std::string& location) const = 0;
  virtual void drop(const std::string& location) const = 0;
  virtual void rename(const std::string& from, const std::string& to) const = 0;
  virtual void copy(const std::string& from, const std::string& to) const = 0;

 protected:
  Storage() = default;
  Storage(const Storage&) = default;
  Storage& operator=(const Storage&) = default;
};

// Whether a text names a database on a server: "postgresql://…" or "postgres://…"; anything
// else is a file of the embedded engine (or ":memory:", or an SQLite file: URI).
bool namesServer(std::string_view location);

// A URI part with its %XX escapes decoded; a "%" that starts none stays as it is.
std::string percentDecoded(std::string_view part);

// The storage of a location's text: the server's for what namesServer, the files' otherwise.
const Storage& storageOf(std::string_view location);
const Storage& fileStorage();
const Storage& serverStorage();

// A server location from its parts (Location::onServer).
std::string serverLocation(std::string_view host, std::string_view port, std::string_view database,
                           std::string_view user, std::string_view password, int connectionTimeout);

}  // namespace quillon::sql
