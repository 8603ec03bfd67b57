// createView: the view the renderer draws for a control, chosen by the control's kind.
#pragma once

#include <memory>

#include "forms/control.h"

namespace quillon::ui::qt {

class ControlView;
class FormWindow;

// Never null: a control of a kind the renderer does not know still gets a view (drawing nothing),
// so a form with it can be shown.
std::unique_ptr<ControlView> createView(forms::Control& control, FormWindow& window);

}  // namespace quillon::ui::qt
