#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "ado/connection.h"
#include "automation/class_registry.h"
#include "automation/com_error.h"
#include "components/registration.h"
#include "components/session_context.h"
#include "components/xp_style.h"
#include "forms/form.h"
#include "forms/view_settings.h"
#include "module/module_state.h"
#include "module/registry_view_settings.h"
#include "module/session.h"
#include "module/settings.h"
#include "module_fixture.h"
#include "platform/computer_name.h"
#include "platform/registry.h"
#include "platform/terminal_session.h"
#include "script/scripted_ui_host.h"
#include "sql/sql_text.h"

namespace quillon::module {
namespace {

void setToolbarStyle(const char* text) {
  WriteRegistry(kAppearanceKey, kToolbarStyleValue, text);
}

TEST(ModuleSettings, ToolbarStyleFollowsTheRegistryValue) {
  testing::demoDbPath();  // private registry file
  std::filesystem::remove(platform::defaultRegistryPath());
  EXPECT_EQ(ToolbarStyle(), 1) << "missing key";

  // A key without the value is still the default style.
  WriteRegistry(kAppearanceKey, "Other", "x");
  EXPECT_EQ(ToolbarStyle(), 1) << "missing value";

  setToolbarStyle("Toolbar");
  EXPECT_EQ(ToolbarStyle(), 1);
  setToolbarStyle("Standard");
  EXPECT_EQ(ToolbarStyle(), 2);
  setToolbarStyle("toolbar");  // only a capital T counts
  EXPECT_EQ(ToolbarStyle(), 2);
  setToolbarStyle("");
  EXPECT_EQ(ToolbarStyle(), 2);
}

TEST(ModuleSettings, DrawnWindowsKeepTheirArrangementPerUserInTheRegistry) {
  testing::openSessionAs("demo");
  // A session installs the registry as the store of the drawn windows; one of its own stays.
  ASSERT_NE(forms::currentViewSettings(), nullptr);
  auto settings = forms::currentViewSettings();
  settings->write("frmCons", "lstFhdBody", "批号=900/0");
  EXPECT_EQ(settings->read("frmCons", "lstFhdBody"), std::optional<std::string>("批号=900/0"));
  EXPECT_EQ(LayoutKeyOf("demo", "frmCons"),
            "SOFTWARE\\Brindle\\WF\\V8.520\\Quillon\\Layout\\demo\\frmCons");
  EXPECT_EQ(LayoutKeyOf("a\\b", "frm"), std::string(kLayoutKey) + "\\a_b\\frm");
  platform::RegistryKey key;
  ASSERT_EQ(platform::Registry::machine().openKey(LayoutKeyOf("demo", "frmCons"),
                                                  platform::RegAccess::Read, key),
            platform::RegStatus::Success);

  // Another user has an arrangement of his own.
  testing::openSessionAs("clerk");
  EXPECT_EQ(forms::currentViewSettings(), settings);
  EXPECT_EQ(settings->read("frmCons", "lstFhdBody"), std::nullopt);
  settings->write("frmCons", "lstFhdBody", "批号=1200/0");
  testing::openSessionAs("demo");
  EXPECT_EQ(settings->read("frmCons", "lstFhdBody"), std::optional<std::string>("批号=900/0"));

  // Without a session nothing is read or written.
  const auto session = gContext;
  gContext.reset();
  settings->write("frmCons", "Window", "1,2,3,4");
  EXPECT_EQ(settings->read("frmCons", "Window"), std::nullopt);
  gContext = session;
  EXPECT_EQ(settings->read("frmCons", "Window"), std::nullopt);
}

TEST(ModuleSettings, RegistryWriteCreatesTheKeyAndReplacesValues) {
  testing::demoDbPath();
  WriteRegistry(kChoicesKey, "orderform", "1");
  WriteRegistry(kChoicesKey, "orderform", "2");
  auto registry = platform::Registry::machine();
  platform::RegistryKey key;
  ASSERT_EQ(registry.openKey(kChoicesKey, platform::RegAccess::Read, key),
            platform::RegStatus::Success);
  std::string text;
  EXPECT_EQ(key.queryString("orderform", text), platform::RegStatus::Success);
  EXPECT_EQ(text, "2");
}

TEST(ModuleSettings, AccountParameterFallsBackToItsDefaultAndReportsMissingRows) {
  auto connection = testing::openSessionAs("demo");
  connection->execute(
      "delete from accinformation where cSysID = 'st' and cName = 'ModuleTestParam';"
      "insert into accinformation (cSysID, cName, cValue, cDefault) "
      "values ('st', 'ModuleTestParam', NULL, '1')");

  std::string value = "untouched";
  EXPECT_TRUE(GetAccountParameter("st", "ModuleTestParam", value, *connection));
  EXPECT_EQ(value, "1");

  value = "untouched";
  EXPECT_FALSE(GetAccountParameter("st", "NoSuchParameter", value, *connection));
  EXPECT_EQ(value, "untouched");
  // The subsystem code is part of the key.
  EXPECT_FALSE(GetAccountParameter("om", "ModuleTestParam", value, *connection));
  EXPECT_EQ(value, "untouched");
  // A quote in a name or a code is part of it, never the end of the literal.
  EXPECT_FALSE(GetAccountParameter("om' or '1'='1", "ModuleTestParam", value, *connection));
  EXPECT_FALSE(GetAccountParameter("st", "x' or cName like '%", value, *connection));
  EXPECT_EQ(value, "untouched");

  connection->execute(
      "delete from accinformation where cSysID = 'st' and cName = 'ModuleTestParam'");
}

TEST(ModuleSettings, WorkTableSuffixWithAndWithoutATerminalSession) {
  const std::string machine = sql::identifier(platform::computerName());
  const auto isName = [](const std::string& name) {
    return std::all_of(name.begin(), name.end(), [](char c) {
      return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    });
  };

  testing::demoDbPath();  // the suite's classes are registered
  ::unsetenv("QUILLON_TERMINAL_SESSION");
  EXPECT_EQ(WorkTableSuffix(), machine + "_");
  ::setenv("QUILLON_TERMINAL_SESSION", "3", 1);
  EXPECT_EQ(WorkTableSuffix(), machine + "_3");

  // Session ids from outside: each a valid name of its own.
  std::set<std::string> seen;
  for (const char* id : {"rdp-7", "RDP-Tcp#3", "RDP-Tcp#4", "it's", "a b", "x; drop table t --"}) {
    ::setenv("QUILLON_TERMINAL_SESSION", id, 1);
    const std::string suffix = WorkTableSuffix();
    EXPECT_TRUE(isName(suffix)) << suffix;
    EXPECT_EQ(suffix.rfind(machine + "_", 0), 0u) << suffix;
    EXPECT_TRUE(seen.insert(suffix).second) << suffix;
  }

  // Without the terminal component the session is simply not told apart.
  auto& registry = automation::classRegistry();
  registry.remove(platform::kTerminalProgId);
  EXPECT_EQ(WorkTableSuffix(), machine + "_");
  platform::registerPlatformClasses(registry);
  ::unsetenv("QUILLON_TERMINAL_SESSION");
}

TEST(ModuleSession, OpeningASessionReplacesTheContextAndFillsItsProfile) {
  auto first = testing::openSessionAs("demo");
  auto demoContext = gContext;
  ASSERT_TRUE(demoContext);
  EXPECT_TRUE(first->isOpen());
  ASSERT_TRUE(demoContext->profile());
  EXPECT_TRUE(demoContext->profile()->filled());
  EXPECT_EQ(demoContext->profile()->userId(), "demo");

  auto second = testing::openSessionAs("clerk");
  EXPECT_NE(gContext, demoContext);
  EXPECT_EQ(gContext->profile()->userId(), "clerk");
  EXPECT_NE(first, second);

  // A missing login is an error, and the current context stays.
  const auto before = gContext;
  EXPECT_THROW((void)OpenSession(nullptr), automation::ComError);
  EXPECT_EQ(gContext, before);
}

}  // namespace
}  // namespace quillon::module

