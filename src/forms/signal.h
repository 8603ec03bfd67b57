// Signal: the change notifications a renderer subscribes to. Slots are called in subscription
// order; a slot may disconnect itself (or others) while the signal is being emitted. A subscriber
// that may outlive the signal watches lifetime(), which expires when the signal is destroyed.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace quillon::forms {

template <class... Args>
class Signal {
 public:
  using Slot = std::function<void(Args...)>;

  Signal() = default;
  // A copy has the slots of the original and a lifetime of its own.
  Signal(const Signal& other) : slots_(other.slots_), lastId_(other.lastId_) {}
  Signal& operator=(const Signal& other) {
    slots_ = other.slots_;
    lastId_ = other.lastId_;
    return *this;
  }
  ~Signal() = default;

  std::weak_ptr<const void> lifetime() const { return lifetime_; }

  // Returns an id for disconnect(); ids are never reused within one signal.
  std::size_t connect(Slot slot) {
    slots_.push_back({++lastId_, std::move(slot)});
    return lastId_;
  }

  void disconnect(std::size_t id) {
    for (auto& entry : slots_) {
      if (entry.id == id) entry.slot = nullptr;
    }
  }

  void emit(Args... args) const {
    // Index loop: a slot may connect more slots while we run; those wait for the next emit.
    const std::size_t count = slots_.size();
    for (std::size_t i = 0; i < count; ++i) {
      Slot slot = slots_[i].slot;  // copy: the slot may disconnect itself
      if (slot) slot(args...);
    }
  }

  std::size_t size() const {
    std::size_t n = 0;
    for (const auto& entry : slots_) n += entry.slot ? 1 : 0;
    return n;
  }

 private:
  struct Entry {
    std::size_t id;
    Slot slot;
  };
  std::vector<Entry> slots_;
  std::size_t lastId_ = 0;
  std::shared_ptr<const int> lifetime_ = std::make_shared<const int>(0);
};

}  // namespace quillon::forms
