// Recycles the fixed-size storage blocks of recordset columns.
//
// Dialogs open, re-read and close recordsets of tens of thousands of rows over and over; handing
// each closed recordset's blocks straight back to the system makes the next load fault every page
// in again, which costs as much as reading the rows. Full blocks are therefore kept per thread, up
// to a bound, and reused by the next load on that thread.
#pragma once

#include <cstddef>

namespace quillon::ado {

// The most bytes of free blocks one thread keeps for reuse.
inline constexpr std::size_t kBlockPoolLimitBytes = std::size_t{64} << 20;

// A block of `bytes` bytes (suitably aligned for any scalar), from the pool when one is free.
void* acquireBlock(std::size_t bytes);
// Gives a block obtained from acquireBlock(bytes) back; kept for reuse while under the limit.
void releaseBlock(void* block, std::size_t bytes) noexcept;
// Bytes currently held free by this thread's pool.
std::size_t pooledBlockBytes() noexcept;
// Frees every pooled block of this thread.
void trimBlockPool() noexcept;

}  // namespace quillon::ado
