// One column of a recordset's rows, stored by kind: a typed vector of values, a null bitmap and,
// for text, an arena of bytes with an (offset, length) per cell. No cell owns a heap block, so
// 100 000 rows of 20 columns are a handful of allocations.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ado/chunked.h"
#include "ado/data_type.h"

namespace quillon::ado {

// A cache-line prefetch. The empty statement that takes the address keeps GCC from dropping a
// prefetch that stands under a condition, as it otherwise does.
inline void prefetchLine(const void* address) {
  asm volatile("" : : "r"(address));
  __builtin_prefetch(address);
}

class Column {
 public:
  explicit Column(StorageKind kind) : kind_(kind) {}

  StorageKind kind() const { return kind_; }
  std::size_t size() const { return size_; }

  bool isNull(std::size_t row) const { return (nulls_[row >> 6] >> (row & 63)) & 1U; }

  // Reads; the row must exist and hold a value of this kind (Bool is read as int32).
  std::int32_t int32At(std::size_t row) const { return i32_[row]; }
  std::int64_t int64At(std::size_t row) const { return i64_[row]; }
  double doubleAt(std::size_t row) const { return f64_[row]; }
  std::string_view textAt(std::size_t row) const {
    const TextRef& r = text_[row];
    if (r.length >= kInlineText) {
      return {reinterpret_cast<const char*>(&r), static_cast<std::size_t>((r.length >> 24) & 7)};
    }
    return arena_.at(r.offset, r.length);
  }
  // Any numeric kind as a double (Bool as 0 / 1).
  double numberAt(std::size_t row) const;
  // Asks the processor for the cache lines of a cell about to be read or written: readers that
  // walk a sorted view meet the cells in an order no cache can guess.
  // The null bitmap, 8 bytes for 64 rows, stays in the cache by itself.
  void prefetch(std::size_t row) const {
    if (row >= size_) return;
    switch (kind_) {
      case StorageKind::Int32:
      case StorageKind::Bool:
        prefetchLine(&i32_[row]);
        break;
      case StorageKind::Int64:
        prefetchLine(&i64_[row]);
        break;
      case StorageKind::Double:
      case StorageKind::Date:
        prefetchLine(&f64_[row]);
        break;
      case StorageKind::Text:
        prefetchLine(&text_[row]);
        break;
    }
  }

  void appendNull();
  void appendInt32(std::int32_t v) {
    i32_.push_back(v);
    growNulls(false);
  }
  void appendInt64(std::int64_t v) {
    i64_.push_back(v);
    growNulls(false);
  }
  void appendDouble(double v) {  // Double and Date
    f64_.push_back(v);
    growNulls(false);
  }
  void appendText(std::string_view v) {
    text_.push_back(store(v));
    growNulls(false);
  }

  void setNull(std::size_t row);
  void setInt32(std::size_t row, std::int32_t v);
  void setInt64(std::size_t row, std::int64_t v);
  void setDouble(std::size_t row, double v);
  void setText(std::size_t row, std::string_view v);

  // A copy of every cell, made block by block.
  Column clone() const;
  // Appends a copy of another column's cell; both columns have the same kind.
  void appendFrom(const Column& source, std::size_t row);
  void reserve(std::size_t rows);

  // Re-stores every value in another kind: integers widen, numbers become text in their general
  // form. Used while loading a column whose values turn out wider than first seen.
  void convertTo(StorageKind kind);

  // Releases the spare capacity left by growing.
  void shrinkToFit();
  std::size_t memoryBytes() const;

 private:
  // A text's place in the arena; or, for a text of up to seven bytes (codes, short names, the
  // empty text), the text itself: its bytes in the reference's first seven bytes and the length
  // with kInlineText in its top byte. Most cells of a list are short, and so take no arena bytes.
  struct TextRef {
    std::uint32_t offset;
    std::uint32_t length;
  };
  static constexpr std::uint32_t kInlineText = 0x80000000U;
  static constexpr std::size_t kInlineBytes = 7;

  void growNulls(bool isNull) {
    if ((size_ & 63) == 0) nulls_.push_back(0);
    if (isNull) nulls_.back() |= std::uint64_t{1} << (size_ & 63);
    ++size_;
  }
  void clearNull(std::size_t row) { nulls_[row >> 6] &= ~(std::uint64_t{1} << (row & 63)); }
  TextRef store(std::string_view v);

  StorageKind kind_;
  std::size_t size_ = 0;
  std::vector<std::uint64_t> nulls_;
  ChunkedArray<std::int32_t> i32_;
  ChunkedArray<std::int64_t> i64_;
  ChunkedArray<double> f64_;
  ChunkedArray<TextRef> text_;
  TextArena arena_;
};

}  // namespace quillon::ado
