// Toolbars: the platform's toolbar (buttons with keys, captions and images from an image list) and
// the suite's toolbar control `CTBCtrl`, which draws the buttons of a standard toolbar it is
// attached to and reports presses by key.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "forms/control.h"

namespace quillon::forms {

struct ToolbarButton {
  static constexpr int tbrDefault = 0;
  static constexpr int tbrCheck = 1;
  static constexpr int tbrSeparator = 3;

  std::string key;
  std::string caption;
  std::string image;  // key in the toolbar's image list
  std::string toolTip;
  int style = tbrDefault;
  bool enabled = true;
  bool visible = true;
  int value = 0;  // check buttons: 1 while pressed down
};

class Toolbar : public Control {
 public:
  explicit Toolbar(std::string name);

  const std::string& ImageList() const { return imageList_; }
  void setImageList(std::string name);
  // Keys are unique (ComError 35602); separators may have an empty key.
  ToolbarButton& addButton(std::string key, std::string caption = {}, std::string image = {},
                           int style = ToolbarButton::tbrDefault);
  int buttonCount() const { return static_cast<int>(buttons_.size()); }
  const std::vector<ToolbarButton>& buttons() const { return buttons_; }
  ToolbarButton* findButton(std::string_view key);
  // ComError 35601 "Element not found" for an unknown key.
  ToolbarButton& button(std::string_view key);
  void setButtonEnabled(std::string_view key, bool on);
  void setButtonVisible(std::string_view key, bool on);
  void setButtonValue(std::string_view key, int value);
  void setButtonImage(std::string_view key, std::string image);
  void setButtonCaption(std::string_view key, std::string caption);
  // The buttons Enter and Esc press on the form ("" for none), as a form's default and cancel
  // buttons are pressed: on this toolbar while it shows, else on the suite's toolbar that shows
  // its buttons.
  const std::string& DefaultKey() const { return defaultKey_; }
  void setDefaultKey(std::string key) { defaultKey_ = std::move(key); }
  const std::string& CancelKey() const { return cancelKey_; }
  void setCancelKey(std::string key) { cancelKey_ = std::move(key); }

  std::function<void(ToolbarButton& Button)> ButtonClick;

  // The button state of a press: refused (null) for a missing, hidden, disabled or separator
  // button; a check button flips its value. No event runs.
  ToolbarButton* press(std::string_view key);
  // A person presses a button: press() and then ButtonClick. False when refused.
  bool userPress(std::string_view key);

 private:
  std::string imageList_;
  std::vector<ToolbarButton> buttons_;
  std::string defaultKey_;
  std::string cancelKey_;
};

class CTBCtrl : public Control {
 public:
  explicit CTBCtrl(std::string name);

  // The standard toolbar whose buttons this control shows; null detaches.
  void setToolbar(Toolbar* toolbar);
  Toolbar* toolbar() const { return toolbar_; }
  int Style() const { return style_; }
  void setStyle(int style);

  std::function<void(const std::string& Key)> ButtonClick;

  // A person presses a button of the attached toolbar; the toolbar's button state changes as on
  // the toolbar itself, and ButtonClick runs with the key.
  bool userPress(std::string_view key);

 private:
  Toolbar* toolbar_ = nullptr;
  int style_ = 1;
};

}  // namespace quillon::forms
