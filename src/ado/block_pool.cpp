#include "ado/block_pool.h"

#include <new>
#include <vector>

namespace quillon::ado {

namespace {

// Set once this thread's pool is destroyed: blocks of objects that outlive it (statics destroyed
// after thread-locals) go straight back to the system.
thread_local bool poolGone = false;

class BlockPool {
 public:
  BlockPool() = default;
  BlockPool(const BlockPool&) = delete;
  BlockPool& operator=(const BlockPool&) = delete;
  ~BlockPool() {
    trim();
    poolGone = true;
  }

  void* acquire(std::size_t bytes) {
    for (Bin& bin : bins_) {
      if (bin.bytes != bytes || bin.free.empty()) continue;
      void* block = bin.free.back();
      bin.free.pop_back();
      held_ -= bytes;
      return block;
    }
    return ::operator new(bytes);
  }

  void release(void* block, std::size_t bytes) noexcept {
    if (block == nullptr) return;
    if (held_ + bytes <= kBlockPoolLimitBytes) {
      try {
        binFor(bytes).free.push_back(block);
        held_ += bytes;
        return;
      } catch (...) {
        // No room to remember it: give it back to the system instead.
      }
    }
    ::operator delete(block);
  }

  std::size_t held() const noexcept { return held_; }

  void trim() noexcept {
    for (Bin& bin : bins_) {
      for (void* block : bin.free) ::operator delete(block);
      bin.free.clear();
    }
    held_ = 0;
  }

 private:
  // Only a handful of block sizes exist (one per value width), so a short list beats a map.
  struct Bin {
    std::size_t bytes;
    std::vector<void*> free;
  };

  Bin& binFor(std::size_t bytes) {
    for (Bin& bin : bins_)
      if (bin.bytes == bytes) return bin;
    bins_.push_back(Bin{bytes, {}});
    return bins_.back();
  }

  std::vector<Bin> bins_;
  std::size_t held_ = 0;
};

BlockPool& pool() {
  thread_local BlockPool instance;
  return instance;
}

}  // namespace

void* acquireBlock(std::size_t bytes) {
  if (poolGone) return ::operator new(bytes);
  return pool().acquire(bytes);
}

void releaseBlock(void* block, std::size_t bytes) noexcept {
  if (poolGone) {
    ::operator delete(block);
    return;
  }
  pool().release(block, bytes);
}

std::size_t pooledBlockBytes() noexcept {
  return poolGone ? 0 : pool().held();
}

void trimBlockPool() noexcept {
  if (!poolGone) pool().trim();
}

}  // namespace quillon::ado
