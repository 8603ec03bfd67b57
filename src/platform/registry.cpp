#include "platform/registry.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "automation/utf8.h"
#include "platform/registry_file.h"
#include "platform/registry_format.h"

namespace quillon::platform {
namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

std::filesystem::path homeFolder() {
  if (std::string home = environment("HOME"); !home.empty()) return home;
  // No HOME (a service, a stripped environment): ask the password database.
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
      found != nullptr && found->pw_dir != nullptr)
    return found->pw_dir;
  return {};
}

}  // namespace

std::filesystem::path defaultRegistryPath() {
  if (std::string path = environment("QUILLON_REGISTRY"); !path.empty()) return path;
  // The XDG rules ignore a relative XDG_CONFIG_HOME.
  if (std::string config = environment("XDG_CONFIG_HOME"); !config.empty() && config.front() == '/')
    return std::filesystem::path(config) / "quillon" / "registry";
  std::filesystem::path home = homeFolder();
  if (home.empty()) return {};
  return home / ".config" / "quillon" / "registry";
}

std::string cutToChars(std::string_view text, std::size_t maxChars) {
  return std::string(text.substr(0, automation::utf8::byteOffset(text, maxChars)));
}

RegStatus RegistryKey::queryString(std::string_view valueName, std::string& text,
                                   std::size_t maxChars) const {
  if (!open_) return RegStatus::InvalidHandle;
  const RegistryData data = loadRegistryFile(file_);
  auto value = data.value(path_, valueName);
  if (!value) return RegStatus::FileNotFound;
  text = cutToChars(*value, maxChars);
  return RegStatus::Success;
}

RegStatus RegistryKey::setString(std::string_view valueName, std::string_view text) {
  const NamedText value{valueName, text};
  return setStrings(std::span<const NamedText>(&value, 1));
}

RegStatus RegistryKey::setStrings(std::span<const NamedText> values) {
  if (!open_) return RegStatus::InvalidHandle;
  if (access_ != RegAccess::Write) return RegStatus::AccessDenied;
  for (const NamedText& value : values) {
    if (!automation::utf8::isWellFormed(value.name) || !automation::utf8::isWellFormed(value.text))
      return RegStatus::InvalidParameter;
  }
  const UpdateResult result = updateRegistryFile(file_, [&](RegistryData& data) {
    bool changed = !data.hasKey(path_);
    data.createKey(path_);
    for (const NamedText& value : values) {
      if (data.value(path_, value.name) == value.text) continue;
      data.setValue(path_, value.name, value.text);
      changed = true;
    }
    return changed;
  });
  return result == UpdateResult::Failed ? RegStatus::AccessDenied : RegStatus::Success;
}

void RegistryKey::close() {
  open_ = false;
  file_.clear();
  path_.clear();
}

RegStatus Registry::openKey(std::string_view path, RegAccess access, RegistryKey& key) const {
  key.close();
  const RegistryData data = loadRegistryFile(file_);
  const RegistryKeyData* found = data.findKey(path);
  if (found == nullptr) return RegStatus::FileNotFound;
  key = RegistryKey(file_, normalizeKeyPath(path), access);
  return RegStatus::Success;
}

RegStatus Registry::createKey(std::string_view path, RegistryKey& key) {
  key.close();
  if (!automation::utf8::isWellFormed(path)) return RegStatus::InvalidParameter;
  const UpdateResult result = updateRegistryFile(file_, [&](RegistryData& data) {
    if (data.findKey(path) != nullptr) return false;  // already there (the root always is)
    data.createKey(path);
    return true;
  });
  if (result == UpdateResult::Failed) return RegStatus::AccessDenied;
  key = RegistryKey(file_, normalizeKeyPath(path), RegAccess::Write);
  return RegStatus::Success;
}

}  // namespace quillon::platform
