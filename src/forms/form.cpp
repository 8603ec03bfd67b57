#include "forms/form.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "automation/com_error.h"
#include "automation/names.h"
#include "forms/buttons.h"
#include "forms/form_stretch.h"
#include "forms/menu.h"
#include "forms/static_controls.h"
#include "forms/tab_order.h"
#include "forms/toolbar.h"
#include "forms/ui_host.h"

namespace quillon::forms {

using automation::ComError;

namespace {

std::string captionOf(const Control& c) {
  if (const auto* b = dynamic_cast<const CommandButton*>(&c)) return b->Caption();
  if (const auto* k = dynamic_cast<const CheckBox*>(&c)) return k->Caption();
  if (const auto* o = dynamic_cast<const OptionButton*>(&c)) return o->Caption();
  if (const auto* l = dynamic_cast<const Label*>(&c)) return l->Caption();
  return {};
}

}  // namespace

Form::Form(std::string name, std::string caption, int width, int height)
    : name_(std::move(name)),
      caption_(std::move(caption)),
      width_(width),
      height_(height),
      designWidth_(width),
      designHeight_(height) {}

Form::~Form() {
  // A form destroyed while loaded goes away without its events; the host still has to forget it.
  if (loaded_) {
    try {
      currentUiHost().formUnloaded(*this);
    } catch (...) {
      // A destructor must not throw; the host's bookkeeping is all that is lost.
    }
  }
}

void Form::notify(std::string_view property) {
  propertyChanged.emit(*this, property);
}

void Form::setCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  notify("Caption");
}

void Form::resize(int width, int height) {
  if (width == width_ && height == height_) return;
  const int fromWidth = std::max(width_, designWidth_);
  const int dx = std::max(width, designWidth_) - fromWidth;
  const int dy = std::max(height, designHeight_) - std::max(height_, designHeight_);
  width_ = width;
  height_ = height;
  stretchControls(*this, fromWidth, dx, dy);
  notify("Size");
  if (loaded_) Form_Resize();
}

void Form::setKeyPreview(bool on) {
  keyPreview_ = on;
}

void Form::setMousePointer(int pointer) {
  if (pointer == mousePointer_) return;
  mousePointer_ = pointer;
  notify("MousePointer");
}

void Form::adopt(std::unique_ptr<Control> control, Geometry geometry, int index) {
  if (findControl(control->Name(), index) != nullptr) {
    throw ComError(automation::err::kKeyAlreadyExists,
                   "Form " + name_ + " already has a control named " + control->Name());
  }
  if (geometry.container != nullptr && geometry.container->form_ != this) {
    throw ComError(automation::err::kInvalidProcedureCall,
                   "The container of " + control->Name() + " is not on form " + name_);
  }
  control->form_ = this;
  control->index_ = index;
  control->geometry_ = geometry;
  control->tabIndex_ = static_cast<int>(order_.size());
  order_.push_back(control.get());
  owned_.push_back(std::move(control));
}

Menu& Form::addMenu(std::string name, std::string caption, Menu* parent) {
  return add<Menu>(std::move(name), Geometry{}, std::move(caption), parent);
}

Control* Form::findControl(std::string_view name, int index) const {
  for (Control* c : order_) {
    if (c->index_ == index && automation::sameName(c->Name(), name)) return c;
  }
  return nullptr;
}

Control* Form::findControlByPath(std::string_view path) const {
  const auto open = path.find('(');
  if (open == std::string_view::npos || path.back() != ')') return findControl(path);
  const auto digits = path.substr(open + 1, path.size() - open - 2);
  if (digits.empty() || digits.size() > 6 ||
      !std::all_of(digits.begin(), digits.end(), [](char ch) { return ch >= '0' && ch <= '9'; })) {
    return nullptr;
  }
  return findControl(path.substr(0, open), std::stoi(std::string(digits)));
}

void Form::Load() {
  if (loaded_ || loading_) return;
  loading_ = true;
  loaded_ = true;
  try {
    Form_Load();
  } catch (...) {
    loading_ = false;
    loaded_ = false;
    visible_ = false;
    throw;
  }
  loading_ = false;
  if (tabsByPosition_ && loaded_) orderTabsByPosition(*this);
  notify("Loaded");
}

