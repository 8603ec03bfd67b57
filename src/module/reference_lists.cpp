#include "module/reference_lists.h"

#include "ado/recordset.h"
#include "automation/numeric_text.h"
#include "automation/text_compare.h"
#include "forms/list_view.h"
#include "module/list_columns.h"
#include "module/list_helpers.h"
#include "sql/sql_text.h"

namespace quillon::module {

namespace {

// Column 1 is the item text, higher columns its sub-items.
std::string cellOf(const forms::ListItem& item, int column) {
  if (column <= 1) return item.Text();
  return item.SubItems(column - 1);
}

}  // namespace

std::string KeyInList(const std::vector<std::string>& keys) {
  std::string joined;
  for (const auto& k : keys) {
    if (!joined.empty()) joined += ",";
    // The keys are the lists' id cells: numbers, written as numbers; anything else stays a text.
    const auto number = automation::parseNumericText(k);
    joined += number ? sql::literal(*number) : sql::literal(k);
  }
  if (joined.empty()) return {};
  return " IN (" + joined + ")";
}

std::string NarrowedSource(std::string_view source, std::string_view condition) {
  const std::string lower = automation::asciiLower(source);
  const auto at = lower.find(" order by ");
  if (at == std::string::npos) {
    return std::string(source) + " AND " + std::string(condition);
  }
  // Up to and including the space before "order by".
  return std::string(source.substr(0, at + 1)) + " AND  " + std::string(condition) + " " +
         std::string(source.substr(at + 1));
}

bool ListLevel::isEmpty() const {
  return list_.itemCount() == 0 || !rs_;
}

void ListLevel::adopt(std::shared_ptr<ado::Recordset> rs) {
  if (rs_ != rs) CloseRecordset(rs_);
  rs_ = std::move(rs);
}

void ListLevel::show(std::shared_ptr<ado::Recordset> rs, bool checked) {
  adopt(std::move(rs));
  refill(checked);
}

void ListLevel::refill(bool checked) {
  FillList(list_, rs_.get(), checked);
  SetListColumns(list_);
}

void ListLevel::clearRows() {
  list_.clearItems();
}

void ListLevel::close() {
  CloseRecordset(rs_);
  list_.clearItems();
}

void ListLevel::releaseRecordset() {
  CloseRecordset(rs_);
}

int ListLevel::column(std::string_view field) const {
  return rs_ ? ColumnIndexOf(field, *rs_, list_.columnCount()) : 0;
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
  return isEmpty() ? std::string() : KeyInList(checkedCells(field));
}

const forms::ListItem* ListLevel::firstChecked() const {
  for (int i = 1; i <= list_.itemCount(); ++i) {
    if (list_.item(i).Checked()) return &list_.item(i);
  }
  return nullptr;
}

}  // namespace quillon::module
