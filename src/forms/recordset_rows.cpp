#include "forms/recordset_rows.h"

#include <cmath>
#include <exception>
#include <utility>

#include "automation/shown_rounding.h"
#include "automation/vb_format.h"

namespace quillon::forms {

RecordsetRows::RecordsetRows(ado::RecordsetView view) : view_(std::move(view)) {}

void RecordsetRows::setFormat(int field, std::string format) {
  if (field < 0) return;
  const auto at = static_cast<std::size_t>(field);
  if (format.empty()) {
    if (at < formats_.size()) formats_[at].reset();
    return;
  }
  if (at >= formats_.size()) formats_.resize(at + 1);
  formats_[at] = automation::NumberFormat(format);
}

const automation::NumberFormat* RecordsetRows::formatOf(int field) const {
  if (field < 0 || static_cast<std::size_t>(field) >= formats_.size()) return nullptr;
  const auto& format = formats_[static_cast<std::size_t>(field)];
  return format ? &*format : nullptr;
}

void RecordsetRows::setShownText(int field, ShownText shown) {
  if (field < 0) return;
  const auto at = static_cast<std::size_t>(field);
  if (at >= shown_.size()) shown_.resize(at + 1);
  shown_[at] = std::move(shown);
}

std::string RecordsetRows::text(int row, int field) const {
  std::string text = storedText(row, field);
  if (field >= 0 && static_cast<std::size_t>(field) < shown_.size()) {
    if (const ShownText& shown = shown_[static_cast<std::size_t>(field)]) return shown(text);
  }
  return text;
}

std::string RecordsetRows::storedText(int row, int field) const {
  const automation::Variant v = view_.value(row, field);
  if (v.isNull()) return {};
  if (const automation::NumberFormat* format = formatOf(field)) {
    try {
      return format->format(v.toDouble());
    } catch (const std::exception&) {
      // A value that is not a number shows as stored rather than failing a paint.
    }
  }
  return v.displayText();
}

std::optional<double> RecordsetRows::cellNumber(int index, int col) const {
  const automation::NumberFormat* format = formatOf(col - 1);
  if (format == nullptr) return std::nullopt;
  const std::optional<double> v = view_.number(index, col - 1);
  if (!v) return std::nullopt;
  // The plain double, not shownValue's optional: this runs for every stock cell an allocation
  // reads.
  const double shown = format->shownNumber(*v);
  if (std::isnan(shown)) return std::nullopt;
  return shown;
}

int RecordsetRows::cellNumbers(int col, int first, int count, double* out) const {
  const automation::NumberFormat* format = formatOf(col - 1);
  if (format == nullptr) return 0;
  const int read = view_.numbers(col - 1, first, count, out);
  const automation::ShownRounding shownNumber(*format);
  for (int i = 0; i < read; ++i) {
    const double shown = shownNumber(out[i]);
    if (std::isnan(shown)) return i;
    out[i] = shown;
  }
  return read;
}

bool RecordsetRows::grow(int maxRows, std::chrono::nanoseconds budget) const {
  return view_.grow(static_cast<std::size_t>(maxRows > 0 ? maxRows : 1), budget);
}

std::string RecordsetRows::cellText(int index, int col) const {
  return col < 1 ? std::string() : text(index, col - 1);
}

}  // namespace quillon::forms
