// RegistryData: the in-memory form of the machine registry file — keys by path, string values by
// name. Key paths and value names compare without regard to ASCII case, as the platform's registry
// does; the spelling first used to create a key or value is the one kept.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace quillon::platform {

struct RegistryValue {
  std::string name;  // as first written
  std::string text;
};

struct RegistryKeyData {
  std::string path;                             // as first created, components joined by '\'
  std::map<std::string, RegistryValue> values;  // by folded name
};

// Splits a key path on '\', drops empty components (so "A\\B\" is "A\B") and joins it again.
// The empty path is the root key, which always exists.
std::string normalizeKeyPath(std::string_view path);

class RegistryData {
 public:
  bool hasKey(std::string_view path) const { return findKey(path) != nullptr; }
  const RegistryKeyData* findKey(std::string_view path) const;

  // Creates the key and any missing ancestors; returns the (possibly existing) key.
  RegistryKeyData& createKey(std::string_view path);

  std::optional<std::string> value(std::string_view keyPath, std::string_view name) const;
  // The key must exist; returns false when it does not.
  bool setValue(std::string_view keyPath, std::string_view name, std::string_view text);

  const std::map<std::string, RegistryKeyData>& keys() const { return keys_; }
  bool empty() const { return keys_.empty(); }

 private:
  std::map<std::string, RegistryKeyData> keys_;  // by folded, normalised path
};

}  // namespace quillon::platform
