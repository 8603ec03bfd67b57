// RecordsetView: what a list, a grid or a printer shows of a recordset — the rows of its view
// (filter and sort applied) as they are when the view is taken, with the field names, read by
// position without moving the recordset's cursor. The rows themselves are shared with the
// recordset, so a value written into it later shows through; rows added or removed later do not.
// A growing view of a recordset opened progressively (Recordset::openProgressive) shows the rows
// read so far and grows as more are read.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ado/data_type.h"
#include "automation/variant.h"

namespace quillon::ado {

class RecordData;
class Recordset;
class RowLoad;

class RecordsetView {
 public:
  // A closed recordset gives a view without fields and rows. A recordset whose rows are still
  // loading (Recordset::openProgressive) reads them all first.
  explicit RecordsetView(const Recordset& rs);
  // For a list that draws the rows as they come: of a recordset still loading, the rows read so
  // far, in the order read, growing as more are read (grow); of any other, as the constructor.
  static RecordsetView growing(const Recordset& rs);

  int fieldCount() const;
  const std::string& fieldName(int field) const;  // 0-based, in field order
  // The field's definition; while the rows still load, an expression's type is that of the rows
  // read so far.
  const FieldDef& fieldDef(int field) const;
  // A field by name without regard to case (the first of two with one name).
  std::optional<int> fieldIndex(std::string_view name) const;
  bool hasField(std::string_view name) const { return fieldIndex(name).has_value(); }

  int rowCount() const { return static_cast<int>(rows_.size()); }
  // The value of a row (0-based, in view order) and field; Empty outside the view.
  automation::Variant value(int row, int field) const;
  // The same value as a Double when it is a number (value(row, field).toDouble() of a number,
  // True being -1), without making the Variant; nothing for Null, texts and dates.
  std::optional<double> number(int row, int field) const;
  // number() of rows first, first + 1, ... into `out`, up to `count` of them, stopping before the
  // first row without a number; returns how many were read. For a reader that takes a column.
  int numbers(int field, int first, int count, double* out) const;
  // Brings the cell into the cache ahead of its read or write: a reader walking the rows of a
  // sorted view calls it a few rows ahead of the one it reads.
  // Fields below 0 are passed over.
  void prefetch(int row, std::initializer_list<int> fields) const;
  // The row's AbsolutePosition in the recordset the view was taken from.
  std::int32_t position(int row) const { return positions_[static_cast<std::size_t>(row)]; }
  // Keeps the rows for which `keep` holds, in their order; positions stay those of the recordset.
  // A view still growing reads the rest of its rows first.
  void keepRows(const std::function<bool(int row)>& keep);

  // Whether more rows may still come: the recordset's rows are still loading.
  bool mayGrow() const { return load_ != nullptr; }
  // Reads up to `maxRows` more rows within about `budget` and adds them to the view; of the
  // server's rows, only those that have come (RowLoad::fetch). Returns whether more may still
  // come. A failure to read ends the growing; the recordset reports it.
  bool grow(std::size_t maxRows, std::chrono::nanoseconds budget);
  // Reads every row left and adds them.
  void growToEnd();

 private:
  RecordsetView() = default;
  void takeLoaded();

  std::shared_ptr<RowLoad> load_;
  std::shared_ptr<const RecordData> data_;
  std::vector<std::uint32_t> rows_;
  std::vector<std::int32_t> positions_;
};

// Whether the recordset (open or built from appended fields) has a field of that name.
bool hasField(const Recordset& rs, std::string_view name);

}  // namespace quillon::ado
