#include <gtest/gtest.h>
#include <sys/utsname.h>

#include "automation/class_registry.h"
#include "platform/bell.h"
#include "platform/computer_name.h"
#include "platform/terminal_session.h"
#include "support/scratch_dir.h"

namespace quillon::platform {
namespace {

using test_support::EnvGuard;

TEST(ComputerName, IsTheHostName) {
  utsname names{};
  ASSERT_EQ(::uname(&names), 0);
  EXPECT_EQ(computerName(), computerNameFromBuffer(names.nodename));
  EXPECT_FALSE(computerName().empty());
}

TEST(ComputerName, BufferIsCutAtNulAndLength) {
  EXPECT_EQ(computerNameFromBuffer(std::string_view("PC-01\0garbage", 13)), "PC-01");
  EXPECT_EQ(computerNameFromBuffer(std::string(300, 'x')), std::string(255, 'x'));
  EXPECT_EQ(computerNameFromBuffer(std::string_view("\0PC", 3)), "");
}

TEST(TerminalSession, ComesFromTheEnvironment) {
  {
    EnvGuard session("QUILLON_TERMINAL_SESSION", "3");
    EXPECT_EQ(terminalSessionId(), "3");
  }
  {
    EnvGuard session("QUILLON_TERMINAL_SESSION", nullptr);
    EXPECT_EQ(terminalSessionId(), "");
  }
}

TEST(TerminalSession, TerminalClassAnswersByProgIdAndClsid) {
  automation::ClassRegistry registry;
  EXPECT_EQ(registry.find("TermMisc.Terminal"), nullptr);
  registerPlatformClasses(registry);

  automation::ObjectPtr terminal = registry.create("termmisc.TERMINAL");
  ASSERT_NE(terminal, nullptr);
  {
    EnvGuard session("QUILLON_TERMINAL_SESSION", "RDP-Tcp#7");
    EXPECT_EQ(terminal->call("GetSessionID"), automation::Variant("RDP-Tcp#7"));
    EXPECT_EQ(terminal->call("getsessionid").toString(), "RDP-Tcp#7");
  }
  {
    EnvGuard session("QUILLON_TERMINAL_SESSION", nullptr);
    EXPECT_EQ(terminal->call("GetSessionID"), automation::Variant(""));
  }
  ASSERT_NE(registry.find(kTerminalClsid), nullptr);
  EXPECT_EQ(registry.find(kTerminalClsid)->progId, "TermMisc.Terminal");
  EXPECT_TRUE(automation::ClassRegistry::isClsid(kTerminalClsid));
}

TEST(Bell, CountsEveryRingWhetherHeardOrNot) {
  SilentBell silent;
  silent.ring();
  silent.ring();
  EXPECT_EQ(silent.rings(), 2);

  // Under CTest there is usually no terminal; either way the ring is counted and nothing fails.
  TerminalBell bell;
  bell.ring();
  EXPECT_EQ(bell.rings(), 1);
  EXPECT_LE(bell.audible(), 1);
}

}  // namespace
}  // namespace quillon::platform
