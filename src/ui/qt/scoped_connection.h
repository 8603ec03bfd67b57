// A subscription to a forms Signal that ends with its owner. The signal must outlive the
// subscription or be released first with release() (a renderer lets go of a form that is being
// destroyed).
#pragma once

#include <cstddef>
#include <utility>

#include "forms/signal.h"

namespace quillon::ui::qt {

template <class... Args>
class ScopedConnection {
 public:
  ScopedConnection() = default;
  ScopedConnection(forms::Signal<Args...>& signal, typename forms::Signal<Args...>::Slot slot)
      : signal_(&signal), id_(signal.connect(std::move(slot))) {}
  ~ScopedConnection() { release(); }
  ScopedConnection(const ScopedConnection&) = delete;
  ScopedConnection& operator=(const ScopedConnection&) = delete;
  ScopedConnection(ScopedConnection&& other) noexcept
      : signal_(std::exchange(other.signal_, nullptr)), id_(other.id_) {}
  ScopedConnection& operator=(ScopedConnection&& other) noexcept {
    if (this != &other) {
      release();
      signal_ = std::exchange(other.signal_, nullptr);
      id_ = other.id_;
    }
    return *this;
  }

  void release() {
    if (signal_ != nullptr) signal_->disconnect(id_);
    signal_ = nullptr;
  }

 private:
  forms::Signal<Args...>* signal_ = nullptr;
  std::size_t id_ = 0;
};

}  // namespace quillon::ui::qt
