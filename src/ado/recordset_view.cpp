#include "ado/recordset_view.h"

#include <algorithm>
#include <exception>

#include "ado/record_data.h"
#include "ado/recordset.h"
#include "ado/recordset_internal.h"
#include "ado/row_load.h"
#include "automation/text_compare.h"

namespace quillon::ado {

RecordsetView RecordsetView::growing(const Recordset& rs) {
  const std::shared_ptr<RowLoad>& load = RecordsetInternal::load(rs);
  if (!load) return RecordsetView(rs);
  // Rows still loading: the view shows those read so far, in the order read, and grows.
  RecordsetView view;
  view.load_ = load;
  view.data_ = load->data();
  view.takeLoaded();
  if (view.load_->done()) view.load_ = nullptr;
  return view;
}

RecordsetView::RecordsetView(const Recordset& rs) {
  const RecordsetCore& core = *RecordsetInternal::core(rs);
  if (!core.isOpen()) return;
  data_ = core.data();
  rows_ = core.viewRows();
  positions_.reserve(rows_.size());
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    positions_.push_back(static_cast<std::int32_t>(i) + 1);
  }
}

int RecordsetView::fieldCount() const {
  return data_ ? static_cast<int>(data_->fieldCount()) : 0;
}

const std::string& RecordsetView::fieldName(int field) const {
  return data_->field(static_cast<std::size_t>(field)).name;
}

const FieldDef& RecordsetView::fieldDef(int field) const {
  return data_->field(static_cast<std::size_t>(field));
}

std::optional<int> RecordsetView::fieldIndex(std::string_view name) const {
  if (!data_) return std::nullopt;
  const int index = data_->fieldIndex(name);
  if (index < 0) return std::nullopt;
  return index;
}

automation::Variant RecordsetView::value(int row, int field) const {
  if (!data_ || row < 0 || row >= rowCount() || field < 0 || field >= fieldCount()) return {};
  const std::uint32_t at = rows_[static_cast<std::size_t>(row)];
  if (at >= data_->rowCount()) return {};
  return data_->value(at, static_cast<std::size_t>(field));
}

std::optional<double> RecordsetView::number(int row, int field) const {
  if (!data_ || row < 0 || row >= rowCount() || field < 0 || field >= fieldCount()) return {};
  const std::uint32_t at = rows_[static_cast<std::size_t>(row)];
  if (at >= data_->rowCount()) return {};
  const Column& c = data_->column(static_cast<std::size_t>(field));
  if (c.isNull(at)) return {};
  switch (c.kind()) {
    case StorageKind::Int32:
      return c.int32At(at);
    case StorageKind::Int64:
      return static_cast<double>(c.int64At(at));
    case StorageKind::Double:
      return c.doubleAt(at);
    case StorageKind::Bool:
      return c.int32At(at) != 0 ? -1.0 : 0.0;
    case StorageKind::Date:
    case StorageKind::Text:
      break;
  }
  return {};
}

int RecordsetView::numbers(int field, int first, int count, double* out) const {
  if (!data_ || first < 0 || field < 0 || field >= fieldCount()) return 0;
  count = std::min(count, rowCount() - first);
  const Column& c = data_->column(static_cast<std::size_t>(field));
  if (c.kind() != StorageKind::Double) {
    // Other kinds convert as number() does.
    for (int i = 0; i < count; ++i) {
      const std::optional<double> v = number(first + i, field);
      if (!v) return i;
      out[i] = *v;
    }
    return std::max(count, 0);
  }
  // The rows of a sorted view meet the cells in an order no cache can guess: ask ahead.
  constexpr int kAhead = 8;
  const std::size_t loaded = data_->rowCount();
  for (int i = 0; i < count; ++i) {
    if (i + kAhead < count) c.prefetch(rows_[static_cast<std::size_t>(first + i + kAhead)]);
    const std::uint32_t at = rows_[static_cast<std::size_t>(first + i)];
    if (at >= loaded || c.isNull(at)) return i;
    out[i] = c.doubleAt(at);
  }
  return std::max(count, 0);
}

void RecordsetView::prefetch(int row, std::initializer_list<int> fields) const {
  if (!data_ || row < 0 || row >= rowCount()) return;
  data_->prefetch(rows_[static_cast<std::size_t>(row)], fields);
}

void RecordsetView::takeLoaded() {
  const std::size_t loaded = load_->loadedRows();
  rows_.reserve(loaded);
  positions_.reserve(loaded);
  for (std::size_t i = rows_.size(); i < loaded; ++i) {
    rows_.push_back(static_cast<std::uint32_t>(i));
    positions_.push_back(static_cast<std::int32_t>(i) + 1);
  }
}

bool RecordsetView::grow(std::size_t maxRows, std::chrono::nanoseconds budget) {
  if (!load_) return false;
  load_->fetch(maxRows, budget);
  takeLoaded();
  if (load_->done()) load_ = nullptr;
  return load_ != nullptr;
}

void RecordsetView::growToEnd() {
  if (!load_) return;
  try {
    load_->finish();
  } catch (const std::exception&) {
    // The recordset reports it: its next use finishes the load and throws what it met.
  }
  takeLoaded();
  load_ = nullptr;
}

void RecordsetView::keepRows(const std::function<bool(int row)>& keep) {
  growToEnd();
  std::size_t kept = 0;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (!keep(static_cast<int>(i))) continue;
    rows_[kept] = rows_[i];
    positions_[kept] = positions_[i];
    ++kept;
  }
  rows_.resize(kept);
  positions_.resize(kept);
}

bool hasField(const Recordset& rs, std::string_view name) {
  if (const std::shared_ptr<RowLoad>& load = RecordsetInternal::load(rs))
    return load->data()->fieldIndex(name) >= 0;
  const RecordsetCore& core = *RecordsetInternal::core(rs);
  for (std::size_t i = 0; i < core.fieldCount(); ++i) {
    if (automation::equalsNoCase(core.fieldDef(i).name, name)) return true;
  }
  return false;
}

}  // namespace quillon::ado
