#include "ado/connection_string.h"

#include "ado/ado_errors.h"
#include "automation/com_error.h"
#include "automation/text_compare.h"

#include <initializer_list>

namespace quillon::ado {

namespace {

std::string_view trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

[[noreturn]] void providerError(const std::string& text,
                                std::string_view provider = kProviderName) {
  throw automation::ComError(kErrProvider, "[" + std::string(provider) + "] " + text,
                             std::string(provider));
}

// The first of several keys that is given.
std::optional<std::string> firstOf(const ConnectionString& cs,
                                   std::initializer_list<std::string_view> keys) {
  for (std::string_view k : keys) {
    if (auto v = cs.get(k)) return v;
  }
  return std::nullopt;
}

}  // namespace

ConnectionString ConnectionString::parse(std::string_view text) {
  ConnectionString cs;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t eq = text.find('=', pos);
    const std::size_t semi = text.find(';', pos);
    if (eq == std::string_view::npos || (semi != std::string_view::npos && semi < eq)) {
      // "a;;b" and a trailing ";" are harmless; anything else without "=" is not.
      const std::string_view piece =
          text.substr(pos, semi == std::string_view::npos ? std::string_view::npos : semi - pos);
      if (!trim(piece).empty()) throwArguments("connection string item without '='");
      if (semi == std::string_view::npos) break;
      pos = semi + 1;
      continue;
    }
    const std::string key(trim(text.substr(pos, eq - pos)));
    if (key.empty()) throwArguments("connection string item without a key");
    std::size_t p = eq + 1;
    while (p < text.size() && (text[p] == ' ' || text[p] == '\t')) ++p;
    std::string value;
    if (p < text.size() && (text[p] == '"' || text[p] == '\'')) {
      const char quote = text[p++];
      while (true) {
        if (p >= text.size()) throwArguments("unterminated quoted value in connection string");
        if (text[p] == quote) {
          if (p + 1 < text.size() && text[p + 1] == quote) {
            value += quote;
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        value += text[p++];
      }
      while (p < text.size() && (text[p] == ' ' || text[p] == '\t')) ++p;
      if (p < text.size() && text[p] != ';')
        throwArguments("text after a quoted value in connection string");
    } else {
      const std::size_t end = text.find(';', p);
      value = std::string(trim(text.substr(p, end == std::string_view::npos ? end : end - p)));
      p = end == std::string_view::npos ? text.size() : end;
    }
    cs.pairs_.emplace_back(key, std::move(value));
    pos = p < text.size() ? p + 1 : p;
  }
  return cs;
}

std::optional<std::string> ConnectionString::get(std::string_view key) const {
  std::optional<std::string> found;
  for (const auto& [k, v] : pairs_)
    if (automation::equalsNoCase(k, key)) found = v;
  return found;
}

std::string connectionStringValue(std::string_view value) {
  // Plain text reads back as it is unless it holds a ";", starts with a quote or has blanks at
  // either end (parse trims them); such values go between double quotes.
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  const bool plain = value.find(';') == std::string_view::npos &&
                     (value.empty() || (value.front() != '"' && value.front() != '\'' &&
                                        !blank(value.front()) && !blank(value.back())));
  if (plain) return std::string(value);
  std::string quoted = "\"";
  for (const char c : value) {
    if (c == '"') quoted.push_back('"');
    quoted.push_back(c);
  }
  return quoted + "\"";
}

std::string_view providerFor(const sql::Location& location) {
  return location.engine() == sql::Engine::PostgreSQL ? kServerProviderName : kProviderName;
}

ConnectionTarget resolveConnectionTarget(const ConnectionString& cs, const std::string& user,
                                         const std::string& password, int connectionTimeout) {
  ConnectionTarget target;
  auto path = cs.get("Data Source");
  if (!path) path = cs.get("DataSource");
  const std::optional<sql::Location> location =
      path ? std::optional<sql::Location>(sql::Location(*path)) : std::nullopt;
  bool server = location && providerFor(*location) == kServerProviderName;
  if (const auto provider = cs.get("Provider")) {
    if (automation::equalsNoCase(*provider, kServerProviderName)) {
      server = true;
    } else if (!automation::equalsNoCase(*provider, kProviderName) || server) {
      throw automation::ComError(kErrProviderNotFound,
                                 "Provider cannot be found. It may not be properly installed.",
                                 "ADODB.Connection: " + *provider);
    }
  }
  if (server) {
    target.provider = std::string(kServerProviderName);
    const std::string who =
        !user.empty() ? user : firstOf(cs, {"User ID", "UID", "User"}).value_or("");
    const std::string secret =
        !password.empty() ? password : firstOf(cs, {"Password", "PWD"}).value_or("");
    if (location && providerFor(*location) == kServerProviderName) {
      target.path = location->withLogin(who, secret, connectionTimeout).text();
    } else {
      const auto database = firstOf(cs, {"Database", "Initial Catalog"});
      if (!database || database->empty())
        providerError("The connection string names no Database.", kServerProviderName);
      const std::string host =
          firstOf(cs, {"Host", "Server"}).value_or(path.value_or(std::string()));
      target.path = sql::Location::onServer(host, firstOf(cs, {"Port"}).value_or(""), *database,
                                            who, secret, connectionTimeout)
                        .text();
    }
  } else {
    if (!path || path->empty()) providerError("The connection string names no Data Source.");
    target.path = *path;
  }
  const std::string_view provider = target.provider;
  bool create = true;
  if (const auto c = cs.get("Create")) {
    if (automation::equalsNoCase(*c, "yes") || automation::equalsNoCase(*c, "true"))
      create = true;
    else if (automation::equalsNoCase(*c, "no") || automation::equalsNoCase(*c, "false"))
      create = false;
    else
      providerError("Create must be Yes or No.", provider);
  }
  target.mode = create ? sql::OpenMode::CreateIfMissing : sql::OpenMode::OpenExisting;
  if (const auto m = cs.get("Mode")) {
    if (automation::equalsNoCase(*m, "read"))
      target.mode = sql::OpenMode::ReadOnly;
    else if (!automation::equalsNoCase(*m, "readwrite") &&
             !automation::equalsNoCase(*m, "read write") &&
             !automation::equalsNoCase(*m, "share deny none"))
      providerError("Mode must be Read or ReadWrite.", provider);
  }
  return target;
}

}  // namespace quillon::ado
