// Growable storage that never moves what it already holds: values in blocks of 4096, text bytes
// in slots of 256 KiB. Growing a 100 000-row column therefore neither copies it nor leaves it
// with twice the memory it needs, and a small recordset still takes only what it uses (the first
// block grows by doubling up to its full size).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "ado/block_pool.h"

namespace quillon::ado {

template <class T>
class ChunkedArray {
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>,
                "blocks hold raw storage");

  // Full blocks come from and go back to the block pool; the first block while it is still
  // growing, and a last block fitted to its values, are sized to what they hold.
  struct BlockDeleter {
    std::size_t capacity = 0;
    void operator()(T* p) const noexcept {
      if (capacity == kBlock)
        releaseBlock(p, kBlock * sizeof(T));
      else
        ::operator delete(p);
    }
  };
  using Block = std::unique_ptr<T[], BlockDeleter>;

  static Block allocate(std::size_t capacity) {
    void* p = capacity == kBlock ? acquireBlock(kBlock * sizeof(T))
                                 : ::operator new(capacity * sizeof(T));
    return Block(static_cast<T*>(p), BlockDeleter{capacity});
  }

 public:
  static constexpr std::size_t kShift = 12;
  static constexpr std::size_t kBlock = std::size_t{1} << kShift;

  ChunkedArray() = default;
  ChunkedArray(ChunkedArray&& other) noexcept { *this = std::move(other); }
  ChunkedArray& operator=(ChunkedArray&& other) noexcept {
    blocks_ = std::move(other.blocks_);
    firstCapacity_ = other.firstCapacity_;
    lastCapacity_ = other.lastCapacity_;
    size_ = other.size_;
    other.firstCapacity_ = other.lastCapacity_ = other.size_ = 0;
    return *this;
  }
  ChunkedArray(const ChunkedArray&) = delete;
  ChunkedArray& operator=(const ChunkedArray&) = delete;

  std::size_t size() const { return size_; }

  // A copy block for block, shaped as this one is.
  ChunkedArray clone() const {
    ChunkedArray out;
    out.blocks_.reserve(blocks_.size());
    for (std::size_t b = 0; b < blocks_.size(); ++b) {
      const std::size_t capacity =
          b == 0 ? firstCapacity_ : (b + 1 == blocks_.size() ? lastCapacity_ : kBlock);
      const std::size_t start = b << kShift;
      const std::size_t used = std::min(capacity, size_ > start ? size_ - start : 0);
      Block block = allocate(capacity);
      std::copy(blocks_[b].get(), blocks_[b].get() + used, block.get());
      out.blocks_.push_back(std::move(block));
    }
    out.firstCapacity_ = firstCapacity_;
    out.lastCapacity_ = lastCapacity_;
    out.size_ = size_;
    return out;
  }

  T& operator[](std::size_t i) { return blocks_[i >> kShift][i & (kBlock - 1)]; }
  const T& operator[](std::size_t i) const { return blocks_[i >> kShift][i & (kBlock - 1)]; }

  void push_back(const T& v) {
    const std::size_t inBlock = size_ & (kBlock - 1);
    if (inBlock >= lastCapacity_ || (inBlock == 0 && size_ != 0)) grow();
    blocks_.back()[size_ & (kBlock - 1)] = v;
    ++size_;
  }

  // Appends `n` copies of `v`, a block at a time.
  void append(std::size_t n, const T& v) {
    while (n > 0) {
      if ((size_ & (kBlock - 1)) >= lastCapacity_ || ((size_ & (kBlock - 1)) == 0 && size_ != 0))
        grow();
      const std::size_t inBlock = size_ & (kBlock - 1);
      const std::size_t room = std::min(n, lastCapacity_ - inBlock);
      std::fill_n(blocks_.back().get() + inBlock, room, v);
      size_ += room;
      n -= room;
    }
  }

  void reserve(std::size_t n) {
    if (blocks_.empty() && n > 0) resizeFirst(n < kBlock ? n : kBlock);
  }

