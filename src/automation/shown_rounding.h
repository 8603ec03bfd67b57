// NumberFormat::shownNumber for a loop over many values. A value the pattern shows in full reads
// back as itself; that case, the usual one for stock figures, is settled inline, and any other
// goes to shownNumber. The format must outlive the rounding.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "automation/vb_format.h"

namespace quillon::automation {

class ShownRounding {
 public:
  explicit ShownRounding(const NumberFormat& format);

  double operator()(double value) const {
    const double magnitude = std::fabs(value);
    const double scaled = magnitude * scale_;
    // NaN and infinity, and a scale of NaN, fail this test.
    if (scaled < 4503599627370496.0) {
      const auto whole = static_cast<double>(static_cast<std::int64_t>(scaled + 0.5));
      if (whole / scale_ == magnitude && (whole != 0 || zeroShowsDigits_)) return value + 0.0;
    }
    return format_->shownNumber(value);
  }

 private:
  const NumberFormat* format_;
  // 10^places for a one-section pattern of digits only; NaN for any other.
  double scale_ = std::numeric_limits<double>::quiet_NaN();
  bool zeroShowsDigits_ = false;
};

}  // namespace quillon::automation
