#include "platform/terminal_class.h"

#include "automation/class_registry.h"
#include "platform/terminal_session.h"

namespace quillon::platform {

using automation::Args;
using automation::MemberBuilder;
using automation::MemberTable;
using automation::Variant;

const MemberTable& Terminal::memberTable() const {
  static const MemberTable table =
      MemberBuilder<Terminal>("Terminal")
          .method("GetSessionID", {}, "String",
                  [](Terminal& self, Args&) -> Variant { return Variant(self.GetSessionID()); })
          .build();
  return table;
}

std::string Terminal::GetSessionID() const {
  return terminalSessionId();
}

void registerPlatformClasses(automation::ClassRegistry& registry) {
  registry.add<Terminal>(std::string(kTerminalProgId), std::string(kTerminalClsid));
}

}  // namespace quillon::platform
