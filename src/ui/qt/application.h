// QtApplication: the Qt application object the renderer needs, made when the process has none
// and removed with its owner. On a machine without a display it runs on Qt's offscreen platform,
// so forms can still be drawn (and pictured) there instead of the process ending in Qt's start-up.
#pragma once

#include <memory>

class QApplication;

namespace quillon::ui::qt {

class QtApplication {
 public:
  QtApplication();
  ~QtApplication();
  QtApplication(const QtApplication&) = delete;
  QtApplication& operator=(const QtApplication&) = delete;

  // True when the application draws on the offscreen platform (nothing reaches a screen).
  bool offscreen() const;

 private:
  // QApplication keeps references to argc and argv for its whole life.
  int argc_ = 1;
  char program_[8] = "quillon";
  char* argv_[2] = {program_, nullptr};
  std::unique_ptr<QApplication> owned_;
};

// Whether the environment names a display a window can appear on (X11 or Wayland), or a Qt
// platform chosen explicitly.
bool hasDisplay();

}  // namespace quillon::ui::qt
