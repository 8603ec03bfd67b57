#include "ado/column.h"

#include <bit>
#include <cstring>
#include <limits>
#include <string>

#include "ado/ado_errors.h"
#include "ado/ole_date.h"
#include "automation/numeric_text.h"

namespace quillon::ado {

double Column::numberAt(std::size_t row) const {
  switch (kind_) {
    case StorageKind::Int32:
    case StorageKind::Bool:
      return i32_[row];
    case StorageKind::Int64:
      return static_cast<double>(i64_[row]);
    case StorageKind::Double:
    case StorageKind::Date:
      return f64_[row];
    case StorageKind::Text:
      break;
  }
  return 0.0;
}

void Column::appendNull() {
  switch (kind_) {
    case StorageKind::Int32:
    case StorageKind::Bool:
      i32_.push_back(0);
      break;
    case StorageKind::Int64:
      i64_.push_back(0);
      break;
    case StorageKind::Double:
    case StorageKind::Date:
      f64_.push_back(0.0);
      break;
    case StorageKind::Text:
      text_.push_back(store({}));  // reads as the empty text
      break;
  }
  growNulls(true);
}

Column::TextRef Column::store(std::string_view v) {
  if constexpr (std::endian::native == std::endian::little) {
    if (v.size() <= kInlineBytes) {
      TextRef ref{0, 0};
      if (!v.empty()) std::memcpy(&ref, v.data(), v.size());
      ref.length =
          (ref.length & 0x00FFFFFFU) | ((0x80U | static_cast<std::uint32_t>(v.size())) << 24);
      return ref;
    }
  }
  if (v.size() >= kInlineText) throw automation::ComError::outOfMemory();
  return TextRef{arena_.append(v), static_cast<std::uint32_t>(v.size())};
}

Column Column::clone() const {
  Column out(kind_);
  out.size_ = size_;
  out.nulls_ = nulls_;
  out.i32_ = i32_.clone();
  out.i64_ = i64_.clone();
  out.f64_ = f64_.clone();
  out.text_ = text_.clone();
  out.arena_ = arena_.clone();
  return out;
}

void Column::appendFrom(const Column& source, std::size_t row) {
  if (source.isNull(row)) {
    appendNull();
    return;
  }
  switch (kind_) {
    case StorageKind::Int32:
    case StorageKind::Bool:
      appendInt32(source.i32_[row]);
      break;
    case StorageKind::Int64:
      appendInt64(source.i64_[row]);
      break;
    case StorageKind::Double:
    case StorageKind::Date:
      appendDouble(source.f64_[row]);
      break;
    case StorageKind::Text:
      appendText(source.textAt(row));
      break;
  }
}

void Column::reserve(std::size_t rows) {
  nulls_.reserve((rows + 63) / 64);
  switch (kind_) {
    case StorageKind::Int32:
    case StorageKind::Bool:
      i32_.reserve(rows);
      break;
    case StorageKind::Int64:
      i64_.reserve(rows);
      break;
    case StorageKind::Double:
    case StorageKind::Date:
      f64_.reserve(rows);
      break;
    case StorageKind::Text:
      text_.reserve(rows);
      break;
  }
}

void Column::setNull(std::size_t row) {
  nulls_[row >> 6] |= std::uint64_t{1} << (row & 63);
}

void Column::setInt32(std::size_t row, std::int32_t v) {
  i32_[row] = v;
  clearNull(row);
}

void Column::setInt64(std::size_t row, std::int64_t v) {
  i64_[row] = v;
  clearNull(row);
}

void Column::setDouble(std::size_t row, double v) {
  f64_[row] = v;
  clearNull(row);
}

// The old bytes stay in the arena: edits are rare next to loads, and leaving them keeps every
// other cell's offset valid.
void Column::setText(std::size_t row, std::string_view v) {
  text_[row] = store(v);
  clearNull(row);
}

void Column::convertTo(StorageKind kind) {
  if (kind == kind_) return;
  Column out(kind);
  for (std::size_t row = 0; row < size_; ++row) {
    if (isNull(row)) {
      out.appendNull();
      continue;
    }
    switch (kind) {
      case StorageKind::Int32:
      case StorageKind::Bool:
        out.appendInt32(static_cast<std::int32_t>(numberAt(row)));
        break;
      case StorageKind::Int64:
        out.appendInt64(kind_ == StorageKind::Int64 ? i64_[row]
                                                    : static_cast<std::int64_t>(numberAt(row)));
        break;
      case StorageKind::Double:
      case StorageKind::Date:
        out.appendDouble(numberAt(row));
        break;
      case StorageKind::Text:
        if (kind_ == StorageKind::Int32 || kind_ == StorageKind::Bool)
          out.appendText(std::to_string(i32_[row]));
        else if (kind_ == StorageKind::Int64)
          out.appendText(std::to_string(i64_[row]));
        else if (kind_ == StorageKind::Date)
          out.appendText(formatDateSerial(f64_[row]));
        else
          out.appendText(automation::formatGeneralNumber(f64_[row]));
        break;
    }
  }
  *this = std::move(out);
}

void Column::shrinkToFit() {
  nulls_.shrink_to_fit();
  i32_.shrinkToFit();
  i64_.shrinkToFit();
  f64_.shrinkToFit();
  text_.shrinkToFit();
  arena_.shrinkToFit();
}

std::size_t Column::memoryBytes() const {
  return nulls_.capacity() * sizeof(std::uint64_t) + i32_.memoryBytes() + i64_.memoryBytes() +
         f64_.memoryBytes() + text_.memoryBytes() + arena_.memoryBytes();
}

}  // namespace quillon::ado
