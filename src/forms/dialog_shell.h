// DialogShell: what every dialog of the library stands on besides its own controls and rules —
// how an error in one of its event handlers is dealt with, declared once by the dialog instead of
// written into each handler; the title of its prompts; the busy pointer while a handler works.
//
//   class DemoDialog : public DialogShell {
//    public:
//     DemoDialog() : DialogShell("DemoDialog", "Demo", 6000, 4000, HandlerErrors::Prompt) {
//       okButton.Click = handler([this] { okClicked(); });
//     }
//   };
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "forms/constants.h"
#include "forms/form.h"
#include "forms/scope_guard.h"

namespace quillon::forms {

// The title of the dialogs' prompts and refusals.
inline constexpr std::string_view kPromptTitle = "系统提示";

enum class HandlerErrors {
  // An error in a handler is not the dialog's to deal with. In a dialog shown modally it ends the
  // dialog: the dialog unloads, and the Show that showed it raises the error once the host's
  // modal run has returned, so the call behind it (the owner's error trap, the host's call)
  // reports it. Otherwise it reaches whoever raised the event: the host's code driving the dialog,
  // the script, the renderer. Handlers around this one (an OK that checks a box whose handler
  // queries) let such an error pass whatever their own policy.
  Propagate,
  // An error in a handler is shown as a prompt (critical icon) and goes no further; the dialog
  // stays open with what the handler had done until then.
  Prompt,
};

class DialogShell : public Form {
 public:
  HandlerErrors handlerErrors() const { return handlerErrors_; }

  // Runs `body` as an event handler of this dialog, under its policy.
  void runHandler(const std::function<void()>& body) { runHandler(handlerErrors_, body); }
  // The same under `policy`, for a handler whose errors the dialog deals with otherwise.
  void runHandler(HandlerErrors policy, const std::function<void()>& body);

  // `body` as a control's event handler under the dialog's policy (or `policy`); the event's
  // arguments are passed on.
  template <class F>
  auto handler(F body) {
    return handler(handlerErrors_, std::move(body));
  }
  template <class F>
  auto handler(HandlerErrors policy, F body) {
    return [this, policy, body = std::move(body)](auto&&... args) {
      this->runHandler(policy, [&] { body(std::forward<decltype(args)>(args)...); });
    };
  }

  // A message box under the prompt title; returns the answer.
  int prompt(std::string text, int flags = vbInformation) const;

  // The export entry at the foot of a list's pop-up menu: a separator below the menu's own items
  // and 导出… (items named MENU + "ExportSep" and MENU + "Export"). Choosing it exports the list
  // `list` names at that moment (the menu may serve several lists), asking the host for the file.
  Menu& addExportItem(Menu& menu, std::function<Control*()> list);
  // A pop-up menu holding only the export entry, for a list without a menu of its own (named
  // LIST + "Menu", its item LIST + "MenuExport"): a right-button release on the list pops it up;
  // the list's own MouseUp still runs for the other buttons.
  Menu& exportMenuOn(Control& list);

 protected:
  DialogShell(std::string name, std::string caption, int width, int height,
              HandlerErrors handlerErrors);

  // The busy pointer for the rest of the scope.
  ScopeGuard busy() { return busyPointer(*this); }

 private:
  HandlerErrors handlerErrors_;
  int handlerDepth_ = 0;  // handlers running, one inside the other
};

}  // namespace quillon::forms
