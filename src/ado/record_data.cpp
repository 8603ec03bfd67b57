#include "ado/record_data.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "ado/ado_errors.h"
#include "automation/com_error.h"
#include "automation/text_compare.h"
#include "automation/utf8.h"

namespace quillon::ado {

RecordData::RecordData(std::vector<FieldDef> fields) : fields_(std::move(fields)) {
  columns_.reserve(fields_.size());
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    columns_.emplace_back(fields_[i].kind);
    byName_.emplace(automation::asciiLower(fields_[i].name), static_cast<int>(i));
  }
}

int RecordData::fieldIndex(std::string_view name) const {
  const auto it = byName_.find(automation::asciiLower(name));
  return it == byName_.end() ? -1 : it->second;
}

std::int32_t RecordData::status(std::size_t row) const {
  const std::uint8_t f = rowFlags_[row];
  if (f & kDeleted) return adRecDeleted;
  if (f & kNew) return adRecNew;
  if (f & kModified) return adRecModified;
  return adRecUnmodified;
}

Variant RecordData::value(std::size_t row, std::size_t col) const {
  return cellValue(columns_[col], row, col);
}

Variant RecordData::cellValue(const Column& c, std::size_t row, std::size_t col) const {
  if (c.isNull(row)) return Variant::null();
  switch (c.kind()) {
    case StorageKind::Int32: {
      const std::int32_t t = fields_[col].type;
      if (t == adSmallInt || t == adTinyInt || t == adUnsignedTinyInt)
        return Variant(static_cast<std::int16_t>(c.int32At(row)));
      return Variant(c.int32At(row));
    }
    case StorageKind::Int64:
      return Variant(static_cast<double>(c.int64At(row)));
    case StorageKind::Double:
      return Variant(c.doubleAt(row));
    case StorageKind::Date:
      return Variant(automation::DateValue{c.doubleAt(row)});
    case StorageKind::Bool:
      return Variant(c.int32At(row) != 0);
    case StorageKind::Text:
      return Variant(std::string(c.textAt(row)));
  }
  return {};
}

void RecordData::keepOriginal(std::size_t row, std::size_t col) {
  if (originals_.size() < columns_.size()) originals_.resize(columns_.size());
  auto& copy = originals_[col];
  if (!copy) {
    // One copy of the column at its first write costs less than remembering each cell written,
    // when a dialog writes a field of every row.
    copy = std::make_unique<Column>(columns_[col].clone());
    return;
  }
  if (row < copy->size()) return;
  const std::uint64_t key = static_cast<std::uint64_t>(row) * fields_.size() + col;
  if (!lateOriginals_.contains(key)) lateOriginals_.emplace(key, value(row, col));
}

Variant RecordData::originalValue(std::size_t row, std::size_t col) const {
  if (rowFlags_[row] & kNew) return Variant::null();
  if (col < originals_.size() && originals_[col] && row < originals_[col]->size())
    return cellValue(*originals_[col], row, col);
  const auto it = lateOriginals_.find(static_cast<std::uint64_t>(row) * fields_.size() + col);
  return it == lateOriginals_.end() ? value(row, col) : it->second;
}

namespace {

std::int32_t toInt32Checked(const Variant& v, std::int32_t type) {
  const std::int32_t n = v.toLong();
  const bool fits = type == adSmallInt            ? n >= -32768 && n <= 32767
                    : (type == adTinyInt)         ? n >= -128 && n <= 127
                    : (type == adUnsignedTinyInt) ? n >= 0 && n <= 255
                                                  : true;
  if (!fits) throwWrongValueType();
  return n;
}

}  // namespace

void RecordData::setNumber(std::size_t row, std::size_t col, double v) {
  Column& c = columns_[col];
  if (c.kind() != StorageKind::Double) {
    setValue(row, col, Variant(v));
    return;
  }
  changed_ = true;
  const bool added = (rowFlags_[row] & kNew) != 0;
  if (!added) keepOriginal(row, col);
  if (columnWrites_.size() < columns_.size()) columnWrites_.resize(columns_.size());
  ++columnWrites_[col];
  c.setDouble(row, v);
  if (!added) rowFlags_[row] |= kModified;
}

void RecordData::setNumbers(std::span<const std::uint32_t> rows, std::size_t col,
                            std::span<const double> values) {
  Column& c = columns_[col];
  if (c.kind() != StorageKind::Double) {
    for (std::size_t i = 0; i < rows.size(); ++i) setValue(rows[i], col, Variant(values[i]));
    return;
  }
  if (rows.empty()) return;
  changed_ = true;
  if (columnWrites_.size() < columns_.size()) columnWrites_.resize(columns_.size());
  columnWrites_[col] += rows.size();
  constexpr std::size_t kAhead = 8;
  // The column's copy of its values before the first write covers every row it held then.
  const Column* copy = col < originals_.size() ? originals_[col].get() : nullptr;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (i + kAhead < rows.size()) {
      c.prefetch(rows[i + kAhead]);
      prefetchLine(&rowFlags_[rows[i + kAhead]]);
    }
    const std::size_t row = rows[i];
    std::uint8_t& flags = rowFlags_[row];
    if ((flags & kNew) == 0) {
      if (copy == nullptr || row >= copy->size()) {
        keepOriginal(row, col);
        copy = originals_[col].get();
      }
      flags |= kModified;
    }
    c.setDouble(row, values[i]);
  }
}

