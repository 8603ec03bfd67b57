// "TermMisc.Terminal": the late-bound face of the terminal session (terminal_session.h).
#pragma once

#include "automation/dispatch.h"

namespace quillon::platform {

class Terminal : public automation::Object {
 public:
  const automation::MemberTable& memberTable() const override;
  // Read on every call, so a launcher's setting is seen even by an object made before it.
  std::string GetSessionID() const;
};

}  // namespace quillon::platform
