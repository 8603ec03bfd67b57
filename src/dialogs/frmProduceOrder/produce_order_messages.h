// Texts of the production-order dialog: its captions and what it calls its lists in refusals
// (the refusals themselves are every reference dialog's, dialogs/kit/reference_texts.h).
#pragma once

#include <string_view>

namespace quillon::dialogs::produce_order {

inline constexpr std::string_view kCaptionAfterFirstTab = "选择生产订单和生产的存货";
inline constexpr std::string_view kCaptionOtherwise = "选择生产计划和投产的存货";

// What the head list is called in the "please select" refusal; it lies above the tabs.
inline constexpr std::string_view kHeadCaption = "生产订单";

}  // namespace quillon::dialogs::produce_order