void Form::Show(int modal) {
  if (modal != vbModeless && visible_) {
    throw ComError(400, "Form already displayed; can't show modally");
  }
  Load();
  if (!loaded_) return;  // Form_Load unloaded it again
  UiHost& host = currentUiHost();
  bool shownNow = false;
  if (!visible_) {
    visible_ = true;
    shownNow = true;
    notify("Visible");
    host.formShown(*this, modal != vbModeless);
    Form_Resize();
    Form_Activate();
    if (visible_ && active_ == nullptr) focusFirst();
  }
  if (modal == vbModeless) {
    if (shownNow && visible_ && loaded_) host.runModeless(*this);
    return;
  }
  if (!visible_) return;
  modal_ = true;
  modalError_ = nullptr;
  try {
    host.runModal(*this);
  } catch (...) {
    modal_ = false;
    modalError_ = nullptr;
    throw;
  }
  modal_ = false;
  if (visible_) Hide();  // a host that gave up on the form: never leave a modal form showing
  if (modalError_) std::rethrow_exception(std::exchange(modalError_, nullptr));
}

void Form::endModalWith(std::exception_ptr error) {
  if (!modal_ || !visible_) std::rethrow_exception(error);
  modalError_ = std::move(error);
  if (!Unload()) Hide();
}

void Form::Hide() {
  if (!visible_) return;
  visible_ = false;
  notify("Visible");
  currentUiHost().formHidden(*this);
}

bool Form::Unload() {
  return unloadWith(vbFormCode);
}

bool Form::userClose() {
  return unloadWith(vbFormControlMenu);
}

bool Form::unloadWith(int mode) {
  if (!loaded_) return true;
  if (unloading_) return false;
  unloading_ = true;
  int cancel = 0;
  try {
    Form_QueryUnload(cancel, mode);
    if (cancel == 0) Form_Unload(cancel);
  } catch (...) {
    unloading_ = false;
    throw;
  }
  unloading_ = false;
  if (cancel != 0) return false;
  const bool wasVisible = visible_;
  visible_ = false;
  loaded_ = false;
  active_ = nullptr;
  pendingFocus_ = nullptr;
  if (wasVisible) notify("Visible");
  notify("Loaded");
  currentUiHost().formUnloaded(*this);
  return true;
}

bool Form::moveFocus(Control& target) {
  if (target.form_ != this || !target.canFocus() || !target.isReachable()) return false;
  if (&target == active_) {
    if (pendingFocus_ == &target) {
      pendingFocus_ = nullptr;
      ++focusSerial_;
      if (target.GotFocus) target.GotFocus();
    }
    return true;
  }
  Control* old = active_;
  const bool oldHadFocus = old != nullptr && old != pendingFocus_;
  if (oldHadFocus && target.CausesValidation() && old->Validate) {
    bool cancel = false;
    old->Validate(cancel);
    if (cancel) return false;
  }
  active_ = &target;
  pendingFocus_ = &target;
  const unsigned serial = ++focusSerial_;
  notify("ActiveControl");
  if (oldHadFocus && old->LostFocus) old->LostFocus();
  if (serial != focusSerial_) return active_ == &target;  // LostFocus moved the focus elsewhere
  pendingFocus_ = nullptr;
  if (target.GotFocus) target.GotFocus();
  return active_ == &target;
}

void Form::focusFirst() {
  Control* best = nullptr;
  for (Control* c : order_) {
    if (!c->canFocus() || !c->TabStop() || !c->isReachable() || !onShownPage(*c)) continue;
    if (best == nullptr || c->TabIndex() < best->TabIndex()) best = c;
  }
  if (best != nullptr) moveFocus(*best);
}

void Form::focusNext(bool backwards) {
  std::vector<Control*> stops;
  for (Control* c : order_) {
    if (c->canFocus() && c->TabStop() && c->isReachable() && onShownPage(*c)) stops.push_back(c);
  }
  if (stops.empty()) return;
  std::stable_sort(stops.begin(), stops.end(),
                   [](Control* a, Control* b) { return a->TabIndex() < b->TabIndex(); });
  auto it = std::find(stops.begin(), stops.end(), active_);
  Control* next = nullptr;
  if (it == stops.end()) {
    next = backwards ? stops.back() : stops.front();
  } else if (backwards) {
    next = it == stops.begin() ? stops.back() : *(it - 1);
  } else {
    next = (it + 1) == stops.end() ? stops.front() : *(it + 1);
  }
  if (next != active_) moveFocus(*next);
}

Control* Form::defaultButton(bool cancel) const {
  for (Control* c : order_) {
    auto* b = dynamic_cast<CommandButton*>(c);
    if (b != nullptr && (cancel ? b->Cancel() : b->Default()) && b->isReachable()) return b;
  }
  return nullptr;
}

bool Form::pressWhereShown(Toolbar& bar, const std::string& key) {
  if (bar.isReachable()) return bar.userPress(key);
  for (Control* c : order_) {
    auto* suite = dynamic_cast<CTBCtrl*>(c);
    if (suite != nullptr && suite->toolbar() == &bar && suite->isReachable()) {
      return suite->userPress(key);
    }
  }
  return false;
}

