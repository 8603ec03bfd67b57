#include "forms/dialog_shell.h"

#include <exception>

#include "automation/com_error.h"
#include "forms/list_export.h"
#include "forms/menu.h"
#include "forms/ui_host.h"

namespace quillon::forms {

DialogShell::DialogShell(std::string name, std::string caption, int width, int height,
                         HandlerErrors handlerErrors)
    : Form(std::move(name), std::move(caption), width, height), handlerErrors_(handlerErrors) {
  // A person tabs through a dialog in the order its controls stand, and Esc leaves one that has
  // no cancel button the way its close box does.
  setTabsByPosition(true);
  setEscapeCloses(true);
}

namespace {

// An error of a Propagate handler on its way out through the handlers around it.
struct EndingError {
  std::exception_ptr error;
};

}  // namespace

void DialogShell::runHandler(HandlerErrors policy, const std::function<void()>& body) {
  ++handlerDepth_;
  const ScopeGuard leave([this] { --handlerDepth_; });
  const bool outermost = handlerDepth_ == 1;
  try {
    body();
  } catch (const EndingError& ending) {
    if (!outermost) throw;
    endModalWith(ending.error);
  } catch (...) {
    if (policy == HandlerErrors::Propagate) {
      if (!outermost) throw EndingError{std::current_exception()};
      endModalWith(std::current_exception());
      return;
    }
    try {
      throw;
    } catch (const automation::ComError& e) {
      prompt(e.description(), vbCritical);
    } catch (const std::exception& e) {
      prompt(e.what(), vbCritical);
    }
  }
}

int DialogShell::prompt(std::string text, int flags) const {
  return MsgBox(std::move(text), flags, std::string(kPromptTitle));
}

Menu& DialogShell::addExportItem(Menu& menu, std::function<Control*()> list) {
  if (!menu.items().empty()) addMenu(menu.Name() + "ExportSep", "-", &menu);
  Menu& item = addMenu(menu.Name() + "Export", kExportMenuCaption, &menu);
  item.Click = handler([list = std::move(list)] {
    if (Control* shown = list()) exportListAsked(*shown);
  });
  return item;
}

Menu& DialogShell::exportMenuOn(Control& list) {
  Menu& menu = addMenu(list.Name() + "Menu", "");
  menu.setVisible(false);
  addExportItem(menu, [&list] { return &list; });
  list.MouseUp = [this, &menu, own = std::move(list.MouseUp)](int button, int shift, int x, int y) {
    if (button == vbRightButton) {
      runHandler([&] { PopupMenu(menu); });
      return;
    }
    if (own) own(button, shift, x, y);
  };
  return menu;
}

}  // namespace quillon::forms
