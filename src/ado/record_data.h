// The rows behind one or more recordsets: field definitions, one Column per field, and per-row
// flags. Clones share one RecordData; each keeps its own cursor, filter and sort over it.
//
// Rows are numbered from 0 in the order they were loaded or added; the number never changes, so
// it is what a bookmark names. Deleting a row only flags it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ado/column.h"
#include "ado/data_type.h"
#include "automation/variant.h"

namespace quillon::ado {

using automation::Variant;

// RecordStatusEnum values for a row's Status.
inline constexpr std::int32_t adRecOK = 0;
inline constexpr std::int32_t adRecNew = 1;
inline constexpr std::int32_t adRecModified = 2;
inline constexpr std::int32_t adRecDeleted = 4;
inline constexpr std::int32_t adRecUnmodified = 8;

class RecordData {
 public:
  explicit RecordData(std::vector<FieldDef> fields);

  const std::vector<FieldDef>& fields() const { return fields_; }
  std::size_t fieldCount() const { return fields_.size(); }
  const FieldDef& field(std::size_t i) const { return fields_[i]; }
  // Index of a field by name without regard to case; -1 when there is none. With two fields of
  // the same name the first wins.
  int fieldIndex(std::string_view name) const;

  const Column& column(std::size_t i) const { return columns_[i]; }
  Column& column(std::size_t i) { return columns_[i]; }
  // The cache lines a read or a write of the row's cells in these columns will touch (see
  // Column::prefetch); columns below 0 or past the last are passed over.
  void prefetch(std::size_t row, std::initializer_list<int> cols) const {
    if (row >= rowFlags_.size()) return;
    prefetchLine(&rowFlags_[row]);
    for (const int col : cols) {
      if (col >= 0 && static_cast<std::size_t>(col) < columns_.size()) {
        columns_[static_cast<std::size_t>(col)].prefetch(row);
      }
    }
  }

  std::size_t rowCount() const { return rowFlags_.size(); }
  bool isDeleted(std::size_t row) const { return (rowFlags_[row] & kDeleted) != 0; }
  std::int32_t status(std::size_t row) const;

  Variant value(std::size_t row, std::size_t col) const;
  // The value as loaded (Null for a row added locally), regardless of later edits.
  Variant originalValue(std::size_t row, std::size_t col) const;
  // Stores a value converted to the field's kind; 3421 when it cannot be converted.
  void setValue(std::size_t row, std::size_t col, const Variant& v);
  // setValue(row, col, Variant(v)); a column of doubles takes the number as it is, with no
  // Variant made and converted back for each cell of a dialog that writes a whole column.
  void setNumber(std::size_t row, std::size_t col, double v);
  // setNumber(rows[i], col, values[i]) for every i in order.
  void setNumbers(std::span<const std::uint32_t> rows, std::size_t col,
                  std::span<const double> values);
  // Length of the value as the field reports it in ActualSize.
  std::int32_t actualSize(std::size_t row, std::size_t col) const;

  // A new row of Nulls, flagged as added; returns its number.
  std::size_t appendRow();
  void markDeleted(std::size_t row);
  // Undoes an added row that was never committed: it becomes a deleted row nobody sees.
  void discardRow(std::size_t row) { markDeleted(row); }
  // Rises on every delete, so cursors know when to drop deleted rows from their views.
  std::uint64_t deleteGeneration() const { return deleteGeneration_; }
  // No value written, row added or row deleted since the rows were loaded (or copied).
  bool asLoaded() const { return !changed_; }

  // The row's flags, so an abandoned edit can put them back as they were.
  std::uint8_t rowFlags(std::size_t row) const { return rowFlags_[row]; }
  void restoreRowFlags(std::size_t row, std::uint8_t flags) { rowFlags_[row] = flags; }

  // A new, independent RecordData with the same fields and, when `rows` is given, copies of
  // those rows in that order (as loaded rows, without edit history).
  std::shared_ptr<RecordData> copy(const std::vector<std::uint32_t>* rows) const;

  // Called by the loader once per loaded row and at the end of the load.
  void noteLoadedRow() { rowFlags_.push_back(0); }
  void finishLoad();
  // Settles the type of an expression column from the kind its values ended up in.
  void settleInferred(std::size_t col, std::int32_t maxTextChars);

  std::size_t memoryBytes() const;

  // How many times values of the column were written since loading: a cursor that ordered rows
  // by a column knows the order still holds while the count stands.
  std::uint64_t columnWrites(std::size_t col) const {
    return col < columnWrites_.size() ? columnWrites_[col] : 0;
  }

 private:
  Variant cellValue(const Column& c, std::size_t row, std::size_t col) const;
  void keepOriginal(std::size_t row, std::size_t col);

  static constexpr std::uint8_t kDeleted = 1;
  static constexpr std::uint8_t kNew = 2;
  static constexpr std::uint8_t kModified = 4;

  std::vector<FieldDef> fields_;
  std::vector<Column> columns_;
  std::vector<std::uint8_t> rowFlags_;
  std::unordered_map<std::string, int> byName_;
  // A column's values as they stood before its first write, for OriginalValue; rows that came
  // after that copy keep their first-written value in `lateOriginals_`.
  std::vector<std::unique_ptr<Column>> originals_;
  std::unordered_map<std::uint64_t, Variant> lateOriginals_;  // row * fieldCount + col
  std::uint64_t deleteGeneration_ = 0;
  bool changed_ = false;
  std::vector<std::uint64_t> columnWrites_;  // per column, values written after loading
};

}  // namespace quillon::ado
