#include "platform/registry_data.h"

#include "automation/text_compare.h"

namespace quillon::platform {

// Key and value names match without regard to ASCII case, as the platform's registry matches them.
using automation::asciiLower;

std::string normalizeKeyPath(std::string_view path) {
  std::string out;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) {
      if (!out.empty()) out += '\\';
      out.append(path.substr(start, end - start));
    }
    start = end + 1;
  }
  return out;
}

const RegistryKeyData* RegistryData::findKey(std::string_view path) const {
  const std::string normal = normalizeKeyPath(path);
  // The root exists even in an empty registry, so a host may always open it.
  static const RegistryKeyData kEmptyRoot{};
  auto it = keys_.find(asciiLower(normal));
  if (it != keys_.end()) return &it->second;
  return normal.empty() ? &kEmptyRoot : nullptr;
}

RegistryKeyData& RegistryData::createKey(std::string_view path) {
  const std::string normal = normalizeKeyPath(path);
  RegistryKeyData* key = nullptr;
  std::size_t pos = 0;
  // Every ancestor becomes a key of its own, so opening a parent of a created key succeeds.
  while (true) {
    std::size_t end = normal.find('\\', pos);
    const std::string prefix = normal.substr(0, end);
    auto [it, inserted] = keys_.try_emplace(asciiLower(prefix));
    if (inserted) it->second.path = prefix;
    key = &it->second;
    if (end == std::string::npos) break;
    pos = end + 1;
  }
  return *key;
}

std::optional<std::string> RegistryData::value(std::string_view keyPath,
                                               std::string_view name) const {
  const RegistryKeyData* key = findKey(keyPath);
  if (key == nullptr) return std::nullopt;
  auto it = key->values.find(asciiLower(name));
  if (it == key->values.end()) return std::nullopt;
  return it->second.text;
}

bool RegistryData::setValue(std::string_view keyPath, std::string_view name,
                            std::string_view text) {
  auto it = keys_.find(asciiLower(normalizeKeyPath(keyPath)));
  if (it == keys_.end()) {
    if (!normalizeKeyPath(keyPath).empty()) return false;
    it = keys_.try_emplace(std::string()).first;
  }
  auto [vit, inserted] = it->second.values.try_emplace(asciiLower(name));
  if (inserted) vit->second.name = std::string(name);
  vit->second.text = std::string(text);
  return true;
}

}  // namespace quillon::platform
