// Stretching a form's controls with the form: the room a form gains beyond the size it was
// designed at goes to its lists (grids, voucher lists, list views, trees) and to the frames and tab
// strips that hold them, so a person who widens or heightens the window sees more columns and rows.
//
// Across (per container, from the form down into every frame and tab strip that changed size):
// a list that has no other list to its right takes the whole gain; a frame, toolbar or status bar
// that spans the container (its right edge in the last tenth) widens with it; a command button in
// the right part of its container keeps its distance to the right edge; everything else stays.
//
// Down: the gain is shared among the lists and list holders in proportion to their heights, and
// every control below one of them moves down by what the lists above it gained; controls above the
// lists stay where they are.
//
// Form::resize applies this before Form_Resize, for the part of the size beyond the designed one
// (a form smaller than designed keeps its controls where they were), so a form with a layout of
// its own in Form_Resize still has the last word.
#pragma once

namespace quillon::forms {

class Form;

// Moves and sizes the controls for a change of the form's inner size by (dx, dy) twips from a
// width of `fromWidth`.
void stretchControls(Form& form, int fromWidth, int dx, int dy);

}  // namespace quillon::forms
