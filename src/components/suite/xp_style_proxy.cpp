#include "components/suite/xp_style_proxy.h"

namespace quillon::components::suite {

const automation::MemberTable& XPStyleProxy::memberTable() const {
  static const automation::MemberTable table =
      automation::MemberBuilder<XPStyleProxy>("clsXPStyleProxy")
          .method("setfrmform", {automation::in("frm", "Object")}, "String",
                  [](XPStyleProxy&, automation::Args&) -> automation::Variant {
                    return automation::Variant("");
                  })
          .build();
  return table;
}

}  // namespace quillon::components::suite
