// ListLevel: a level of a reference dialog whose levels are report lists (heads, lines,
// materials, ...): the list and the recordset it shows, with what OK needs of them — the cells of
// a field in checked rows and the texts that narrow the level's own query to those rows when it is
// read again (module/reference_lists.h).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "module/list_captions.h"

namespace quillon::ado {
class Recordset;
}
namespace quillon::forms {
class ListItem;
class ListView;
}  // namespace quillon::forms

namespace quillon::dialogs::kit {

class ListLevel {
 public:
  // `kind` is the caption table the list is laid out by.
  ListLevel(forms::ListView& list, module::ListKind kind) : list_(list), kind_(kind) {}

  forms::ListView& list() const { return list_; }
  const std::shared_ptr<ado::Recordset>& recordset() const { return rs_; }
  // Nothing to choose from: no rows listed or no recordset.
  bool isEmpty() const;

  // Takes `rs` as the level's recordset, closing the one before when it is another one.
  void adopt(std::shared_ptr<ado::Recordset> rs);
  // Adopts `rs` and lists it with every row checked or not, captioned by SetListColumns.
  void show(std::shared_ptr<ado::Recordset> rs, bool checked);
  // Lists the same recordset again (after its Filter changed).
  void refill(bool checked);
  // Empties the list and keeps the recordset.
  void clearRows();
  // Closes and releases the recordset and empties the list.
  void close();
  // Closes and releases the recordset; the list keeps what it shows.
  void releaseRecordset();

  // The list column of a field of the recordset (ColumnIndexOf), 0 without one.
  int column(std::string_view field) const;
  // A row's text in a field's column ("" without such a column).
  std::string cell(const forms::ListItem& item, std::string_view field) const;
  // The field's texts of the checked rows, in list order.
  std::vector<std::string> checkedCells(std::string_view field) const;
  // KeyInList of the field's texts in the checked rows: what narrows the level's source to the
  // chosen rows when it is read again; "" when nothing is listed or checked.
  std::string chosenKeys(std::string_view field) const;
  // The first checked row, or null.
  const forms::ListItem* firstChecked() const;

 private:
  forms::ListView& list_;
  module::ListKind kind_;
  std::shared_ptr<ado::Recordset> rs_;
};

}  // namespace quillon::dialogs::kit
