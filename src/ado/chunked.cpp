#include "ado/chunked.h"

#include <algorithm>

#include "automation/com_error.h"

namespace quillon::ado {

namespace {
constexpr std::size_t kMaxSlots = std::size_t{1} << (32 - TextArena::kSlotShift);
}  // namespace

TextArena::Slot TextArena::makeSlot(std::size_t capacity) {
  void* p = capacity == kSlot ? acquireBlock(kSlot) : ::operator new(capacity == 0 ? 1 : capacity);
  return Slot{std::unique_ptr<char[], SlotDeleter>(static_cast<char*>(p), SlotDeleter{capacity}),
              0};
}

// The last slot, when smaller than a full slot (the first one while it grows, or one fitted by
// shrinkToFit), doubles from 64 bytes until it holds `needed` or is a full slot.
void TextArena::growBack(std::size_t needed) {
  Slot& first = blocks_.back();
  std::size_t capacity = std::max<std::size_t>(64, first.capacity());
  while (capacity < needed) capacity *= 2;
  capacity = std::min(capacity, kSlot);
  Slot grown = makeSlot(capacity);
  std::copy(first.data.get(), first.data.get() + first.size, grown.data.get());
  grown.size = first.size;
  first = std::move(grown);
}

TextArena TextArena::clone() const {
  TextArena out;
  out.blocks_.reserve(blocks_.size());
  for (const Slot& slot : blocks_) {
    if (!slot.data) {
      out.blocks_.emplace_back();  // a slot number spanned by a long text
      continue;
    }
    Slot copy = makeSlot(slot.capacity());
    std::copy(slot.data.get(), slot.data.get() + slot.size, copy.data.get());
    copy.size = slot.size;
    out.blocks_.push_back(std::move(copy));
  }
  out.backFull_ = backFull_;
  return out;
}

std::uint32_t TextArena::append(std::string_view v) {
  if (v.size() > kSlot) {
    const std::size_t slots = (v.size() + kSlot - 1) / kSlot;
    if (blocks_.size() + slots > kMaxSlots) throw automation::ComError::outOfMemory();
    const auto offset = static_cast<std::uint32_t>(blocks_.size() << kSlotShift);
    Slot big = makeSlot(v.size());
    std::copy(v.begin(), v.end(), big.data.get());
    big.size = v.size();
    blocks_.push_back(std::move(big));
    for (std::size_t i = 1; i < slots; ++i) blocks_.emplace_back();
    backFull_ = true;
    return offset;
  }
  if (blocks_.empty() || backFull_ || blocks_.back().size + v.size() > kSlot) {
    if (blocks_.size() + 1 > kMaxSlots) throw automation::ComError::outOfMemory();
    blocks_.push_back(makeSlot(blocks_.empty() ? 0 : kSlot));
    backFull_ = false;
  }
  if (blocks_.back().size + v.size() > blocks_.back().capacity())
    growBack(blocks_.back().size + v.size());
  Slot& b = blocks_.back();
  const auto offset = static_cast<std::uint32_t>(((blocks_.size() - 1) << kSlotShift) | b.size);
  std::copy(v.begin(), v.end(), b.data.get() + b.size);
  b.size += v.size();
  return offset;
}

void TextArena::shrinkToFit() {
  if (!blocks_.empty()) {
    Slot& last = blocks_.back();
    if (last.data && last.size < last.capacity()) {
      Slot fitted = makeSlot(last.size);
      std::copy(last.data.get(), last.data.get() + last.size, fitted.data.get());
      fitted.size = last.size;
      // Freed outright rather than pooled, as ChunkedArray::shrinkToFit does.
      ::operator delete(last.data.release());
      last = std::move(fitted);
    }
  }
  blocks_.shrink_to_fit();
}

std::size_t TextArena::memoryBytes() const {
  std::size_t bytes = blocks_.capacity() * sizeof(Slot);
  for (const auto& b : blocks_) bytes += b.data ? b.capacity() : 0;
  return bytes;
}

}  // namespace quillon::ado
