// The clock the library reads for "now" and today's date. Tests and scripted runs pin it to a fixed
// moment so that dates in their output do not change from day to day.
//
// clockFromEnvironment() pins the clock when QUILLON_NOW holds a local time "YYYY-MM-DD" or
// "YYYY-MM-DD hh:mm:ss"; otherwise it follows the system clock.
#pragma once

#include <chrono>
#include <optional>
#include <string_view>

#include "automation/variant.h"

namespace quillon::platform {

inline constexpr std::string_view kClockVariable = "QUILLON_NOW";

class Clock {
 public:
  using TimePoint = std::chrono::system_clock::time_point;

  TimePoint now() const { return pinned_ ? *pinned_ : std::chrono::system_clock::now(); }
  // Local date and time of now() as an Automation date.
  automation::DateValue nowAsDate() const;

  void pin(TimePoint moment) { pinned_ = moment; }
  void unpin() { pinned_.reset(); }
  bool isPinned() const { return pinned_.has_value(); }

 private:
  std::optional<TimePoint> pinned_;
};

Clock clockFromEnvironment();

// "YYYY-MM-DD" or "YYYY-MM-DD hh:mm:ss" read as local time; nullopt for anything else, including
// impossible dates such as 2026-02-30.
std::optional<Clock::TimePoint> parseLocalTime(std::string_view text);

// The local date and time of a moment as an Automation date (days since 1899-12-30).
automation::DateValue toAutomationDate(Clock::TimePoint moment);

}  // namespace quillon::platform
