#include "ado/loader.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "ado/ole_date.h"
#include "automation/numeric_text.h"
#include "automation/utf8.h"

namespace quillon::ado {

namespace {

bool fitsInt32(std::int64_t v) {
  return v >= std::numeric_limits<std::int32_t>::min() &&
         v <= std::numeric_limits<std::int32_t>::max();
}

}  // namespace

// Loads one column's value of the current row. A value that the column's kind cannot hold
// without loss widens the column (to 64-bit, to double, finally to text) instead of being
// dropped: the engine does not enforce declared types.
class ColumnLoader {
 public:
  ColumnLoader(Column& column, bool inferred) : column_(column), inferred_(inferred) {}

  void load(const sql::CellView& cell) {
    switch (cell.kind) {
      case sql::ValueKind::Null:
        column_.appendNull();
        return;
      case sql::ValueKind::Integer:
        loadInteger(cell.integer);
        return;
      case sql::ValueKind::Real:
        loadReal(cell.real);
        return;
      case sql::ValueKind::Text:
      case sql::ValueKind::Blob:
        loadText(cell.text);
        return;
    }
  }

  std::int32_t maxTextChars() const { return maxTextChars_; }

 private:
  void firstValue(StorageKind kind) {
    if (inferred_ && !seenValue_) column_.convertTo(kind);
    seenValue_ = true;
  }

  void loadInteger(std::int64_t v) {
    firstValue(fitsInt32(v) ? StorageKind::Int32 : StorageKind::Int64);
    switch (column_.kind()) {
      case StorageKind::Int32:
        if (fitsInt32(v)) {
          column_.appendInt32(static_cast<std::int32_t>(v));
          return;
        }
        column_.convertTo(StorageKind::Int64);
        column_.appendInt64(v);
        return;
      case StorageKind::Bool:
        column_.appendInt32(v != 0 ? 1 : 0);
        return;
      case StorageKind::Int64:
        column_.appendInt64(v);
        return;
      case StorageKind::Double:
      case StorageKind::Date:
        column_.appendDouble(static_cast<double>(v));
        return;
      case StorageKind::Text:
        appendText(std::to_string(v));
        return;
    }
  }

  void loadReal(double v) {
    firstValue(StorageKind::Double);
    switch (column_.kind()) {
      case StorageKind::Int32:
      case StorageKind::Int64:
        if (v == std::trunc(v) && std::fabs(v) < 9.0e18) {
          loadInteger(static_cast<std::int64_t>(v));
          return;
        }
        column_.convertTo(StorageKind::Double);
        column_.appendDouble(v);
        return;
      case StorageKind::Bool:
        column_.appendInt32(v != 0.0 ? 1 : 0);
        return;
      case StorageKind::Double:
      case StorageKind::Date:
        column_.appendDouble(v);
        return;
      case StorageKind::Text:
        appendText(automation::formatGeneralNumber(v));
        return;
    }
  }

  void loadText(std::string_view v) {
    firstValue(StorageKind::Text);
    switch (column_.kind()) {
      case StorageKind::Text:
        appendText(v);
        return;
      case StorageKind::Date: {
        double serial = 0.0;
        if (parseDateText(v, serial)) {
          column_.appendDouble(serial);
          return;
        }
        break;
      }
      case StorageKind::Bool:
        if (v == "1" || v == "0") {
          column_.appendInt32(v == "1" ? 1 : 0);
          return;
        }
        break;
      case StorageKind::Int32:
      case StorageKind::Int64:
      case StorageKind::Double:
        if (const auto n = automation::parseNumericText(v)) {
          if (column_.kind() == StorageKind::Double) {
            column_.appendDouble(*n);
          } else {
            loadReal(*n);
          }
          return;
        }
        break;
    }
    column_.convertTo(StorageKind::Text);
    appendText(v);
  }

  void appendText(std::string_view v) {
    column_.appendText(v);
    if (inferred_)
      maxTextChars_ =
          std::max(maxTextChars_, static_cast<std::int32_t>(automation::utf8::utf16Length(v)));
  }

  Column& column_;
  bool inferred_;
  bool seenValue_ = false;
  std::int32_t maxTextChars_ = 0;
};

std::shared_ptr<RecordData> loadRecordData(sql::Cursor& cursor) {
  RecordLoader loader(cursor);
  loader.read(cursor, static_cast<std::size_t>(-1));
  return loader.data();
}

RecordLoader::RecordLoader(const sql::Cursor& cursor) {
  std::vector<FieldDef> fields;
  fields.reserve(cursor.columnCount());
  for (const sql::ColumnInfo& info : cursor.columns())
    fields.push_back(
        fieldFromDeclared(info.name, info.baseType, info.size, info.precision, info.scale));
  data_ = std::make_shared<RecordData>(std::move(fields));
  loaders_.reserve(data_->fieldCount());
  for (std::size_t i = 0; i < data_->fieldCount(); ++i)
    loaders_.emplace_back(data_->column(i), data_->field(i).inferred);
  row_.resize(loaders_.size());
}

RecordLoader::~RecordLoader() = default;

bool RecordLoader::read(sql::Cursor& cursor, std::size_t maxRows,
                        std::chrono::steady_clock::time_point deadline, bool waitForRows) {
  if (done_) return true;
  const bool timed = deadline != std::chrono::steady_clock::time_point::max();
  const std::size_t n = loaders_.size();
  for (std::size_t read = 0; read < maxRows; ++read) {
    // The clock is looked at every 64 rows: a row costs well under a microsecond to store.
    if (timed && (read & 63U) == 63U && std::chrono::steady_clock::now() >= deadline) return false;
    if (!waitForRows && cursor.awaitingRows()) return false;
    if (!cursor.next()) {
      for (std::size_t i = 0; i < n; ++i) data_->settleInferred(i, loaders_[i].maxTextChars());
      data_->finishLoad();
      done_ = true;
      return true;
    }
    cursor.readRow(row_);
    for (std::size_t i = 0; i < n; ++i) loaders_[i].load(row_[i]);
    data_->noteLoadedRow();
  }
  return false;
}

}  // namespace quillon::ado
