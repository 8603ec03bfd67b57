#include "module/registry_view_settings.h"

#include <optional>
#include <vector>

#include "components/marlin_login.h"
#include "components/session_context.h"
#include "forms/view_settings.h"
#include "module/module_state.h"
#include "module/settings.h"
#include "platform/registry.h"

namespace quillon::module {

namespace {

std::string keyPart(std::string_view name) {
  std::string part(name);
  for (char& ch : part) {
    if (ch == '\\') ch = '_';
  }
  return part;
}

std::string sessionUser() {
  if (!gContext) return {};
  const auto login = gContext->login();
  return login ? login->userId() : std::string();
}

class RegistrySettings final : public forms::ViewSettings {
 public:
  std::optional<std::string> read(std::string_view form, std::string_view item) override {
    const std::string user = sessionUser();
    if (user.empty()) return std::nullopt;
    auto registry = platform::Registry::machine();
    platform::RegistryKey key;
    if (registry.openKey(LayoutKeyOf(user, form), platform::RegAccess::Read, key) !=
        platform::RegStatus::Success) {
      return std::nullopt;
    }
    std::string text;
    if (key.queryString(item, text) != platform::RegStatus::Success) return std::nullopt;
    return text;
  }

  void write(std::string_view form, std::string_view item, std::string_view text) override {
    const std::string user = sessionUser();
    if (user.empty()) return;
    WriteRegistry(LayoutKeyOf(user, form), item, text);
  }

  void writeAll(std::string_view form, const std::vector<Item>& items) override {
    const std::string user = sessionUser();
    if (user.empty() || items.empty()) return;
    std::vector<platform::RegistryKey::NamedText> values;
    values.reserve(items.size());
    for (const auto& [item, text] : items) values.push_back({item, text});
    auto registry = platform::Registry::machine();
    platform::RegistryKey key;
    const std::string path = LayoutKeyOf(user, form);
    if (registry.openKey(path, platform::RegAccess::Write, key) != platform::RegStatus::Success &&
        registry.createKey(path, key) != platform::RegStatus::Success) {
      return;
    }
    key.setStrings(values);
  }
};

}  // namespace

std::string LayoutKeyOf(std::string_view user, std::string_view form) {
  return std::string(kLayoutKey) + "\\" + keyPart(user) + "\\" + keyPart(form);
}

std::shared_ptr<forms::ViewSettings> RegistryViewSettings() {
  return std::make_shared<RegistrySettings>();
}

void InstallViewSettings() {
  if (!forms::currentViewSettings()) forms::setViewSettings(RegistryViewSettings());
}

}  // namespace quillon::module
