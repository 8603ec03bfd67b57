#include "sql/locations.h"

#include <algorithm>
#include <vector>

#include "automation/text_compare.h"
#include "sql/storage.h"

namespace quillon::sql {

namespace {

bool sameKey(std::string_view key, std::string_view lowerName) {
  while (!key.empty() && (key.front() == ' ' || key.front() == '\t')) key.remove_prefix(1);
  while (!key.empty() && (key.back() == ' ' || key.back() == '\t')) key.remove_suffix(1);
  return automation::equalsNoCase(key, lowerName);
}

constexpr std::string_view kMask = "***";

using Ranges = std::vector<std::pair<std::size_t, std::size_t>>;  // [begin, end), in order

// Where the passwords of the server URIs in `text` stand (from `offset` on): after "user:" in
// the authority, and the value of a "password" query item.
void uriSecrets(std::string_view text, std::size_t offset, Ranges& secrets) {
  std::size_t scheme = text.find("://");
  while (scheme != std::string_view::npos) {
    const std::size_t authority = scheme + 3;
    // A blank or a quote ends a URI inside a longer text.
    std::size_t stop = text.find_first_of(" \t\"'", authority);
    if (stop == std::string_view::npos) stop = text.size();
    const std::string_view uri = text.substr(authority, stop - authority);
    const std::size_t hostEnd = std::min(uri.find_first_of("/?#"), uri.size());
    const std::size_t at = uri.substr(0, hostEnd).rfind('@');
    if (at != std::string_view::npos) {
      const std::size_t colon = uri.substr(0, at).find(':');
      if (colon != std::string_view::npos)
        secrets.emplace_back(offset + authority + colon + 1, offset + authority + at);
    }
    const std::size_t query = uri.find('?');
    const std::size_t queryEnd = std::min(uri.find('#'), uri.size());
    for (std::size_t item = query; item != std::string_view::npos && item < queryEnd;) {
      ++item;
      const std::size_t next = std::min(uri.find('&', item), queryEnd);
      const std::size_t eq = uri.substr(item, next - item).find('=');
      if (eq != std::string_view::npos && sameKey(uri.substr(item, eq), "password"))
        secrets.emplace_back(offset + authority + item + eq + 1, offset + authority + next);
      item = next < queryEnd ? next : std::string_view::npos;
    }
    scheme = text.find("://", stop);
  }
}

// Where the passwords of a connection text stand: a URI's, or a connection string's Password /
// PWD values and the passwords of the URIs in its other values.
Ranges secretsOf(std::string_view text) {
  Ranges secrets;
  std::size_t first = 0;
  while (first < text.size() && (text[first] == ' ' || text[first] == '\t')) ++first;
  if (namesServer(text.substr(first))) {
    uriSecrets(text, 0, secrets);
    return secrets;
  }
  // Key=Value items separated by ";", as connection strings are read: a value may be quoted with
  // " or ' (a doubled quote stands for one) to hold ";".
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t eq = text.find('=', pos);
    const std::size_t semi = text.find(';', pos);
    if (eq == std::string_view::npos || (semi != std::string_view::npos && semi < eq)) {
      const std::size_t end = semi == std::string_view::npos ? text.size() : semi + 1;
      uriSecrets(text.substr(pos, end - pos), pos, secrets);
      pos = end;
      continue;
    }
    const std::string_view key = text.substr(pos, eq - pos);
    std::size_t p = eq + 1;
    while (p < text.size() && (text[p] == ' ' || text[p] == '\t')) ++p;
    std::size_t end = p;
    if (p < text.size() && (text[p] == '"' || text[p] == '\'')) {
      const char quote = text[p];
      end = p + 1;
      while (end < text.size()) {
        if (text[end] == quote) {
          if (end + 1 < text.size() && text[end + 1] == quote) {
            end += 2;
            continue;
          }
          ++end;
          break;
        }
        ++end;
      }
    }
    // Whatever follows a closing quote belongs to the item.
    const std::size_t rest = text.find(';', end);
    end = rest == std::string_view::npos ? text.size() : rest;
    if ((sameKey(key, "password") || sameKey(key, "pwd")) && end > p) {
      secrets.emplace_back(p, end);
    } else {
      uriSecrets(text.substr(p, end - p), p, secrets);
    }
    pos = end + 1;
  }
  return secrets;
}

std::string masked(std::string_view text, const Ranges& secrets) {
  std::string out;
  std::size_t from = 0;
  for (const auto& [begin, end] : secrets) {
    out.append(text.substr(from, begin - from));
    out.append(kMask);
    from = end;
  }
  out.append(text.substr(from));
  return out;
}

void replaceAll(std::string& text, std::string_view what) {
  if (what.empty()) return;
  for (std::size_t at = text.find(what); at != std::string::npos;
       at = text.find(what, at + kMask.size())) {
    text.replace(at, what.size(), kMask);
  }
}

}  // namespace

