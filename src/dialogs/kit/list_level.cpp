#include "dialogs/kit/list_level.h"

#include "ado/recordset.h"
#include "forms/list_view.h"
#include "module/list_columns.h"
#include "module/list_helpers.h"
#include "module/reference_lists.h"

namespace quillon::dialogs::kit {

namespace {

// Column 1 is the item text, higher columns its sub-items.
std::string cellOf(const forms::ListItem& item, int column) {
  if (column <= 1) return item.Text();
  return item.SubItems(column - 1);
}

}  // namespace

bool ListLevel::isEmpty() const {
  return list_.itemCount() == 0 || !rs_;
}

void ListLevel::adopt(std::shared_ptr<ado::Recordset> rs) {
  if (rs_ != rs) module::CloseRecordset(rs_);
  rs_ = std::move(rs);
}

void ListLevel::show(std::shared_ptr<ado::Recordset> rs, bool checked) {
  adopt(std::move(rs));
  refill(checked);
}

void ListLevel::refill(bool checked) {
  module::FillList(list_, rs_.get(), checked);
  module::SetListColumns(list_, kind_);
}

void ListLevel::clearRows() {
  list_.clearItems();
}

void ListLevel::close() {
  module::CloseRecordset(rs_);
  list_.clearItems();
}

void ListLevel::releaseRecordset() {
  module::CloseRecordset(rs_);
}

int ListLevel::column(std::string_view field) const {
  return rs_ ? module::ColumnIndexOf(field, *rs_, list_.columnCount()) : 0;
}

std::string ListLevel::cell(const forms::ListItem& item, std::string_view field) const {
  return cellOf(item, column(field));
}

std::vector<std::string> ListLevel::checkedCells(std::string_view field) const {
  const int at = column(field);
  std::vector<std::string> cells;
  for (int i = 1; i <= list_.itemCount(); ++i) {
    const auto& item = list_.item(i);
    if (item.Checked()) cells.push_back(cellOf(item, at));
  }
  return cells;
}

std::string ListLevel::chosenKeys(std::string_view field) const {
  return isEmpty() ? std::string() : module::KeyInList(checkedCells(field));
}

const forms::ListItem* ListLevel::firstChecked() const {
  for (int i = 1; i <= list_.itemCount(); ++i) {
    if (list_.item(i).Checked()) return &list_.item(i);
  }
  return nullptr;
}

}  // namespace quillon::dialogs::kit
