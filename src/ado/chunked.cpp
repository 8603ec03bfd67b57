#include "ado/chunked.h"

#include "automation/com_error.h"

namespace quillon::ado {

namespace {
constexpr std::size_t kMaxSlots = std::size_t{1} << (32 - TextArena::kSlotShift);
[[noreturn]] void outOfMemory() {
  throw automation::ComError(7, "Out of memory");
}
}  // namespace

std::uint32_t TextArena::append(std::string_view v) {
  if (v.size() > kSlot) {
    const std::size_t slots = (v.size() + kSlot - 1) / kSlot;
    if (blocks_.size() + slots > kMaxSlots) outOfMemory();
    const auto offset = static_cast<std::uint32_t>(blocks_.size() << kSlotShift);
    blocks_.emplace_back(v);
    for (std::size_t i = 1; i < slots; ++i) blocks_.emplace_back();
    backFull_ = true;
    return offset;
  }
  if (blocks_.empty() || backFull_ || blocks_.back().size() + v.size() > kSlot) {
    if (blocks_.size() + 1 > kMaxSlots) outOfMemory();
    blocks_.emplace_back();
    if (blocks_.size() > 1) blocks_.back().reserve(kSlot);
    backFull_ = false;
  }
  std::string& b = blocks_.back();
  const auto offset = static_cast<std::uint32_t>(((blocks_.size() - 1) << kSlotShift) | b.size());
  b.append(v);
  return offset;
}

void TextArena::shrinkToFit() {
  if (!blocks_.empty()) blocks_.back().shrink_to_fit();
  blocks_.shrink_to_fit();
}

std::size_t TextArena::memoryBytes() const {
  std::size_t bytes = blocks_.capacity() * sizeof(std::string);
  for (const auto& b : blocks_) bytes += b.capacity() > 15 ? b.capacity() : 0;
  return bytes;
}

}  // namespace quillon::ado
