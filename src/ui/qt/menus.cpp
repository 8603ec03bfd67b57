#include "ui/qt/menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include "forms/form.h"
#include "forms/menu.h"
#include "ui/qt/form_window.h"
#include "ui/qt/qt_text.h"

namespace quillon::ui::qt {

namespace {

// A separator is an item captioned "-", as in form files.
bool isSeparator(const forms::Menu& item) {
  return item.Caption() == "-";
}

// Adds the visible items of `menu` to `target`; `onChoose` runs for a chosen leaf.
template <class OnChoose>
void addItems(QMenu& target, forms::Menu& menu, const OnChoose& onChoose) {
  for (forms::Menu* item : menu.items()) {
    if (!item->Visible()) continue;
    if (isSeparator(*item)) {
      target.addSeparator();
      continue;
    }
    if (!item->items().empty()) {
      QMenu* sub = target.addMenu(captionText(item->Caption()));
      sub->setEnabled(item->Enabled());
      addItems(*sub, *item, onChoose);
      continue;
    }
    QAction* action = target.addAction(captionText(item->Caption()));
    action->setEnabled(item->Enabled());
    action->setCheckable(item->Checked());
    action->setChecked(item->Checked());
    action->setData(QVariant::fromValue(static_cast<void*>(item)));
    QObject::connect(action, &QAction::triggered, &target, [item, onChoose] { onChoose(*item); });
  }
}

}  // namespace

bool fillMenuBar(QMenuBar& bar, forms::Form& form, FormWindow& window) {
  bar.clear();
  bool any = false;
  for (forms::Control* control : form.controls()) {
    auto* menu = dynamic_cast<forms::Menu*>(control);
    if (menu == nullptr || menu->parentMenu() != nullptr || !menu->Visible()) continue;
    any = true;
    QPointer<FormWindow> owner(&window);
    auto choose = [owner](forms::Menu& item) {
      if (owner == nullptr || owner->form() == nullptr) return;
      owner->invoke([&] { item.userChoose(); });
    };
    if (menu->items().empty()) {
      QAction* action = bar.addAction(captionText(menu->Caption()));
      action->setEnabled(menu->Enabled());
      QObject::connect(action, &QAction::triggered, &bar, [menu, choose] { choose(*menu); });
      continue;
    }
    QMenu* top = bar.addMenu(captionText(menu->Caption()));
    top->setEnabled(menu->Enabled());
    addItems(*top, *menu, choose);
  }
  return any;
}

forms::Menu* popUpMenu(forms::Menu& menu, QWidget* parent, QPoint globalPos) {
  QMenu popup(parent);
  forms::Menu* chosen = nullptr;
  addItems(popup, menu, [&chosen](forms::Menu& item) { chosen = &item; });
  if (popup.isEmpty()) return nullptr;
  popup.exec(globalPos);
  return chosen;
}

}  // namespace quillon::ui::qt