std::string maskPassword(std::string_view text) {
  return masked(text, secretsOf(text));
}

std::string maskPasswordIn(std::string_view message, std::string_view connectionText) {
  std::string out = maskPassword(message);
  for (const auto& [begin, end] : secretsOf(connectionText)) {
    std::string_view secret = connectionText.substr(begin, end - begin);
    // A quoted value is masked with its quotes, and found in a message without them too.
    if (secret.size() >= 2 && (secret.front() == '"' || secret.front() == '\'') &&
        secret.back() == secret.front())
      secret = secret.substr(1, secret.size() - 2);
    replaceAll(out, secret);
    if (secret.find('%') != std::string_view::npos) replaceAll(out, percentDecoded(secret));
  }
  return out;
}

std::string percentDecoded(std::string_view s) {
  const auto hex = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const int high = s[i] == '%' && i + 2 < s.size() ? hex(s[i + 1]) : -1;
    const int low = high >= 0 ? hex(s[i + 2]) : -1;
    if (low >= 0) {
      out += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

bool namesServer(std::string_view location) {
  return location.starts_with("postgresql://") || location.starts_with("postgres://");
}

const Storage& storageOf(std::string_view location) {
  return namesServer(location) ? serverStorage() : fileStorage();
}

Location::Location(std::string text) : Location(text, storageOf(text)) {}

Location Location::onServer(std::string_view host, std::string_view port, std::string_view database,
                            std::string_view user, std::string_view password,
                            int connectionTimeout) {
  return Location(serverLocation(host, port, database, user, password, connectionTimeout),
                  serverStorage());
}

std::string Location::shown() const {
  return maskPassword(text_);
}

Engine Location::engine() const {
  return storage_->engine();
}

std::unique_ptr<Database> Location::open(OpenMode mode, int busyTimeoutMs) const {
  return storage_->open(text_, mode, busyTimeoutMs);
}

std::string Location::subject() const {
  return storage_->subject(shown());
}

std::string Location::existsText() const {
  return storage_->existsText(text_);
}

std::string Location::name() const {
  return storage_->name(text_);
}

std::string Location::stem() const {
  return storage_->stem(text_);
}

std::string Location::resolved() const {
  return storage_->resolved(text_);
}

Location Location::sibling(std::string_view suffix) const {
  return Location(storage_->sibling(text_, suffix), *storage_);
}

Location Location::withDatabaseName(std::string_view name) const {
  return Location(storage_->withDatabaseName(text_, name), *storage_);
}

Location Location::withLogin(std::string_view user, std::string_view password,
                             int connectionTimeout) const {
  return Location(storage_->withLogin(text_, user, password, connectionTimeout), *storage_);
}

bool Location::exists() const {
  return storage_->exists(text_);
}

bool Location::knownMissing() const {
  return storage_->knownMissing(text_);
}

bool Location::copiesFreely() const {
  return storage_->copiesFreely();
}

DatabaseContents Location::contents() const {
  return storage_->contents(text_);
}

void Location::drop() const {
  storage_->drop(text_);
}

void Location::renameTo(const Location& to) const {
  storage_->rename(text_, to.text_);
}

void Location::copyTo(const Location& to) const {
  storage_->copy(text_, to.text_);
}

}  // namespace quillon::sql
