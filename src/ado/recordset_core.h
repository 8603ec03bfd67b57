// The cursor of a client-side recordset: a view (row numbers of a shared RecordData, filtered and
// sorted) and a position in it, with local editing. Everything a Recordset does that needs no
// database lives here, so it can be driven and tested without one.
//
// Position: BOF before the first row of the view, EOF after the last; an empty view is both.
// After Delete the cursor stays on the deleted row (neither BOF nor EOF, no current record) until
// it moves. A pending edit (field writes, AddNew) is committed by any move, as Update would.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ado/criteria.h"
#include "ado/record_data.h"
#include "ado/sort_order.h"
#include "automation/variant.h"

namespace quillon::ado {

// EditModeEnum.
inline constexpr std::int32_t adEditNone = 0;
inline constexpr std::int32_t adEditInProgress = 1;
inline constexpr std::int32_t adEditAdd = 2;

// PositionEnum.
inline constexpr std::int32_t adPosUnknown = -1;
inline constexpr std::int32_t adPosBOF = -2;
inline constexpr std::int32_t adPosEOF = -3;

// FilterGroupEnum.
inline constexpr std::int32_t adFilterNone = 0;
inline constexpr std::int32_t adFilterPendingRecords = 1;
inline constexpr std::int32_t adFilterAffectedRecords = 2;
inline constexpr std::int32_t adFilterFetchedRecords = 3;
inline constexpr std::int32_t adFilterConflictingRecords = 5;

// BookmarkEnum, for Move's start argument.
inline constexpr std::int32_t adBookmarkCurrent = 0;
inline constexpr std::int32_t adBookmarkFirst = 1;
inline constexpr std::int32_t adBookmarkLast = 2;

// SearchDirectionEnum.
inline constexpr std::int32_t adSearchForward = 1;
inline constexpr std::int32_t adSearchBackward = -1;

class RecordsetCore {
 public:
  RecordsetCore() = default;

  // --- state
  bool isOpen() const { return data_ != nullptr; }
  // Opens over rows (shared with other cursors or not); view unfiltered, at the first row.
  void open(std::shared_ptr<RecordData> data);
  void close();
  const std::shared_ptr<RecordData>& data() const;  // 3704 when closed

  // Fields appended while closed, for a recordset built without a query (Fields.Append).
  void appendFieldDef(FieldDef def);
  const std::vector<FieldDef>& pendingFields() const { return pendingFields_; }
  // Opens an empty recordset over the appended fields; 3001 when there are none.
  void openFabricated();

  // --- fields
  std::size_t fieldCount() const;  // open: the data's fields; closed: the appended ones
  const FieldDef& fieldDef(std::size_t index) const;
  // A field by name (without regard to case) or by 0-based ordinal; 3265 when there is none.
  std::size_t resolveField(const Variant& nameOrIndex) const;
  std::size_t resolveField(std::string_view name) const;

  // 3021 without a current record. The common case, a current row in a view that is up to
  // date, is decided here without a call.
  Variant value(std::size_t field) const {
    if (data_ && !onDeleted_ && pos_ >= 0 && static_cast<std::size_t>(pos_) < view_.size() &&
        data_->deleteGeneration() == seenDeletes_ && field < data_->fieldCount())
      return data_->value(view_[static_cast<std::size_t>(pos_)], field);
    return checkedValue(field);
  }
  // The rows, or null when closed; never throws.
  const RecordData* dataPtr() const { return data_.get(); }
  void setValue(std::size_t field, const Variant& v);
  // Moves to the record at an AbsolutePosition and stores a value in a field, as
  // setAbsolutePosition, setValue and update would, the write committed at once.
  void writeAt(std::int32_t position, std::size_t field, const Variant& v);
  // writeAt(position, field, Variant(v)).
  void writeNumberAt(std::int32_t position, std::size_t field, double v);
  // writeNumberAt of values[i] at positions[i] for every i in order, the field's place checked
  // once: the cursor ends on the last position.
  void writeNumbersAt(std::span<const std::int32_t> positions, std::size_t field,
                      std::span<const double> values);
  Variant originalValue(std::size_t field) const;
  std::int32_t actualSize(std::size_t field) const;
  std::int32_t status() const;  // RecordStatusEnum of the current row

  // --- navigation
  bool bof() const;
  bool eof() const;
  std::int32_t recordCount() const;
  void moveFirst();
  void moveLast();
  void moveNext();
  void movePrevious();
  // Moves n rows from the current row, or from `start` (a bookmark or BookmarkEnum).
  void move(std::int32_t n, const Variant& start = Variant::missing());
  std::int32_t absolutePosition() const;
  void setAbsolutePosition(std::int32_t position);
  Variant bookmark() const;
  // The bookmark of the record at an AbsolutePosition of the view, without moving to it; 3001
  // outside the view.
  Variant bookmarkAt(std::int32_t position) const;
  void setBookmark(const Variant& bookmark);
  // The rows of the view in order, as row numbers of data(); 3704 when closed.
  std::vector<std::uint32_t> viewRows() const;

