// "XPStyle.clsXPStyleProxy": setfrmform(frm) As String. There is no desktop theme to apply on this
// platform, so every form is accepted as it is and the answer is "" (nothing to report).
#pragma once

#include "automation/dispatch.h"

namespace quillon::components::suite {

class XPStyleProxy final : public automation::Object {
 public:
  const automation::MemberTable& memberTable() const override;
};

}  // namespace quillon::components::suite
