#include "platform/clock.h"

#include <gtest/gtest.h>

#include "support/scratch_dir.h"

namespace quillon::platform {
namespace {

using test_support::EnvGuard;

TEST(Clock, PinnedClockStandsStill) {
  Clock clock;
  EXPECT_FALSE(clock.isPinned());
  auto moment = parseLocalTime("2026-12-05 10:30:00");
  ASSERT_TRUE(moment);
  clock.pin(*moment);
  EXPECT_EQ(clock.now(), *moment);
  EXPECT_DOUBLE_EQ(clock.nowAsDate().serial, 46361.4375);  // 10:30 is 0.4375 of a day
  clock.unpin();
  EXPECT_NE(clock.now(), *moment);
}

TEST(Clock, LocalTimesConvertToAutomationDates) {
  // Local in, local out: the result does not depend on the time zone of the machine.
  struct Case {
    const char* text;
    double serial;
  };
  for (const Case& c : {Case{"1899-12-30", 0.0}, Case{"1900-01-01", 2.0},
                        Case{"2000-02-29 18:00:00", 36585.75}, Case{"2026-12-05", 46361.0}}) {
    auto moment = parseLocalTime(c.text);
    ASSERT_TRUE(moment) << c.text;
    EXPECT_DOUBLE_EQ(toAutomationDate(*moment).serial, c.serial) << c.text;
  }
}

TEST(Clock, RejectsMalformedAndImpossibleTimes) {
  for (const char* text : {"", "2026-2-5", "2026-02-30", "2025-02-29", "2026-13-01",
                           "2026-12-05T10:00:00", "2026-12-05 24:00:00", "2026-12-05 10:60:00",
                           "2026-12-05 10:00", "２０２６-12-05", "+026-12-05"}) {
    EXPECT_FALSE(parseLocalTime(text)) << text;
  }
  EXPECT_TRUE(parseLocalTime("2024-02-29"));
}

TEST(Clock, EnvironmentPinsTheClock) {
  {
    EnvGuard now("QUILLON_NOW", "2026-12-31");
    Clock clock = clockFromEnvironment();
    EXPECT_TRUE(clock.isPinned());
    EXPECT_DOUBLE_EQ(clock.nowAsDate().serial, 46387.0);
  }
  {
    EnvGuard now("QUILLON_NOW", "tomorrow");
    EXPECT_FALSE(clockFromEnvironment().isPinned());
  }
  {
    EnvGuard now("QUILLON_NOW", nullptr);
    EXPECT_FALSE(clockFromEnvironment().isPinned());
  }
}

}  // namespace
}  // namespace quillon::platform