  // Gives back the unused end of the last block.
  void shrinkToFit() {
    const std::size_t used = size_ - ((blocks_.size() - (blocks_.empty() ? 0 : 1)) << kShift);
    if (blocks_.empty() || used == lastCapacity_) return;
    auto fitted = allocate(used == 0 ? 1 : used);
    std::copy(blocks_.back().get(), blocks_.back().get() + used, fitted.get());
    // The block given up goes back to the system, not to the pool: kept there, it would sit
    // beside its fitted copy for as long as the rows stay.
    ::operator delete(blocks_.back().release());
    blocks_.back() = std::move(fitted);
    lastCapacity_ = used == 0 ? 1 : used;
    if (blocks_.size() == 1) firstCapacity_ = lastCapacity_;
  }

  std::size_t memoryBytes() const {
    if (blocks_.empty()) return 0;
    return blocks_.capacity() * sizeof(Block) +
           ((blocks_.size() - 1) * kBlock + lastCapacity_) * sizeof(T);
  }

 private:
  // The first block doubles up to a full block; later blocks are full from the start. Blocks
  // after the first never move.
  void grow() {
    const std::size_t inBlock = size_ & (kBlock - 1);
    if (blocks_.empty()) {
      resizeFirst(16);
    } else if (size_ < kBlock) {
      resizeFirst(std::min(kBlock, std::max<std::size_t>(16, firstCapacity_ * 2)));
    } else if (inBlock != 0) {
      // A last block that was fitted takes values again: back to a full block.
      auto block = allocate(kBlock);
      std::copy(blocks_.back().get(), blocks_.back().get() + inBlock, block.get());
      blocks_.back() = std::move(block);
      lastCapacity_ = kBlock;
    } else {
      blocks_.push_back(allocate(kBlock));
      lastCapacity_ = kBlock;
    }
  }

  void resizeFirst(std::size_t capacity) {
    auto block = allocate(capacity);
    if (!blocks_.empty()) std::copy(blocks_[0].get(), blocks_[0].get() + size_, block.get());
    if (blocks_.empty())
      blocks_.push_back(std::move(block));
    else
      blocks_[0] = std::move(block);
    firstCapacity_ = lastCapacity_ = capacity;
  }

  std::vector<Block> blocks_;
  std::size_t firstCapacity_ = 0;
  std::size_t lastCapacity_ = 0;  // capacity of the last block
  std::size_t size_ = 0;
};

// Text bytes addressed by a 32-bit offset: the slot number in the high bits, the place in the
// slot in the low ones. A text longer than a slot gets a block of its own spanning several slot
// numbers, so offsets stay plain arithmetic. Full slots come from the block pool; the first slot
// grows by doubling so that a small recordset takes only what it uses.
class TextArena {
 public:
  static constexpr std::size_t kSlotShift = 18;
  static constexpr std::size_t kSlot = std::size_t{1} << kSlotShift;

  TextArena() = default;
  TextArena(TextArena&&) noexcept = default;
  TextArena& operator=(TextArena&&) noexcept = default;

  std::string_view at(std::uint32_t offset, std::uint32_t length) const {
    return {blocks_[offset >> kSlotShift].data.get() + (offset & (kSlot - 1)), length};
  }

  // A copy in which every offset of this arena reads the same bytes.
  TextArena clone() const;

  // Stores the bytes and returns their offset; ComError 7 when the column's 4 GiB are used up.
  std::uint32_t append(std::string_view v);

  void shrinkToFit();
  std::size_t memoryBytes() const;

 private:
  struct SlotDeleter {
    std::size_t capacity = 0;
    void operator()(char* p) const noexcept {
      if (capacity == kSlot)
        releaseBlock(p, kSlot);
      else
        ::operator delete(p);
    }
  };
  struct Slot {
    std::unique_ptr<char[], SlotDeleter> data{nullptr, SlotDeleter{}};
    std::size_t size = 0;
    std::size_t capacity() const { return data.get_deleter().capacity; }
  };

  static Slot makeSlot(std::size_t capacity);
  void growBack(std::size_t needed);

  std::vector<Slot> blocks_;
  bool backFull_ = false;
};

}  // namespace quillon::ado
