// Icons of the suite's toolbar images. The dialogs name images by the suite's keys ("tlbok",
// "tlbexit", "tlbauto", ...); each known key is drawn here, so the renderer needs no image files.
// Keys compare without regard to case, as the suite's do; an unknown key gives a null icon and the
// button shows its caption alone.
#pragma once

#include <QIcon>
#include <string_view>

namespace quillon::ui::qt {

QIcon toolbarIcon(std::string_view imageKey);

}  // namespace quillon::ui::qt
