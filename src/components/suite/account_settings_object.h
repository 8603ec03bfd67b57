// The account-settings object of a session: account parameters read by name from the parameter
// table, late-bound (settings.QuanDecDgt) or typed (setting("QuanDecDgt")). Values are read on
// every access, never cached.
//
// A name is looked up under the stock subsystem ("st") first, then under any subsystem. Known
// settings have a type and a default used when the account has no row:
//   QuanDecDgt, NumDecDgt, ExchRateDecDgt          Long     2, 2, 4
//   FormatQuanDecString, FormatNumDecString,
//   FormatExchDecString                            String   "##0." + one "0" per decimal place
//   SysVersion                                     String   "工业"
//   BatchOut, InOutTrace                           String   "手工确定"
//   OverDispOut, OverOrder, CheckWareInv,
//   bBOMSpreadNotByFree, bOMInNeedOut, bOMZGInstal Boolean  False ("true", "1", "-1" are True)
// Any other name the account has gives its text; a name it lacks raises 438.
#pragma once

#include <memory>
#include <string_view>

#include "components/session_context.h"

namespace quillon::ado {
class Connection;
}

namespace quillon::components::suite {

class AccountSettingsObject final : public AccountSettings {
 public:
  explicit AccountSettingsObject(std::shared_ptr<ado::Connection> connection);

  automation::Variant setting(std::string_view name) override;

  const automation::MemberTable& memberTable() const override;
  std::optional<automation::Variant> invokeDynamic(std::string_view name,
                                                   automation::InvokeKind kind,
                                                   std::span<automation::Variant> args) override;

 private:
  std::optional<std::string> rawValue(std::string_view name);

  std::shared_ptr<ado::Connection> connection_;
};

// The option texts that count as True.
bool optionIsOn(std::string_view text);

}  // namespace quillon::components::suite
