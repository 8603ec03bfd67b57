// A subscription to a forms Signal that ends with its owner. A signal destroyed first (its form
// went before the window drawing it) leaves nothing to disconnect: release() then only forgets it.
#pragma once

#include <cstddef>
#include <memory>
#include <utility>

#include "forms/signal.h"

namespace quillon::ui::qt {

template <class... Args>
class ScopedConnection {
 public:
  ScopedConnection() = default;
  ScopedConnection(forms::Signal<Args...>& signal, typename forms::Signal<Args...>::Slot slot)
      : signal_(&signal), lifetime_(signal.lifetime()), id_(signal.connect(std::move(slot))) {}
  ~ScopedConnection() { release(); }
  ScopedConnection(const ScopedConnection&) = delete;
  ScopedConnection& operator=(const ScopedConnection&) = delete;
  ScopedConnection(ScopedConnection&& other) noexcept
      : signal_(std::exchange(other.signal_, nullptr)),
        lifetime_(std::move(other.lifetime_)),
        id_(other.id_) {}
  ScopedConnection& operator=(ScopedConnection&& other) noexcept {
    if (this != &other) {
      release();
      signal_ = std::exchange(other.signal_, nullptr);
      lifetime_ = std::move(other.lifetime_);
      id_ = other.id_;
    }
    return *this;
  }

  void release() {
    if (signal_ != nullptr && !lifetime_.expired()) signal_->disconnect(id_);
    signal_ = nullptr;
    lifetime_.reset();
  }

 private:
  forms::Signal<Args...>* signal_ = nullptr;
  std::weak_ptr<const void> lifetime_;
  std::size_t id_ = 0;
};

}  // namespace quillon::ui::qt
