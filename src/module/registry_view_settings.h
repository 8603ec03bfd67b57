// Where the drawn windows keep their arrangement per user: the machine registry, one key per
// user of the session (gContext's user) and form, under kLayoutKey — "…\Layout\demo\<form name>".
// Without a session, or a user, nothing is read or written.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace quillon::forms {
class ViewSettings;
}

namespace quillon::module {

inline constexpr std::string_view kLayoutKey = "SOFTWARE\\Brindle\\WF\\V8.520\\Quillon\\Layout";

// The key of a user's arrangement of a form ("\" in either name becomes "_").
std::string LayoutKeyOf(std::string_view user, std::string_view form);

std::shared_ptr<forms::ViewSettings> RegistryViewSettings();

// Makes the registry the store of the drawn windows, unless a store is installed already (a test's,
// or this one from an earlier session).
void InstallViewSettings();

}  // namespace quillon::module
