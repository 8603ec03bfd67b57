// A border a person drags between a list and the list under it (a voucher's heads above its
// lines): a thin frame without a caption in the gap between them. Dragging it with the left button
// moves the border: the list above grows by what the one below gives up, or the other way round,
// each keeping at least kLeastPane twips. Stretching the form shares its gain between the two
// lists in proportion to their heights, so the border keeps its place relative to them.
#pragma once

#include <string>

namespace quillon::forms {

class Control;
class Form;
class Frame;

// The least height a list keeps when the border is dragged, in twips (about two rows).
inline constexpr int kLeastPane = 600;
// The height of the bar, in twips.
inline constexpr int kSplitterHeight = 60;

// Adds the bar between `above` and `below` (in their container, as wide as `above`); when the
// gap between them is narrower than the bar, `above` gives up the difference.
Frame& addSplitter(Form& form, std::string name, Control& above, Control& below);

// Moves the border by `delta` twips (down when positive), as far as the least heights allow.
// Returns the distance it moved.
int moveSplitter(Control& above, Control& bar, Control& below, int delta);

}  // namespace quillon::forms
