#include "forms/recordset_rows.h"

#include <exception>

#include "automation/vb_format.h"

namespace quillon::forms {

RecordsetRows::RecordsetRows(ado::RecordsetView view) : view_(std::move(view)) {}

void RecordsetRows::setFormat(int field, std::string format) {
  if (format.empty()) {
    formats_.erase(field);
  } else {
    formats_.insert_or_assign(field, automation::NumberFormat(format));
  }
}

std::string RecordsetRows::text(int row, int field) const {
  const automation::Variant v = view_.value(row, field);
  if (v.isNull()) return {};
  if (const auto format = formats_.find(field); format != formats_.end()) {
    try {
      return format->second.format(v.toDouble());
    } catch (const std::exception&) {
      // A value that is not a number shows as stored rather than failing a paint.
    }
  }
  return v.displayText();
}

std::optional<double> RecordsetRows::cellNumber(int index, int col) const {
  if (col < 1) return std::nullopt;
  const auto format = formats_.find(col - 1);
  if (format == formats_.end()) return std::nullopt;
  const std::optional<double> v = view_.number(index, col - 1);
  if (!v) return std::nullopt;
  return format->second.shownValue(*v);
}

std::string RecordsetRows::cellText(int index, int col) const {
  return col < 1 ? std::string() : text(index, col - 1);
}

}  // namespace quillon::forms
