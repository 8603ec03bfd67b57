#include "produce_order_fixture.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "classes/registration.h"
#include "components/registration.h"
#include "db/demo_data.h"
#include "forms/form.h"
#include "forms/menu.h"
#include "platform/terminal_session.h"

namespace quillon::dialogs::testing {

namespace {

struct Environment {
  std::filesystem::path dir;
  std::string path;
  Environment() {
    dir = std::filesystem::temp_directory_path() /
          ("quillon-produce-order-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    ::setenv("QUILLON_REGISTRY", (dir / "registry").c_str(), 1);
    path = (dir / "demo.db").string();
    db::createDemoDatabase(path, 1, true);
    auto& registry = automation::classRegistry();
    automation::registerAutomationClasses(registry);
    platform::registerPlatformClasses(registry);
    ado::registerAdoClasses(registry);
    components::registerClasses(registry);
    classes::registerLibraryClasses(registry);
  }
  ~Environment() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
};

Environment& environment() {
  static Environment env;
  return env;
}

}  // namespace

const std::string& demoPath() {
  return environment().path;
}

std::string demoCopy(const std::string& name) {
  auto target = environment().dir / (name + ".db");
  std::filesystem::copy_file(demoPath(), target, std::filesystem::copy_options::overwrite_existing);
  return target.string();
}

std::shared_ptr<components::suite::Login> loginAs(const std::string& user,
                                                  const std::string& path) {
  return components::suite::Login::open(path, user, automation::DateValue{46361.0});
}

void DriverHost::runModal(forms::Form& form) {
  if (drive) drive(form);
  if (form.Visible()) form.userClose();
}

int DriverHost::messageBox(const forms::MessageBoxRequest& request) {
  messages.push_back(request);
  return request.defaultAnswer();
}

std::optional<std::vector<int>> DriverHost::lookupList(const forms::LookupRequest& request) {
  lookups.push_back(request);
  if (picks.empty()) return std::nullopt;
  auto answer = picks.front();
  picks.pop_front();
  return answer;
}

forms::Menu* DriverHost::popupMenu(forms::Form&, forms::Menu& menu) {
  popups.push_back(menu.Name());
  for (forms::Menu* item : menu.items()) {
    if (item->Name() == popupChoice) return item;
  }
  return nullptr;
}

}  // namespace quillon::dialogs::testing
