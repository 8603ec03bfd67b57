#include "forms/pane_border.h"

#include <algorithm>

#include "forms/form.h"
#include "forms/static_controls.h"

namespace quillon::forms {

Frame& addSplitter(Form& form, std::string name, Control& above, Control& below) {
  const int gap = below.Top() - (above.Top() + above.Height());
  if (gap < kSplitterHeight) {
    above.setHeight(std::max(above.Height() - (kSplitterHeight - gap), 0));
  }
  const int top = above.Top() + above.Height();
  Frame& bar =
      form.add<Frame>(std::move(name), {above.Left(), top, above.Width(), below.Top() - top,
                                        above.container(), above.containerTab()});
  bar.MouseMove = [&above, &bar, &below](int button, int, int, int y) {
    // The bar follows the mouse held on it, taken by its middle.
    if (button == vbLeftButton) moveSplitter(above, bar, below, y - bar.Height() / 2);
  };
  return bar;
}

int moveSplitter(Control& above, Control& bar, Control& below, int delta) {
  const int most = std::max(below.Height() - kLeastPane, 0);
  const int least = -std::max(above.Height() - kLeastPane, 0);
  delta = std::clamp(delta, least, most);
  if (delta == 0) return 0;
  above.setHeight(above.Height() + delta);
  bar.setTop(bar.Top() + delta);
  below.Move(below.Left(), below.Top() + delta, below.Width(), below.Height() - delta);
  return delta;
}

}  // namespace quillon::forms
