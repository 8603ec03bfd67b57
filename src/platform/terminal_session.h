// The terminal session of this process, which keeps two sessions on one computer from sharing
// per-workstation work tables.
//
// The identifier comes from the environment variable QUILLON_TERMINAL_SESSION (empty when it is not
// set). A launcher that starts several sessions of the suite on one machine — one per remote
// desktop, say — sets it to a distinct text for each.
//
// It is offered to the library's code as the late-bound class "TermMisc.Terminal", whose member
// "GetSessionID" returns the identifier; registerPlatformClasses adds that class to a class
// registry.
#pragma once

#include <string>
#include <string_view>

namespace quillon::automation {
class ClassRegistry;
}

namespace quillon::platform {

inline constexpr std::string_view kTerminalSessionVariable = "QUILLON_TERMINAL_SESSION";
inline constexpr std::string_view kTerminalProgId = "TermMisc.Terminal";
inline constexpr std::string_view kTerminalClsid = "{6B1F0E52-9C3A-4D7E-8A21-5F0C3D94B7E6}";

std::string terminalSessionId();

// Registers the platform's creatable classes: "TermMisc.Terminal".
void registerPlatformClasses(automation::ClassRegistry& registry);

}  // namespace quillon::platform
