// Menus of a drawn form: the menu bar made of the form's visible top-level menus, and pop-up
// menus shown at the mouse.
#pragma once

#include <QPoint>

class QMenuBar;
class QWidget;

namespace quillon::forms {
class Form;
class Menu;
}  // namespace quillon::forms

namespace quillon::ui::qt {

class FormWindow;

// Refills the bar; false when the form has no visible top-level menu (the bar is then hidden).
// Choosing an item runs its userChoose() through the window.
bool fillMenuBar(QMenuBar& bar, forms::Form& form, FormWindow& window);

// Shows the items of `menu` at a screen position and returns the item chosen (null when the
// person dismissed the menu). Hidden items are left out, disabled ones greyed.
forms::Menu* popUpMenu(forms::Menu& menu, QWidget* parent, QPoint globalPos);

}  // namespace quillon::ui::qt