bool Form::pressToolbarKey(bool cancel) {
  for (Control* c : order_) {
    auto* bar = dynamic_cast<Toolbar*>(c);
    if (bar == nullptr) continue;
    const std::string key = cancel ? bar->CancelKey() : bar->DefaultKey();
    if (!key.empty()) return pressWhereShown(*bar, key);
  }
  return false;
}

bool Form::pressToolbarAccelerator(char key) {
  for (Control* c : order_) {
    auto* bar = dynamic_cast<Toolbar*>(c);
    if (bar == nullptr) continue;
    for (const ToolbarButton& b : bar->buttons()) {
      if (!b.key.empty() && parseCaption(b.caption).accelerator == key) {
        const std::string pressed = b.key;
        return pressWhereShown(*bar, pressed);
      }
    }
  }
  return false;
}

bool Form::handleFormKey(int keyCode, int shift) {
  if (keyCode == vbKeyTab && (shift & (vbCtrlMask | vbAltMask)) == 0) {
    focusNext((shift & vbShiftMask) != 0);
    return true;
  }
  if (keyCode == vbKeyReturn && shift == 0 && dynamic_cast<CommandButton*>(active_) == nullptr &&
      (active_ == nullptr || !active_->takesReturn())) {
    if (auto* b = dynamic_cast<CommandButton*>(defaultButton(false))) {
      b->fireClick();
      return true;
    }
    if (pressToolbarKey(false)) return true;
  }
  if (keyCode == vbKeyEscape && shift == 0) {
    if (auto* b = dynamic_cast<CommandButton*>(defaultButton(true))) {
      b->fireClick();
      return true;
    }
    if (pressToolbarKey(true)) return true;
    if (escapeCloses_) {
      userClose();
      return true;
    }
  }
  if ((shift & vbAltMask) != 0 && keyCode >= '0' && keyCode <= 'Z') {
    for (std::size_t i = 0; i < order_.size(); ++i) {
      Control* c = order_[i];
      if (parseCaption(captionOf(*c)).accelerator != static_cast<char>(keyCode)) continue;
      if (!c->isReachable() || !onShownPage(*c)) continue;
      if (auto* b = dynamic_cast<CommandButton*>(c)) {
        b->userClick();
      } else if (auto* k = dynamic_cast<CheckBox*>(c)) {
        k->userClick();
      } else if (auto* o = dynamic_cast<OptionButton*>(c)) {
        o->userClick();
      } else {
        // A label's accelerator moves the focus to the control that follows it in tab order.
        for (std::size_t j = i + 1; j < order_.size(); ++j) {
          if (order_[j]->canFocus() && order_[j]->isReachable()) {
            moveFocus(*order_[j]);
            break;
          }
        }
      }
      return true;
    }
    // A toolbar button whose caption carries the accelerator, pressed where the toolbar shows.
    if (pressToolbarAccelerator(static_cast<char>(keyCode))) return true;
  }
  return false;
}

void Form::userKey(int keyCode, int shift, int keyAscii) {
  if (!loaded_) return;
  // Characters without a key code of their own (typed through an input method) skip KeyDown.
  if (keyCode != 0) {
    if (keyPreview_) Form_KeyDown(keyCode, shift);
    if (keyCode == 0) return;
    if (Control* c = active_; c != nullptr && c->KeyDown) {
      c->KeyDown(keyCode, shift);
      if (keyCode == 0) return;
    }
    if (!loaded_) return;  // a handler unloaded the form
    if (Control* c = active_; c != nullptr && c->defaultKeyDown(keyCode, shift)) return;
    if (handleFormKey(keyCode, shift)) return;
  }
  if (keyAscii != 0) userKeyPress(keyAscii);
}

void Form::userKeyPress(int keyAscii) {
  if (!loaded_) return;
  if (keyPreview_) Form_KeyPress(keyAscii);
  if (keyAscii == 0) return;
  Control* c = active_;
  if (c != nullptr && c->KeyPress) {
    c->KeyPress(keyAscii);
    if (keyAscii == 0) return;
  }
  if (c != nullptr && c == active_) c->defaultKeyPress(keyAscii);
}

void Form::PopupMenu(Menu& menu) {
  if (menu.form() != this) {
    throw ComError::invalidProcedureCall();
  }
  Menu* chosen = currentUiHost().popupMenu(*this, menu);
  if (chosen != nullptr && chosen->topLevel() == &menu && chosen->choosable() && chosen->Click) {
    chosen->Click();
  }
}

}  // namespace quillon::forms
