// Form: a dialog as a model. A concrete form derives from Form, declares its controls in its
// member initialisers the way a form file does, and overrides the Form_* events it handles:
//
//   class DemoDialog : public Form {
//    public:
//     DemoDialog() : Form("DemoDialog", "Demo", 6000, 4000) {
//       okButton.Click = [this] { Unload(); };
//     }
//     TextBox& txtCode = add<TextBox>("txtCode", {120, 120, 1800, 300});
//     CommandButton& okButton = add<CommandButton>("okButton", {4600, 3200, 1100, 350}, "确定");
//   };
//
// The declaration (controls(), in declaration order, with kind, geometry, container and captions)
// is what a renderer draws; all behaviour stays here. Show/Hide/Unload report to the current UI
// host, and a modal Show returns only when the form has been hidden or unloaded.
//
// Enter presses the default button (a CommandButton's Default, else a toolbar's DefaultKey) and
// Esc the cancel button, unless the control with the focus takes the key; Alt with a caption's
// accelerator presses its button, check box or toolbar button.
//
// Focus follows the platform: moving it runs Validate on the control that has it (when the new
// control causes validation; Cancel keeps the focus where it is), then LostFocus, then GotFocus.
// With KeyPreview on, the form sees every key first; a KeyCode or KeyAscii set to 0 swallows it.
#pragma once

#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "forms/constants.h"
#include "forms/control.h"
#include "forms/signal.h"

namespace quillon::forms {

class Menu;
class Toolbar;

class Form {
 public:
  explicit Form(std::string name, std::string caption = {}, int width = 0, int height = 0);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& Name() const { return name_; }
  const std::string& Caption() const { return caption_; }
  void setCaption(std::string caption);
  int Width() const { return width_; }
  int Height() const { return height_; }
  // The size the form was declared with.
  int designWidth() const { return designWidth_; }
  int designHeight() const { return designHeight_; }
  // Changing the size stretches the controls for what the size gains beyond the designed one
  // (form_stretch.h); a loaded form then runs Form_Resize.
  void resize(int width, int height);
  bool KeyPreview() const { return keyPreview_; }
  void setKeyPreview(bool on);
  // Whether Load gives the controls their Tab order as they stand (forms/tab_order.h) once
  // Form_Load has run; otherwise it is their declaration order, or what the form set.
  bool tabsByPosition() const { return tabsByPosition_; }
  void setTabsByPosition(bool on) { tabsByPosition_ = on; }
  // Whether Esc closes the form, as its close box does, when no cancel button takes it.
  bool escapeCloses() const { return escapeCloses_; }
  void setEscapeCloses(bool on) { escapeCloses_ = on; }
  int MousePointer() const { return mousePointer_; }
  void setMousePointer(int pointer);

  bool Loaded() const { return loaded_; }
  bool Visible() const { return visible_; }
  bool isModal() const { return modal_; }

  // Declaration. Names are unique per form except for control-array elements (addElement).
  template <class T, class... Args>
  T& add(std::string name, Geometry geometry, Args&&... args) {
    auto control = std::make_unique<T>(std::move(name), std::forward<Args>(args)...);
    T& ref = *control;
    adopt(std::move(control), geometry, -1);
    return ref;
  }
  template <class T, class... Args>
  T& addElement(std::string name, int index, Geometry geometry, Args&&... args) {
    auto control = std::make_unique<T>(std::move(name), std::forward<Args>(args)...);
    T& ref = *control;
    adopt(std::move(control), geometry, index);
    return ref;
  }
  // Menus have no geometry; a menu without a parent is a top-level menu (a pop-up menu when it is
  // declared invisible).
  Menu& addMenu(std::string name, std::string caption, Menu* parent = nullptr);

  const std::vector<Control*>& controls() const { return order_; }
  // Names compare without regard to case, as the platform's do. Null when there is none.
  Control* findControl(std::string_view name, int index = -1) const;
  // Finds "name" or "name(index)".
  Control* findControlByPath(std::string_view path) const;
  template <class T>
  T* find(std::string_view name, int index = -1) const {
    return dynamic_cast<T*>(findControl(name, index));
  }

