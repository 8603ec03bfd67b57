#include "ado/recordset_core.h"

#include <algorithm>
#include <cmath>

#include "ado/ado_errors.h"
#include "automation/text_compare.h"

namespace quillon::ado {

using automation::VarType;

// ---------------------------------------------------------------------------------------------
// State

void RecordsetCore::open(std::shared_ptr<RecordData> data) {
  data_ = std::move(data);
  sorted_.reset();
  filterKind_ = FilterKind::None;
  filterValue_ = Variant(std::int32_t{adFilterNone});
  filterRows_.clear();
  criteria_.reset();
  bookmarkRows_.clear();
  sortText_.clear();
  sortKeys_.clear();
  editMode_ = adEditNone;
  editBackup_.clear();
  rowBeforeAdd_.reset();
  rebuildView();
}

void RecordsetCore::close() {
  requireOpen();
  if (editMode_ != adEditNone) cancelUpdate();
  data_.reset();
  sorted_.reset();
  view_.clear();
  view_.shrink_to_fit();
  viewIndex_.clear();
  viewIndex_.shrink_to_fit();
  pendingFields_.clear();
}

const std::shared_ptr<RecordData>& RecordsetCore::data() const {
  requireOpen();
  return data_;
}

void RecordsetCore::appendFieldDef(FieldDef def) {
  if (isOpen()) throwOperationNotAllowed();
  if (def.name.empty()) throwArguments("a field needs a name");
  for (const FieldDef& f : pendingFields_)
    if (automation::equalsNoCase(f.name, def.name))
      throwArguments("field appended twice: " + def.name);
  pendingFields_.push_back(std::move(def));
}

void RecordsetCore::openFabricated() {
  if (isOpen()) throwObjectOpen();
  if (pendingFields_.empty()) throwArguments("no fields to open a recordset with");
  open(std::make_shared<RecordData>(pendingFields_));
}

void RecordsetCore::requireOpen() const {
  if (!data_) throwObjectClosed();
}

// Rows deleted through another cursor over the same data leave this view at the next look.
void RecordsetCore::syncDeletes() const {
  if (!data_ || data_->deleteGeneration() == seenDeletes_) return;
  seenDeletes_ = data_->deleteGeneration();
  const bool hadCurrent = pos_ >= 0 && pos_ < static_cast<std::ptrdiff_t>(view_.size());
  std::ptrdiff_t newPos = 0;
  bool currentGone = false;
  std::size_t out = 0;
  for (std::size_t i = 0; i < view_.size(); ++i) {
    const bool gone = data_->isDeleted(view_[i]);
    if (static_cast<std::ptrdiff_t>(i) == pos_) {
      newPos = static_cast<std::ptrdiff_t>(out);
      currentGone = gone;
    }
    if (!gone) view_[out++] = view_[i];
  }
  if (!hadCurrent) newPos = pos_ < 0 ? -1 : static_cast<std::ptrdiff_t>(out);
  view_.resize(out);
  pos_ = newPos;
  if (currentGone) onDeleted_ = true;
  viewIndex_.clear();
}

// ---------------------------------------------------------------------------------------------
// Fields

std::size_t RecordsetCore::fieldCount() const {
  return data_ ? data_->fieldCount() : pendingFields_.size();
}

const FieldDef& RecordsetCore::fieldDef(std::size_t index) const {
  if (index >= fieldCount()) throwItemNotFound();
  return data_ ? data_->field(index) : pendingFields_[index];
}

std::size_t RecordsetCore::resolveField(std::string_view name) const {
  if (data_) {
    const int i = data_->fieldIndex(name);
    if (i < 0) throwItemNotFound();
    return static_cast<std::size_t>(i);
  }
  for (std::size_t i = 0; i < pendingFields_.size(); ++i)
    if (automation::equalsNoCase(pendingFields_[i].name, name)) return i;
  throwItemNotFound();
}

std::size_t RecordsetCore::resolveField(const Variant& nameOrIndex) const {
  if (nameOrIndex.isString()) return resolveField(std::string_view(nameOrIndex.asString()));
  if (!nameOrIndex.isNumber()) throwItemNotFound();
  const double d = nameOrIndex.toDouble();
  if (!(d >= 0.0) || d >= static_cast<double>(fieldCount()) || d != std::floor(d))
    throwItemNotFound();
  return static_cast<std::size_t>(d);
}

bool RecordsetCore::hasCurrent() const {
  syncDeletes();
  return data_ && !onDeleted_ && pos_ >= 0 && pos_ < static_cast<std::ptrdiff_t>(view_.size());
}

std::size_t RecordsetCore::currentRow() const {
  requireOpen();
  if (!hasCurrent()) throwNoCurrentRecord();
  return view_[static_cast<std::size_t>(pos_)];
}

Variant RecordsetCore::checkedValue(std::size_t field) const {
  const std::size_t row = currentRow();
  if (field >= data_->fieldCount()) throwItemNotFound();
  return data_->value(row, field);
}

void RecordsetCore::setValue(std::size_t field, const Variant& v) {
  const std::size_t row = currentRow();
  if (field >= data_->fieldCount()) throwItemNotFound();
  if (editMode_ == adEditNone) {
    editBackup_.clear();
    editFlags_ = data_->rowFlags(row);
    editRow_ = row;
    editMode_ = adEditInProgress;
  }
  // Only the fields written are kept for CancelUpdate, each as it was before its first write.
  if (editMode_ == adEditInProgress &&
      std::none_of(editBackup_.begin(), editBackup_.end(),
                   [field](const auto& saved) { return saved.first == field; }))
    editBackup_.emplace_back(field, data_->value(row, field));
  data_->setValue(row, field, v);
}

void RecordsetCore::writeAt(std::int32_t position, std::size_t field, const Variant& v) {
  setAbsolutePosition(position);
  if (field >= data_->fieldCount()) throwItemNotFound();
  data_->setValue(view_[static_cast<std::size_t>(pos_)], field, v);
}

void RecordsetCore::writeNumberAt(std::int32_t position, std::size_t field, double v) {
  setAbsolutePosition(position);
  if (field >= data_->fieldCount()) throwItemNotFound();
  data_->setNumber(view_[static_cast<std::size_t>(pos_)], field, v);
}

void RecordsetCore::writeNumbersAt(std::span<const std::int32_t> positions, std::size_t field,
                                   std::span<const double> values) {
  if (positions.size() != values.size()) throwArguments("one value for each position");
  if (positions.empty()) return;
  setAbsolutePosition(positions.front());
  if (field >= data_->fieldCount()) throwItemNotFound();
  std::vector<std::uint32_t> rows;
  rows.reserve(positions.size());
  for (const std::int32_t position : positions) {
    if (position < 1 || position > static_cast<std::int32_t>(view_.size()))
      throwArguments("AbsolutePosition out of range");
    rows.push_back(view_[static_cast<std::size_t>(position - 1)]);
  }
  data_->setNumbers(rows, field, values);
  pos_ = positions.back() - 1;
}

Variant RecordsetCore::originalValue(std::size_t field) const {
  const std::size_t row = currentRow();
  if (field >= data_->fieldCount()) throwItemNotFound();
  return data_->originalValue(row, field);
}

std::int32_t RecordsetCore::actualSize(std::size_t field) const {
  const std::size_t row = currentRow();
  if (field >= data_->fieldCount()) throwItemNotFound();
  return data_->actualSize(row, field);
}

std::int32_t RecordsetCore::status() const {
  return data_->status(currentRow());
}

// ---------------------------------------------------------------------------------------------
// Navigation

bool RecordsetCore::bof() const {
  requireOpen();
  syncDeletes();
  if (onDeleted_) return false;
  return view_.empty() || pos_ < 0;
}

bool RecordsetCore::eof() const {
  requireOpen();
  syncDeletes();
  if (onDeleted_) return false;
  return view_.empty() || pos_ >= static_cast<std::ptrdiff_t>(view_.size());
}

std::int32_t RecordsetCore::recordCount() const {
  requireOpen();
  syncDeletes();
  return static_cast<std::int32_t>(view_.size());
}

void RecordsetCore::moveFirst() {
  requireOpen();
  commitEdit();
  syncDeletes();
  onDeleted_ = false;
  pos_ = 0;
}

void RecordsetCore::moveLast() {
  requireOpen();
  commitEdit();
  syncDeletes();
  onDeleted_ = false;
  pos_ = view_.empty() ? 0 : static_cast<std::ptrdiff_t>(view_.size()) - 1;
}

void RecordsetCore::moveNext() {
  requireOpen();
  if (eof()) throwNoCurrentRecord();
  commitEdit();
  if (onDeleted_) {
    onDeleted_ = false;  // pos_ already names the row after the deleted one
    return;
  }
  ++pos_;
}

void RecordsetCore::movePrevious() {
  requireOpen();
  if (bof()) throwNoCurrentRecord();
  commitEdit();
  onDeleted_ = false;
  --pos_;
}

void RecordsetCore::move(std::int32_t n, const Variant& start) {
  requireOpen();
  commitEdit();
  syncDeletes();
  const auto size = static_cast<std::ptrdiff_t>(view_.size());
  std::ptrdiff_t from = 0;
  if (start.isMissing() || start.isEmpty()) {
    if (n == 0) {
      if (!hasCurrent()) throwNoCurrentRecord();
      return;
    }
    if ((n < 0 && bof()) || (n > 0 && eof())) throwNoCurrentRecord();
    from = pos_;
    if (onDeleted_ && n > 0) --from;  // counting starts at the deleted row's place
  } else if (start.isNumber() && !start.isArray() && start.type() != VarType::Double) {
    const std::int32_t which = start.toLong();
    if (which == adBookmarkFirst)
      from = 0;
    else if (which == adBookmarkLast)
      from = size - 1;
    else if (which == adBookmarkCurrent && hasCurrent())
      from = pos_;
    else
      throwArguments("invalid start for Move");
  } else {
    from = viewIndexOf(rowFromBookmark(start));
    if (from < 0) throwArguments("bookmark is not in the recordset's view");
  }
  onDeleted_ = false;
  const std::ptrdiff_t target = from + n;
  pos_ = target < 0 ? -1 : (target >= size ? size : target);
}

std::int32_t RecordsetCore::absolutePosition() const {
  requireOpen();
  syncDeletes();
  if (onDeleted_ || view_.empty()) return adPosUnknown;
  if (pos_ < 0) return adPosBOF;
  if (pos_ >= static_cast<std::ptrdiff_t>(view_.size())) return adPosEOF;
  return static_cast<std::int32_t>(pos_ + 1);
}

void RecordsetCore::setAbsolutePosition(std::int32_t position) {
  requireOpen();
  commitEdit();
  syncDeletes();
  if (position < 1 || position > static_cast<std::int32_t>(view_.size()))
    throwArguments("AbsolutePosition out of range");
  onDeleted_ = false;
  pos_ = position - 1;
}

// A bookmark is the row number plus one, as a Double, like the platform's client cursors give.
std::vector<std::uint32_t> RecordsetCore::viewRows() const {
  requireOpen();
  syncDeletes();
  return view_;
}

Variant RecordsetCore::bookmark() const {
  return Variant(static_cast<double>(currentRow()) + 1.0);
}

Variant RecordsetCore::bookmarkAt(std::int32_t position) const {
  requireOpen();
  syncDeletes();
  if (position < 1 || position > static_cast<std::int32_t>(view_.size()))
    throwArguments("AbsolutePosition out of range");
  return Variant(static_cast<double>(view_[static_cast<std::size_t>(position) - 1]) + 1.0);
}

std::size_t RecordsetCore::rowFromBookmark(const Variant& bookmark) const {
  if (!bookmark.isNumber() && bookmark.type() != VarType::String)
    throwArguments("invalid bookmark");
  double d = 0.0;
  try {
    d = bookmark.toDouble();
  } catch (const automation::ComError&) {
    throwArguments("invalid bookmark");
  }
  if (!(d >= 1.0) || d != std::floor(d) || d > static_cast<double>(data_->rowCount()))
    throwArguments("invalid bookmark");
  const auto row = static_cast<std::size_t>(d) - 1;
  if (data_->isDeleted(row)) throwArguments("bookmark of a deleted record");
  return row;
}

std::ptrdiff_t RecordsetCore::viewIndexOf(std::size_t row) const {
  if (viewIndex_.size() != data_->rowCount()) {
    viewIndex_.assign(data_->rowCount(), -1);
    for (std::size_t i = 0; i < view_.size(); ++i)
      viewIndex_[view_[i]] = static_cast<std::int32_t>(i);
  }
  return viewIndex_[row];
}

void RecordsetCore::setBookmark(const Variant& bookmark) {
  requireOpen();
  commitEdit();
  syncDeletes();
  const std::ptrdiff_t at = viewIndexOf(rowFromBookmark(bookmark));
  if (at < 0) throwArguments("bookmark is not in the recordset's view");
  onDeleted_ = false;
  pos_ = at;
}

void RecordsetCore::positionOnRow(std::size_t row) {
  const std::ptrdiff_t at = viewIndexOf(row);
  onDeleted_ = false;
  pos_ = at < 0 ? 0 : at;
}

// ---------------------------------------------------------------------------------------------
// Filter and sort

void RecordsetCore::resetPosition() {
  onDeleted_ = false;
  pos_ = 0;
}

bool RecordsetCore::keepsRow(std::size_t row, const RowPredicate* predicate) const {
  if (data_->isDeleted(row)) return false;
  switch (filterKind_) {
    case FilterKind::None:
      return true;
    case FilterKind::Criteria:
      return predicate->test(row);
    case FilterKind::Bookmarks:
      return row < bookmarkRows_.size() && bookmarkRows_[row];
    case FilterKind::Group: {
      const std::int32_t st = data_->status(row);
      if (filterGroup_ == adFilterPendingRecords && st != adRecNew && st != adRecModified)
        return false;
      return filterGroup_ != adFilterAffectedRecords && filterGroup_ != adFilterConflictingRecords;
    }
  }
  return true;
}

std::vector<std::uint64_t> RecordsetCore::keyWrites() const {
  std::vector<std::uint64_t> writes;
  for (const SortKey& k : sortKeys_) {
    const int field = data_->fieldIndex(k.field);
    writes.push_back(field < 0 ? 0 : data_->columnWrites(static_cast<std::size_t>(field)));
  }
  return writes;
}

void RecordsetCore::rebuildView() {
  seenDeletes_ = data_->deleteGeneration();
  const std::size_t rows = data_->rowCount();
  std::unique_ptr<RowPredicate> predicate;
  if (filterKind_ == FilterKind::Criteria) predicate = compileCriteria(*criteria_, *data_);
  const bool reuseOrder = !sortKeys_.empty() && sorted_ && sorted_->sortText == sortText_ &&
                          sorted_->rowCount == rows && sorted_->deletes == seenDeletes_ &&
                          sorted_->keyWrites == keyWrites();
  view_.clear();
  if (reuseOrder) {
    for (const std::uint32_t row : sorted_->rows) {
      if (keepsRow(row, predicate.get())) view_.push_back(row);
    }
  } else {
    view_.reserve(rows);
    for (std::size_t row = 0; row < rows; ++row) {
      if (keepsRow(row, predicate.get())) view_.push_back(static_cast<std::uint32_t>(row));
    }
    if (!sortKeys_.empty()) {
      sortRows(*data_, sortKeys_, view_);
      if (filterKind_ == FilterKind::None)
        sorted_ = SortedRows{view_, sortText_, rows, seenDeletes_, keyWrites()};
    }
  }
  view_.shrink_to_fit();
  viewIndex_.clear();
  resetPosition();
}

Variant RecordsetCore::filter() const {
  if (!filterRows_.empty()) {
    std::vector<Variant> bookmarks;
    bookmarks.reserve(filterRows_.size());
    for (const std::uint32_t row : filterRows_)
      bookmarks.emplace_back(static_cast<double>(row) + 1.0);
    filterValue_ = Variant::array(std::move(bookmarks));
    filterRows_.clear();
    filterRows_.shrink_to_fit();
  }
  return filterValue_;
}

void RecordsetCore::setFilterPositions(const std::vector<std::int32_t>& positions) {
  requireOpen();
  syncDeletes();
  if (positions.empty()) throwArguments("empty bookmark array");
  std::vector<std::uint32_t> rows;
  rows.reserve(positions.size());
  std::vector<bool> kept(data_->rowCount(), false);
  for (const std::int32_t p : positions) {
    if (p < 1 || p > static_cast<std::int32_t>(view_.size()))
      throwArguments("AbsolutePosition out of range");
    rows.push_back(view_[static_cast<std::size_t>(p) - 1]);
    kept[rows.back()] = true;
  }
  commitEdit();
  filterKind_ = FilterKind::Bookmarks;
  criteria_.reset();
  bookmarkRows_ = std::move(kept);
  filterGroup_ = adFilterNone;
  filterValue_ = Variant();
  filterRows_ = std::move(rows);
  rebuildView();
}

void RecordsetCore::setFilter(const Variant& filter) {
  requireOpen();
  // Everything is checked before anything changes, so a refused filter leaves the view as it was.
  FilterKind kind = FilterKind::None;
  std::optional<CriteriaNode> criteria;
  std::vector<bool> rows;
  std::int32_t group = adFilterNone;
  Variant stored = Variant(std::int32_t{adFilterNone});
  if (filter.isEmpty() || filter.isNull() || filter.isMissing()) {
    // no filter
  } else if (filter.isString()) {
    const std::string& text = filter.asString();
    if (text.find_first_not_of(" \t\r\n") != std::string::npos) {
      criteria = parseCriteria(text);
      compileCriteria(*criteria, *data_);  // reports unknown fields and bad values now
      kind = FilterKind::Criteria;
      stored = filter;
    } else {
      stored = Variant(std::string());
    }
  } else if (filter.isArray()) {
    const auto& array = filter.asArray();
    if (!array || array->items.empty()) throwArguments("empty bookmark array");
    rows.assign(data_->rowCount(), false);
    for (const Variant& b : array->items) rows[rowFromBookmark(b)] = true;
    kind = FilterKind::Bookmarks;
    stored = filter;
  } else if (filter.isNumber()) {
    const double d = filter.toDouble();
    if (d == adFilterNone) {
    } else if (d == adFilterPendingRecords || d == adFilterAffectedRecords ||
               d == adFilterConflictingRecords) {
      kind = FilterKind::Group;
      group = static_cast<std::int32_t>(d);
      stored = Variant(group);
    } else if (d == adFilterFetchedRecords) {
      stored = Variant(std::int32_t{adFilterFetchedRecords});
    } else {
      throwArguments("invalid filter value");
    }
  } else {
    throwArguments("invalid filter value");
  }
  commitEdit();
  filterKind_ = kind;
  criteria_ = std::move(criteria);
  bookmarkRows_ = std::move(rows);
  filterGroup_ = group;
  filterValue_ = std::move(stored);
  filterRows_.clear();
  rebuildView();
}

void RecordsetCore::setSort(std::string_view sortText) {
  requireOpen();
  std::vector<SortKey> keys = parseSortText(sortText);
  for (const SortKey& k : keys)
    if (data_->fieldIndex(k.field) < 0) throwItemNotFound();
  commitEdit();
  sortKeys_ = std::move(keys);
  sortText_ = std::string(sortText);
  rebuildView();
}

void RecordsetCore::find(std::string_view criteria, std::int32_t skip, std::int32_t direction,
                         const Variant& start) {
  requireOpen();
  const auto predicate = compileCriteria(parseCriteria(criteria), *data_);
  if (direction != adSearchForward && direction != adSearchBackward)
    throwArguments("invalid search direction");
  commitEdit();
  syncDeletes();
  std::ptrdiff_t from = pos_;
  if (!(start.isMissing() || start.isEmpty())) {
    from = viewIndexOf(rowFromBookmark(start));
    if (from < 0) throwArguments("bookmark is not in the recordset's view");
  } else if (!hasCurrent()) {
    throwNoCurrentRecord();
  }
  onDeleted_ = false;
  const auto size = static_cast<std::ptrdiff_t>(view_.size());
  for (std::ptrdiff_t i = from + static_cast<std::ptrdiff_t>(skip) * direction; i >= 0 && i < size;
       i += direction) {
    if (predicate->test(view_[static_cast<std::size_t>(i)])) {
      pos_ = i;
      return;
    }
  }
  pos_ = direction > 0 ? size : -1;
}

// ---------------------------------------------------------------------------------------------
// Editing

std::int32_t RecordsetCore::editMode() const {
  requireOpen();
  return editMode_;
}

void RecordsetCore::commitEdit() {
  if (editMode_ == adEditNone) return;
  editMode_ = adEditNone;
  editBackup_.clear();
  rowBeforeAdd_.reset();
}

void RecordsetCore::addNew() {
  requireOpen();
  commitEdit();
  syncDeletes();
  if (hasCurrent()) rowBeforeAdd_ = view_[static_cast<std::size_t>(pos_)];
  const std::size_t row = data_->appendRow();
  view_.push_back(static_cast<std::uint32_t>(row));
  viewIndex_.clear();
  onDeleted_ = false;
  pos_ = static_cast<std::ptrdiff_t>(view_.size()) - 1;
  editMode_ = adEditAdd;
  editRow_ = row;
}

// Field lists are one name or ordinal with one value, or two arrays of equal length.
void RecordsetCore::setFields(const Variant& fields, const Variant& values) {
  if (fields.isArray() != values.isArray()) throwArguments("fields and values do not match");
  if (!fields.isArray()) {
    setValue(resolveField(fields), values);
    return;
  }
  const auto& names = fields.asArray()->items;
  const auto& vals = values.asArray()->items;
  if (names.size() != vals.size()) throwArguments("fields and values do not match");
  std::vector<std::size_t> indexes;
  indexes.reserve(names.size());
  for (const Variant& n : names) indexes.push_back(resolveField(n));
  for (std::size_t i = 0; i < indexes.size(); ++i) setValue(indexes[i], vals[i]);
}

void RecordsetCore::addNew(const Variant& fields, const Variant& values) {
  requireOpen();
  if (fields.isMissing() || fields.isEmpty()) {
    addNew();
    return;
  }
  addNew();
  try {
    setFields(fields, values);
  } catch (...) {
    cancelUpdate();
    throw;
  }
  commitEdit();
}

void RecordsetCore::update() {
  requireOpen();
  if (editMode_ == adEditNone) {
    if (!hasCurrent()) throwNoCurrentRecord();
    return;
  }
  commitEdit();
}

void RecordsetCore::update(const Variant& fields, const Variant& values) {
  requireOpen();
  if (!(fields.isMissing() || fields.isEmpty())) setFields(fields, values);
  update();
}

void RecordsetCore::cancelUpdate() {
  requireOpen();
  if (editMode_ == adEditAdd) {
    data_->discardRow(editRow_);
    syncDeletes();
    editMode_ = adEditNone;
    if (rowBeforeAdd_) {
      positionOnRow(*rowBeforeAdd_);
    } else {
      onDeleted_ = false;
      pos_ = static_cast<std::ptrdiff_t>(view_.size());
    }
    rowBeforeAdd_.reset();
    return;
  }
  if (editMode_ == adEditInProgress) {
    for (const auto& [field, value] : editBackup_) data_->setValue(editRow_, field, value);
    data_->restoreRowFlags(editRow_, editFlags_);
  }
  editMode_ = adEditNone;
  editBackup_.clear();
}

void RecordsetCore::deleteCurrent() {
  const std::size_t row = currentRow();
  if (editMode_ == adEditAdd) {
    editMode_ = adEditNone;
    rowBeforeAdd_.reset();
  }
  commitEdit();
  data_->markDeleted(row);
  syncDeletes();  // takes the row out of the view and leaves the cursor on its place
}

// ---------------------------------------------------------------------------------------------
// Copies

std::shared_ptr<RecordsetCore> RecordsetCore::clone() const {
  requireOpen();
  auto copy = std::make_shared<RecordsetCore>();
  copy->open(data_);
  return copy;
}

std::shared_ptr<RecordData> RecordsetCore::copyStructure() const {
  requireOpen();
  return data_->copy(nullptr);
}

std::shared_ptr<RecordData> RecordsetCore::copyWithRows() const {
  requireOpen();
  syncDeletes();
  return data_->copy(&view_);
}

std::size_t RecordsetCore::memoryBytes() const {
  return sizeof(*this) + view_.capacity() * sizeof(std::uint32_t) +
         viewIndex_.capacity() * sizeof(std::int32_t) + bookmarkRows_.capacity() / 8;
}

}  // namespace quillon::ado