namespace quillon::module {
namespace {

class StyledForm : public forms::Form {
 public:
  StyledForm() : Form("frmStyled", "标题") {}
};

// A style component that has something to say about every form it is given.
class TalkativeStyle : public automation::Object {
 public:
  const automation::MemberTable& memberTable() const override {
    static const automation::MemberTable table =
        automation::MemberBuilder<TalkativeStyle>("TalkativeStyle")
            .method("setfrmform", {automation::in("frm", "Object")}, "String",
                    [](TalkativeStyle&, automation::Args& a) -> automation::Variant {
                      return automation::Variant("styled " + a.object(0)->get("Name").toString() +
                                                 " " + a.object(0)->get("Caption").toString());
                    })
            .build();
    return table;
  }
};

TEST(ModuleSettings, DialogStyleHookShowsWhatTheComponentSays) {
  testing::demoDbPath();
  auto host = std::make_shared<script::ScriptedUiHost>();
  forms::ScopedUiHost scoped(host);
  StyledForm form;
  auto& registry = automation::classRegistry();

  ApplyDialogStyle(form);  // the suite's component has nothing to report
  EXPECT_FALSE(host->lastMessage().has_value());

  registry.add<TalkativeStyle>(std::string(components::kXPStyleProgId));
  ApplyDialogStyle(form);
  ASSERT_TRUE(host->lastMessage().has_value());
  EXPECT_EQ(*host->lastMessage(), "styled frmStyled 标题");

  // Without the component the dialog's load fails with the creation error.
  registry.remove(components::kXPStyleProgId);
  try {
    ApplyDialogStyle(form);
    ADD_FAILURE() << "no error without the component";
  } catch (const automation::ComError& e) {
    EXPECT_EQ(e.number(), automation::err::kCantCreateObject);
  }
  components::registerClasses(registry);
}

}  // namespace
}  // namespace quillon::module