  // Lifecycle. Load runs Form_Load once; Show loads if needed. Unload runs Form_QueryUnload and
  // Form_Unload (either may cancel) and returns whether the form is unloaded now.
  void Load();
  void Show(int modal = vbModeless);
  void Hide();
  bool Unload();
  // The close box: the same path as Unload with UnloadMode vbFormControlMenu.
  bool userClose();
  // Ends a modal showing because of `error`: the form unloads (or hides, when it refuses to), and
  // the Show call that showed it raises `error` once the host's modal run has returned. A form
  // that is not shown modally raises it here.
  void endModalWith(std::exception_ptr error);

  // Focus.
  Control* ActiveControl() const { return active_; }
  // Moves the focus as a person's click or Tab would; returns whether the control has it now.
  bool moveFocus(Control& control);
  // Tab / Shift+Tab order: TabIndex, skipping controls that cannot take the focus and those on a
  // tab strip's hidden pages.
  void focusNext(bool backwards = false);

  // Keys as a person presses them: KeyDown (form first with KeyPreview, then the active control),
  // the form's own keys (Tab, Enter for the default button, Esc for the cancel button, Alt with an
  // accelerator), then KeyPress for keys that produce a character (keyAscii != 0).
  void userKey(int keyCode, int shift, int keyAscii);
  void userKeyPress(int keyAscii);

  // Shows a pop-up menu through the UI host and runs the chosen item's Click.
  void PopupMenu(Menu& menu);

  // Emitted after a form property changed ("Caption", "Visible", "Size", "MousePointer",
  // "ActiveControl", "Loaded").
  Signal<Form&, std::string_view> propertyChanged;

 protected:
  virtual void Form_Load() {}
  virtual void Form_Activate() {}
  virtual void Form_Resize() {}
  virtual void Form_QueryUnload(int& /*Cancel*/, int /*UnloadMode*/) {}
  virtual void Form_Unload(int& /*Cancel*/) {}
  virtual void Form_KeyDown(int& /*KeyCode*/, int /*Shift*/) {}
  virtual void Form_KeyPress(int& /*KeyAscii*/) {}

 private:
  void adopt(std::unique_ptr<Control> control, Geometry geometry, int index);
  bool unloadWith(int mode);
  void notify(std::string_view property);
  void focusFirst();
  bool handleFormKey(int keyCode, int shift);
  // Enter or Esc on a toolbar's default or cancel button; false when no toolbar takes it.
  bool pressToolbarKey(bool cancel);
  // Alt with the accelerator of a toolbar button's caption.
  bool pressToolbarAccelerator(char key);
  // Presses a toolbar's button on the toolbar while it shows, else on the suite's toolbar that
  // shows its buttons.
  bool pressWhereShown(Toolbar& bar, const std::string& key);
  Control* defaultButton(bool cancel) const;

  std::string name_;
  std::string caption_;
  int width_;
  int height_;
  int designWidth_;
  int designHeight_;
  bool keyPreview_ = false;
  bool tabsByPosition_ = false;
  bool escapeCloses_ = false;
  int mousePointer_ = vbDefault;
  bool loaded_ = false;
  bool loading_ = false;
  bool visible_ = false;
  bool modal_ = false;
  bool unloading_ = false;
  // What the modal Show raises when it returns (endModalWith).
  std::exception_ptr modalError_;
  std::vector<std::unique_ptr<Control>> owned_;
  std::vector<Control*> order_;
  Control* active_ = nullptr;
  // A control that has been made active but whose GotFocus has not run yet; a LostFocus handler
  // that moves the focus again must not run Validate/LostFocus on it.
  Control* pendingFocus_ = nullptr;
  unsigned focusSerial_ = 0;
};

}  // namespace quillon::forms