void RecordData::setValue(std::size_t row, std::size_t col, const Variant& v) {
  Column& c = columns_[col];
  const FieldDef& f = fields_[col];
  changed_ = true;
  if (!(rowFlags_[row] & kNew)) keepOriginal(row, col);
  if (columnWrites_.size() < columns_.size()) columnWrites_.resize(columns_.size());
  ++columnWrites_[col];
  if (v.isNull() || v.isEmpty() || v.isMissing()) {
    c.setNull(row);
  } else if (v.isObject() || v.isArray()) {
    throwWrongValueType();
  } else {
    try {
      switch (c.kind()) {
        case StorageKind::Int32:
          c.setInt32(row, toInt32Checked(v, f.type));
          break;
        case StorageKind::Bool:
          c.setInt32(row, v.toBool() ? 1 : 0);
          break;
        case StorageKind::Int64: {
          const double d = std::nearbyint(v.toDouble());
          if (!(std::fabs(d) < 9.2e18)) throwWrongValueType();
          c.setInt64(row, static_cast<std::int64_t>(d));
          break;
        }
        case StorageKind::Double:
          c.setDouble(row, v.toDouble());
          break;
        case StorageKind::Date:
          c.setDouble(row, v.toDate().serial);
          break;
        case StorageKind::Text:
          c.setText(row, v.toString());
          break;
      }
    } catch (const automation::ComError& e) {
      if (e.number() == kErrWrongValueType) throw;
      throwWrongValueType();
    }
  }
  if (!(rowFlags_[row] & kNew)) rowFlags_[row] |= kModified;
}

std::int32_t RecordData::actualSize(std::size_t row, std::size_t col) const {
  const Column& c = columns_[col];
  if (c.isNull(row)) return 0;
  if (c.kind() != StorageKind::Text) return fields_[col].definedSize;
  const std::string_view text = c.textAt(row);
  // Wide text counts two bytes per UTF-16 unit; narrow text one byte per ASCII character and two
  // per other character, as a double-byte code page stores it.
  if (isWideTextType(fields_[col].type)) {
    return static_cast<std::int32_t>(automation::utf8::utf16Length(text) * 2);
  }
  std::int32_t bytes = 0;
  for (std::size_t pos = 0; pos < text.size();)
    bytes += automation::utf8::decodeAt(text, pos) < 0x80 ? 1 : 2;
  return bytes;
}

std::size_t RecordData::appendRow() {
  for (Column& c : columns_) c.appendNull();
  rowFlags_.push_back(kNew);
  changed_ = true;
  return rowFlags_.size() - 1;
}

void RecordData::markDeleted(std::size_t row) {
  if (rowFlags_[row] & kDeleted) return;
  rowFlags_[row] |= kDeleted;
  ++deleteGeneration_;
  changed_ = true;
}

std::shared_ptr<RecordData> RecordData::copy(const std::vector<std::uint32_t>* rows) const {
  std::vector<FieldDef> defs = fields_;
  for (std::size_t i = 0; i < defs.size(); ++i) {
    defs[i].kind = columns_[i].kind();
    defs[i].inferred = false;
  }
  auto out = std::make_shared<RecordData>(std::move(defs));
  const bool everyRow =
      rows != nullptr && rows->size() == rowFlags_.size() &&
      std::all_of(rows->begin(), rows->end(),
                  [i = std::uint32_t{0}](std::uint32_t r) mutable { return r == i++; });
  if (everyRow) {
    // Every row in its own order: the columns are copied block by block.
    for (std::size_t col = 0; col < columns_.size(); ++col)
      out->columns_[col] = columns_[col].clone();
    out->rowFlags_.assign(rows->size(), 0);
  } else if (rows != nullptr) {
    for (std::size_t col = 0; col < columns_.size(); ++col) {
      Column& target = out->columns_[col];
      target.reserve(rows->size());
      for (const std::uint32_t row : *rows) target.appendFrom(columns_[col], row);
    }
    out->rowFlags_.assign(rows->size(), 0);
  }
  return out;
}

void RecordData::finishLoad() {
  for (Column& c : columns_) c.shrinkToFit();
  rowFlags_.shrink_to_fit();
}

void RecordData::settleInferred(std::size_t col, std::int32_t maxTextChars) {
  FieldDef& f = fields_[col];
  if (!f.inferred) return;
  f.kind = columns_[col].kind();
  f.attributes = adFldUpdatable | adFldIsNullable | adFldMayBeNull;
  switch (f.kind) {
    case StorageKind::Int32:
      f.type = adInteger, f.definedSize = 4, f.precision = 10;
      break;
    case StorageKind::Int64:
      f.type = adBigInt, f.definedSize = 8, f.precision = 19;
      break;
    case StorageKind::Double:
      f.type = adDouble, f.definedSize = 8, f.precision = 15;
      break;
    case StorageKind::Date:
      f.type = adDBTimeStamp, f.definedSize = 16, f.precision = 23, f.numericScale = 3;
      break;
    case StorageKind::Bool:
      f.type = adBoolean, f.definedSize = 2;
      break;
    case StorageKind::Text:
      f.type = adVarWChar, f.definedSize = maxTextChars > 0 ? maxTextChars : 1;
      break;
  }
  if (f.kind != StorageKind::Text) f.attributes |= adFldFixed;
  f.inferred = false;
}

std::size_t RecordData::memoryBytes() const {
  std::size_t bytes = sizeof(*this) + rowFlags_.capacity() + fields_.capacity() * sizeof(FieldDef);
  for (const Column& c : columns_) bytes += sizeof(Column) + c.memoryBytes();
  for (const auto& c : originals_) {
    if (c) bytes += sizeof(Column) + c->memoryBytes();
  }
  return bytes;
}

}  // namespace quillon::ado
