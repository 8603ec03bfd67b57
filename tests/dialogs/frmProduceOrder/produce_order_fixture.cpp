#include "produce_order_fixture.h"

#include "automation/class_registry.h"
#include "classes/registration.h"
#include "forms/form.h"
#include "forms/menu.h"
#include "support/demo_account.h"

namespace quillon::dialogs::testing {

const std::string& demoPath() {
  return test_support::demoAccount(classes::registerAllClasses).path();
}

std::string demoCopy(const std::string& name) {
  return test_support::demoAccount(classes::registerAllClasses).copy(name);
}

std::shared_ptr<components::suite::Login> loginAs(const std::string& user,
                                                  const std::string& path) {
  return test_support::loginAs(user, path);
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
