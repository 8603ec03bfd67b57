// The warning beep. A bell rings the controlling terminal (BEL on /dev/tty) when the process has
// one, and otherwise stays silent; either way it counts the rings, so a headless run can tell that
// a beep was asked for.
#pragma once

namespace quillon::platform {

class Bell {
 public:
  virtual ~Bell() = default;
  // Never throws and never fails visibly: a beep is a courtesy.
  virtual void ring() = 0;
  int rings() const { return rings_; }

 protected:
  void count() { ++rings_; }

 private:
  int rings_ = 0;
};

class TerminalBell : public Bell {
 public:
  void ring() override;
  // Rings that actually reached a terminal.
  int audible() const { return audible_; }

 private:
  int audible_ = 0;
};

// Only counts; for tests and for hosts that draw their own feedback.
class SilentBell : public Bell {
 public:
  void ring() override { count(); }
};

}  // namespace quillon::platform
