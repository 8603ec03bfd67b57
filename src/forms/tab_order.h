// The Tab order of a dialog as its controls stand: row by row from the top, left to right within
// a row (controls whose tops lie within a field's height of each other share a row), the controls
// inside a frame or on a tab strip's pages right after the frame or strip, in their own reading
// order. Tab then moves where a person's eye goes next.
#pragma once

namespace quillon::forms {

class Control;
class Form;

// Gives every control of the form its TabIndex in that order.
void orderTabsByPosition(Form& form);

// Whether a control stands on the page its tab strips show (every tab strip it lies on shows its
// tab); Tab passes over controls on hidden pages.
bool onShownPage(const Control& control);

}  // namespace quillon::forms
