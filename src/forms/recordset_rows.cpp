#include "forms/recordset_rows.h"

#include <exception>

#include "automation/vb_format.h"

namespace quillon::forms {

RecordsetRows::RecordsetRows(ado::RecordsetView view) : view_(std::move(view)) {}

void RecordsetRows::setFormat(int field, std::string format) {
  if (format.empty()) {
    formats_.erase(field);
  } else {
    formats_[field] = std::move(format);
  }
}

std::string RecordsetRows::text(int row, int field) const {
  const automation::Variant v = view_.value(row, field);
  if (v.isNull()) return {};
  if (const auto format = formats_.find(field); format != formats_.end()) {
    try {
      return automation::formatNumber(v.toDouble(), format->second);
    } catch (const std::exception&) {
      // A value that is not a number shows as stored rather than failing a paint.
    }
  }
  return v.displayText();
}

std::string RecordsetRows::cellText(int index, int col) const {
  return col < 1 ? std::string() : text(index, col - 1);
}

}  // namespace quillon::forms
