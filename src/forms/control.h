// Control: what every control of a headless form has — a name (and control-array index), a kind
// a renderer switches on, geometry in twips, the container it sits in (a frame, or one tab of a
// tab strip), the common properties and the focus/key/mouse events.
//
// Properties are read with their platform names (`Visible()`) and written with setters
// (`setVisible()`); every setter that changes a value emits `propertyChanged` with the property's
// name, which is all a renderer needs to stay in step. Events are std::function slots that the
// concrete form assigns; an unassigned slot means "no handler".
//
// User actions (a click, a typed key, a checked item) enter through the `user...` members; they run
// the same events a person's action raises on the real control.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "forms/signal.h"

namespace quillon::forms {

class Form;

enum class ControlKind {
  TextBox,
  Label,
  CommandButton,
  CheckBox,
  OptionButton,
  ComboBox,
  Frame,
  ListView,
  TreeView,
  SuperGrid,
  VouchList,
  TabStrip,
  Toolbar,
  ToolbarControl,
  StatusBar,
  Menu,
  NumericEdit,
  HeadItem,
  ImageList,
};

std::string_view controlKindName(ControlKind kind);

// Placement of a control as a form file declares it. `container` is a frame or tab strip of the
// same form (null: the form itself); `tab` is the tab page when the container is a tab strip.
struct Geometry {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  class Control* container = nullptr;
  int tab = -1;
};

class Control {
 public:
  Control(ControlKind kind, std::string name);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  ControlKind kind() const { return kind_; }
  const std::string& Name() const { return name_; }
  // Control arrays: elements share a name and differ by index; -1 for a plain control.
  int Index() const { return index_; }
  void setIndex(int index) { index_ = index; }
  Form* form() const { return form_; }
  // The name with its index, as a script or a message names it: "hdiFree(3)".
  std::string qualifiedName() const;

  int Left() const { return geometry_.left; }
  int Top() const { return geometry_.top; }
  int Width() const { return geometry_.width; }
  int Height() const { return geometry_.height; }
  void setLeft(int v);
  void setTop(int v);
  void setWidth(int v);
  void setHeight(int v);
  void Move(int left, int top, int width, int height);
  Control* container() const { return geometry_.container; }
  int containerTab() const { return geometry_.tab; }
  void setContainer(Control* container, int tab = -1);

  bool Visible() const { return visible_; }
  void setVisible(bool v);
  bool Enabled() const { return enabled_; }
  void setEnabled(bool v);
  int TabIndex() const { return tabIndex_; }
  void setTabIndex(int v);
  bool TabStop() const { return tabStop_; }
  void setTabStop(bool v);
  const std::string& ToolTipText() const { return toolTip_; }
  void setToolTipText(std::string v);
  std::optional<double> FontSize() const { return fontSize_; }
  void setFontSize(std::optional<double> v);
  const std::string& Tag() const { return tag_; }
  void setTag(std::string v);
  // A control whose CausesValidation is False can take the focus without running the
  // Validate event of the control that loses it.
  bool CausesValidation() const { return causesValidation_; }
  void setCausesValidation(bool v) { causesValidation_ = v; }

  // Visible and enabled, together with every container up to the form: a person can reach it.
  bool isReachable() const;
  // Controls that can hold the focus (buttons, fields, lists); labels, frames, menus cannot.
  virtual bool canFocus() const { return false; }
  bool hasFocus() const;
  // Gives this control the focus through the form (LostFocus/Validate of the previous one run
  // first). Throws ComError 5 when the control cannot take the focus, as the platform does.
  void SetFocus();

  // The text a person reads on the control (text, caption, current item); used by expectations
  // and transcripts. Controls without a text give "".
  virtual std::string displayText() const { return {}; }
  // The status line a list or grid shows under it (list_status.h); nothing for other controls.
  virtual std::optional<std::string> statusText() const { return std::nullopt; }

  // Default handling of a key that neither the form nor the control's KeyPress swallowed
  // (typing into a field, space on a button). Returns true when the key was consumed.
  virtual bool defaultKeyPress(int /*keyAscii*/) { return false; }
  virtual bool defaultKeyDown(int /*keyCode*/, int /*shift*/) { return false; }
  // A control that takes Enter as typing (a multi-line field): the default button does not fire.
  virtual bool takesReturn() const { return false; }
  // Fields a person can type into; userClearText empties one the way select-all and Delete do.
  virtual bool acceptsTyping() const { return false; }
  virtual void userClearText() {}

  // Events common to focusable controls.
  std::function<void()> GotFocus;
  std::function<void()> LostFocus;
  std::function<void(bool& Cancel)> Validate;
  std::function<void(int& KeyCode, int Shift)> KeyDown;
  std::function<void(int& KeyAscii)> KeyPress;
  std::function<void(int Button, int Shift, int X, int Y)> MouseUp;
  std::function<void(int Button, int Shift, int X, int Y)> MouseMove;

  // A person released a mouse button over the control.
  void userMouseUp(int button, int shift = 0, int x = 0, int y = 0);
  // The mouse moves over the control with `button` held (a drag); x and y are from its top left.
  void userMouseMove(int button, int shift = 0, int x = 0, int y = 0);

  // Emitted after a property changed; the argument names it ("Text", "Visible", "Cell", ...).
  Signal<Control&, std::string_view> propertyChanged;

 protected:
  void notify(std::string_view property);
  template <class T>
  void assign(T& field, T value, std::string_view property) {
    if (field == value) return;
    field = std::move(value);
    notify(property);
  }

 private:
  friend class Form;
  ControlKind kind_;
  std::string name_;
  int index_ = -1;
  Form* form_ = nullptr;
  Geometry geometry_;
  bool visible_ = true;
  bool enabled_ = true;
  int tabIndex_ = 0;
  bool tabStop_ = true;
  std::string toolTip_;
  std::optional<double> fontSize_;
  std::string tag_;
  bool causesValidation_ = true;
};

// Splits a caption with an accelerator ("确定(&O)") into what is shown and the accelerator key.
// "&&" stands for a literal "&". The key is returned upper-cased (0 when there is none).
struct CaptionParts {
  std::string text;
  char accelerator = 0;
};
CaptionParts parseCaption(std::string_view caption);

}  // namespace quillon::forms