  // --- filter and sort
  Variant filter() const;
  void setFilter(const Variant& filter);
  // Restricts the view to the records at these AbsolutePositions of the present view, as a
  // Filter of the array of their bookmarks (in this order) does; Filter reads back as that
  // array, made when it is first read. 3001 for a position outside the view or none at all.
  void setFilterPositions(const std::vector<std::int32_t>& positions);
  const std::string& sort() const { return sortText_; }
  void setSort(std::string_view sortText);
  // Moves to the next row (or previous, by direction) matching the criteria, starting at the
  // current row after skipping `skip` rows; EOF (BOF) when there is none.
  void find(std::string_view criteria, std::int32_t skip, std::int32_t direction,
            const Variant& start = Variant::missing());

  // --- local editing
  std::int32_t editMode() const;
  void addNew();
  void addNew(const Variant& fields, const Variant& values);
  void update();
  void update(const Variant& fields, const Variant& values);
  void cancelUpdate();
  void deleteCurrent();

  // --- copies
  // A new cursor over the same rows, unfiltered and unsorted, at its first row.
  std::shared_ptr<RecordsetCore> clone() const;
  // Independent rows with the same fields: empty, or the rows of this view in view order.
  std::shared_ptr<RecordData> copyStructure() const;
  std::shared_ptr<RecordData> copyWithRows() const;
  // Open over rows no other cursor or view shares, unfiltered and unsorted, with no edit since
  // they were read: a copy of the view would hold exactly these rows.
  bool rowsAsRead() const {
    return data_ && data_.use_count() == 1 && data_->asLoaded() &&
           filterKind_ == FilterKind::None && sortKeys_.empty() && editMode_ == adEditNone;
  }

  std::size_t memoryBytes() const;

 private:
  enum class FilterKind : std::uint8_t { None, Criteria, Bookmarks, Group };

  Variant checkedValue(std::size_t field) const;
  void requireOpen() const;
  void syncDeletes() const;
  std::size_t currentRow() const;  // 3021 without a current record
  bool hasCurrent() const;
  void commitEdit();
  void rebuildView();
  void resetPosition();
  void positionOnRow(std::size_t row);
  std::size_t rowFromBookmark(const Variant& bookmark) const;
  std::ptrdiff_t viewIndexOf(std::size_t row) const;
  void setFields(const Variant& fields, const Variant& values);

  std::shared_ptr<RecordData> data_;
  std::vector<FieldDef> pendingFields_;

  mutable std::vector<std::uint32_t> view_;
  mutable std::ptrdiff_t pos_ = 0;  // -1 BOF, view_.size() EOF
  mutable bool onDeleted_ = false;  // the current row was deleted; pos_ is the next one
  mutable std::uint64_t seenDeletes_ = 0;
  mutable std::vector<std::int32_t> viewIndex_;  // row -> index in view_, built on demand

  FilterKind filterKind_ = FilterKind::None;
  mutable Variant filterValue_ = Variant(std::int32_t{adFilterNone});
  // The rows of a filter set by positions, until its bookmark array is first read.
  mutable std::vector<std::uint32_t> filterRows_;
  std::optional<CriteriaNode> criteria_;
  std::vector<bool> bookmarkRows_;
  std::int32_t filterGroup_ = adFilterNone;
  std::string sortText_;
  std::vector<SortKey> sortKeys_;
  // Every row sorted by the keys, from the last unfiltered rebuild: a filter on a sorted view picks
  // its rows out of this order instead of sorting again (a stable sort of a subset keeps the order
  // the subset has within the whole). Valid while the rows and the key fields stay as they were.
  struct SortedRows {
    std::vector<std::uint32_t> rows;
    std::string sortText;
    std::size_t rowCount = 0;
    std::uint64_t deletes = 0;
    std::vector<std::uint64_t> keyWrites;
  };
  std::optional<SortedRows> sorted_;
  std::vector<std::uint64_t> keyWrites() const;
  bool keepsRow(std::size_t row, const RowPredicate* predicate) const;

  std::int32_t editMode_ = adEditNone;
  std::size_t editRow_ = 0;
  std::vector<std::pair<std::size_t, Variant>> editBackup_;  // fields written in this edit
  std::uint8_t editFlags_ = 0;
  std::optional<std::size_t> rowBeforeAdd_;
};

}  // namespace quillon::ado
