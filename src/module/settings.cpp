#include "module/settings.h"

#include <memory>

#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "components/xp_style.h"
#include "forms/form.h"
#include "forms/toolbar.h"
#include "forms/ui_host.h"
#include "platform/computer_name.h"
#include "platform/registry.h"
#include "platform/terminal_session.h"
#include "sql/sql_text.h"

namespace quillon::module {

namespace {

constexpr std::size_t kToolbarStyleChars = 128;

// What a style component sees of a form: its name and caption, read late-bound. The form
// outlives the hook call, which is the only time the handle is used.
class FormHandle final : public automation::Object {
 public:
  explicit FormHandle(forms::Form& form) : form_(form) {}
  const automation::MemberTable& memberTable() const override {
    static const automation::MemberTable table =
        automation::MemberBuilder<FormHandle>("Form")
            .getter("Name", "String",
                    [](FormHandle& self, automation::Args&) -> automation::Variant {
                      return automation::Variant(self.form_.Name());
                    })
            .getter("Caption", "String",
                    [](FormHandle& self, automation::Args&) -> automation::Variant {
                      return automation::Variant(self.form_.Caption());
                    })
            .build();
    return table;
  }

 private:
  forms::Form& form_;
};

}  // namespace

int ToolbarStyle() {
  const auto registry = platform::Registry::machine();
  platform::RegistryKey key;
  if (registry.openKey(kAppearanceKey, platform::RegAccess::Read, key) !=
      platform::RegStatus::Success) {
    return 1;
  }
  std::string text;
  const auto status = key.queryString(kToolbarStyleValue, text, kToolbarStyleChars);
  key.close();
  if (status != platform::RegStatus::Success) return 1;
  return !text.empty() && text.front() == 'T' ? 1 : 2;
}

void ApplyToolbarStyle(forms::CTBCtrl& suiteToolbar, forms::Toolbar& buttons) {
  const bool suiteStyle = ToolbarStyle() == 1;
  if (suiteStyle) {
    suiteToolbar.setToolbar(&buttons);
    suiteToolbar.setStyle(1);
  }
  suiteToolbar.setVisible(suiteStyle);
  buttons.setVisible(!suiteStyle);
}

void WriteRegistry(std::string_view keyPath, std::string_view valueName, std::string_view text) {
  auto registry = platform::Registry::machine();
  platform::RegistryKey key;
  if (registry.openKey(keyPath, platform::RegAccess::Write, key) != platform::RegStatus::Success &&
      registry.createKey(keyPath, key) != platform::RegStatus::Success) {
    return;
  }
  key.setString(valueName, text);
  key.close();
}

std::string AccountParameterQuery(std::string_view sysId, std::string_view name) {
  return "select isnull(cValue,isnull(cDefault,'')) as cValue from accinformation where cname=" +
         sql::literal(name) + " and csysid = " + sql::literal(sysId);
}

bool GetAccountParameter(std::string_view sysId, std::string_view name, std::string& value,
                         ado::Connection& connection) {
  const std::string sql = AccountParameterQuery(sysId, name);
  ado::Recordset rs;
  rs.open(automation::Variant(sql), automation::Variant(connection.self()), ado::adOpenStatic,
          ado::adLockReadOnly);
  bool found = false;
  if (rs.isOpen()) {
    if (!rs.eof()) {
      value = rs.value("cValue").displayText();
      found = true;
    }
    rs.close();
  }
  return found;
}

std::string WorkTableSuffix() {
  std::string sessionId;
  try {
    sessionId =
        automation::CreateObject(platform::kTerminalProgId)->call("GetSessionID").toString();
  } catch (...) {
    // The terminal component is optional: without it two sessions on one computer are simply
    // not told apart.
    sessionId.clear();
  }
  // Both parts come from outside the account (the host name may hold dots, a session id "#" or
  // quotes); as one name they stay a valid table name that differs from desk to desk.
  return sql::identifier(platform::computerName() + "_" + sessionId);
}

void ApplyDialogStyle(forms::Form& form) {
  auto proxy = automation::CreateObject(components::kXPStyleProgId);
  auto handle = std::make_shared<FormHandle>(form);
  const std::string answer =
      proxy->call("setfrmform", {automation::Variant(automation::ObjectPtr(handle))}).toString();
  if (!answer.empty()) forms::MsgBox(answer);
}

}  // namespace quillon::module
