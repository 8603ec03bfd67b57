// The optional desktop-style component "XPStyle.clsXPStyleProxy". The dialogs hand it each form
// after loading; a non-empty answer is shown to the user. This platform has no desktop themes to
// apply, so the suite's implementation accepts every form and answers "".
#pragma once

#include <string_view>

namespace quillon::components {

inline constexpr std::string_view kXPStyleProgId = "XPStyle.clsXPStyleProxy";

}  // namespace quillon::components
