#include "dialogs/frmRefSelect/stock_rows.h"

#include "ado/record_data.h"
#include "automation/vb_format.h"

namespace quillon::dialogs::ref_select {

StockRows::StockRows(std::shared_ptr<const ado::RecordData> data, std::vector<std::uint32_t> rows,
                     Formats formats)
    : data_(std::move(data)), rows_(std::move(rows)), formats_(std::move(formats)) {}

std::string StockRows::text(int index, int col) const {
  if (index < 0 || static_cast<std::size_t>(index) >= rows_.size() || col < 1) return {};
  const auto field = static_cast<std::size_t>(col - 1);
  const std::uint32_t row = rows_[static_cast<std::size_t>(index)];
  if (field >= data_->fieldCount() || row >= data_->rowCount()) return {};
  const automation::Variant v = data_->value(row, field);
  try {
    if (!v.isNull() && col == formats_.stockCol)
      return automation::formatNumber(v.toDouble(), formats_.qty);
    if (!v.isNull() && col == formats_.stockNumCol)
      return automation::formatNumber(v.toDouble(), formats_.num);
    return v.displayText();
  } catch (const std::exception&) {
    // A stock value that is not a number shows as stored rather than failing a paint.
    return v.displayText();
  }
}

}  // namespace quillon::dialogs::ref_select
