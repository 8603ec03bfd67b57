// ScopeGuard: runs a function when its scope ends, however it ends (an error included). The
// dialogs' busy pointer, a grid's paused redraw and a value set for a scope are built on it, so
// each is restored in one place.
#pragma once

#include <functional>
#include <utility>

namespace quillon::forms {

class Form;
class MsSuperGrid;

class [[nodiscard]] ScopeGuard {
 public:
  explicit ScopeGuard(std::function<void()> onExit) : onExit_(std::move(onExit)) {}
  ~ScopeGuard() {
    if (onExit_) onExit_();
  }
  ScopeGuard(const ScopeGuard&) = delete;
  ScopeGuard& operator=(const ScopeGuard&) = delete;

 private:
  std::function<void()> onExit_;
};

// `place` holds `value` until the scope ends, then what it held before (a suppression flag).
template <class T>
ScopeGuard valueForScope(T& place, T value) {
  T before = std::exchange(place, std::move(value));
  return ScopeGuard([&place, before = std::move(before)]() mutable { place = std::move(before); });
}

// The form shows the busy pointer until the scope ends, then the default one.
ScopeGuard busyPointer(Form& form);

// The grid does not announce its cell changes until the scope ends, then announces them once.
ScopeGuard redrawPaused(MsSuperGrid& grid);

}  // namespace quillon::forms
