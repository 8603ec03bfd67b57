// ListView: the platform's list in report view, with a check box per row, column headers (a width
// of 0 hides a column) and items with keys, texts and sub-items. Index numbers are 1-based, as
// the platform's collections are.
//
// A large fill may add its items while the list is shown (fillItems): the first screen at once,
// the rest in idle slices (row_growth.h). Whatever reads the items (their count, an item past those
// added, a key, a sort, a check of every row, a change of the items) first adds every one left, so
// only the renderer, through shownItemCount, ever sees part of them.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "forms/control.h"
#include "forms/row_growth.h"
#include "forms/row_order.h"

namespace quillon::forms {

class ListView;

class ListItem {
 public:
  int Index() const { return index_; }
  const std::string& Key() const { return key_; }
  const std::string& Text() const { return text_; }
  void setText(std::string text);
  // Sub-item i (1-based) is shown in column i + 1; a sub-item never set reads "".
  std::string SubItems(int i) const;
  void setSubItem(int i, std::string text);
  bool Checked() const { return checked_; }
  void setChecked(bool on);  // from code: no ItemCheck
  bool Selected() const { return selected_; }
  void setSelected(bool on);
  const std::string& Tag() const { return tag_; }
  void setTag(std::string tag) { tag_ = std::move(tag); }

 private:
  friend class ListView;
  ListItem(ListView* owner, std::string key, std::string text)
      : owner_(owner), key_(std::move(key)), text_(std::move(text)) {}
  ListView* owner_;
  int index_ = 0;
  std::string key_;
  std::string text_;
  std::vector<std::string> subItems_;
  bool checked_ = false;
  bool selected_ = false;
  std::string tag_;
};

struct ColumnHeader {
  static constexpr int kDefaultWidth = 1440;
  std::string text;
  int width = kDefaultWidth;
  int alignment = 0;  // 0 left, 1 right, 2 centre
  // Whether the form gave the width (else the list's default, and it is drawn as wide as its
  // content needs).
  bool widthSet = false;
};

class ListView : public Control, private GrowingRows {
 public:
  static constexpr int lvwReport = 3;

  explicit ListView(std::string name);
  ~ListView();
  ListView(const ListView&) = delete;
  ListView& operator=(const ListView&) = delete;

  int View() const { return view_; }
  void setView(int view);
  bool Checkboxes() const { return checkboxes_; }
  void setCheckboxes(bool on);
  // 0 automatic, 1 manual (no editing of item texts by a person).
  int LabelEdit() const { return labelEdit_; }
  void setLabelEdit(int mode);
  bool MultiSelect() const { return multiSelect_; }
  void setMultiSelect(bool on);

  // Column headers; a column added without a width has the list's default.
  int addColumn(std::string text, std::optional<int> width = std::nullopt, int alignment = 0);
  void clearColumns();
  int columnCount() const { return static_cast<int>(columns_.size()); }
  const ColumnHeader& column(int index) const;  // 1-based; ComError 35600 out of range
  void setColumnText(int index, std::string text);
  void setColumnWidth(int index, int width);
  void setColumnAlignment(int index, int alignment);
  // The first column whose header text equals `text`, 0 when none.
  int columnByText(std::string_view text) const;

  // Items. Keys are unique (ComError 35602 otherwise); an empty key is no key.
  ListItem& addItem(std::string text, std::string key = {}, int index = -1);
  void removeItem(int index);
  // Removes every item; a fill still adding items ends there.
  void clearItems();
  int itemCount() const {
    settleItems();
    return static_cast<int>(items_.size());
  }
  // 1-based; ComError 35600 out of range. An item among those already added is read as it is.
  ListItem& item(int index) const;

  // Adds `count` items: `addRow(i)` adds the one of row i (0-based, in order) with addItem. With
  // `firstItems` > 0 (only where lists grow while shown: listsGrowWhileShown) the first
  // `firstItems` are added now and the rest a slice at a time while the renderer is idle; without,
  // all of them now. An error of `addRow` ends the fill there and reaches whoever made it add.
  void fillItems(int count, int firstItems, std::function<void(int row)> addRow);
  // The rows of a fill that are still being read (a recordset opened to show while it loads):
  // how many are read, reading up to `maxRows` more within about `budget` (false once none is
  // left to read), and reading every one left.
  struct ArrivingRows {
    std::function<int()> count;
    std::function<bool(int maxRows, std::chrono::nanoseconds budget)> read;
    std::function<void()> readAll;
  };
  // As fillItems, over rows still being read: the first `firstItems` at once (reading as many as
  // that takes), the rest as they are read, a slice at a time while the renderer is idle; without
  // `firstItems`, every row read and added now. Whatever reads the items reads and adds every row
  // left first. `ended` runs once every item is added (not for a fill cleared or failed first).
  void fillItems(ArrivingRows rows, int firstItems, std::function<void(int row)> addRow,
                 std::function<void()> ended = {});
  // Whether a fill is still adding items. Each slice of a fill announces "RowsAdded" (the items
  // after those shown before are new); any other change of the items "ListItems".
  bool filling() const { return fill_ != nullptr; }
  // The items added so far, without adding those still to come: for the renderer, and for code
  // that needs only the first items (a fill adds its first screen at once).
  int shownItemCount() const { return static_cast<int>(items_.size()); }
  ListItem* itemByKey(std::string_view key) const;
  // The current item: the one last selected; null when the list has none.
  ListItem* SelectedItem() const { return selected_; }
  void setSelectedItem(ListItem* item);

  // The order the data rows are shown in (row_order.h). Rows keep their numbers; a change of the
  // row count puts the list back in its own order. Sorting announces "Order".
  const RowOrder& rowOrder() const { return order_; }
  void sortRows(int column, bool descending);
  // A person clicks a columnumn's header: sorted by it, again descending (row_order.h).
  bool userSortColumn(int column);

  // Checks: every item but `keep` unchecked (one checked row at the most), or every item; from
  // code, so no ItemCheck.
  void uncheckOthers(const ListItem& keep);
  void uncheckAll();

  // The text shown at a data row and column: column 0 reads kMarkText for a checked row, "" else,
  // column 1 the item's text, column c > 1 sub-item c - 1.
  std::string cellText(int row, int column) const;

  bool canFocus() const override { return true; }
  std::string displayText() const override { return selected_ ? selected_->Text() : std::string(); }
  // The items and the checked ones; nothing for a list without column headers yet.
  std::optional<std::string> statusText() const override;
  // Space on the selected item: its check box when the list has them, else a click on it.
  bool defaultKeyDown(int keyCode, int shift) override;

  std::function<void(ListItem& Item)> ItemCheck;
  std::function<void(ListItem& Item)> ItemClick;
  std::function<void()> Click;
  std::function<void()> DblClick;

  // A person toggles an item's check box: the list takes the focus, Checked flips, ItemCheck runs.
  bool userCheck(int index);
  // A person clicks an item: it becomes the selected item, ItemClick and Click run.
  bool userClickItem(int index);
  // A person moves to an item with the arrow keys: it becomes the selected item, and no click
  // runs (a list whose click marks rows is not marked by moving through it).
  bool userSelectItem(int index);

 private:
  friend class ListItem;
  // Numbers the items from position `from` on (those before it keep theirs).
  void renumber(std::size_t from);
  // A fill still adding items adds every one left (const: the items already added stay as they
  // are).
  void settleItems() const {
    if (fill_ && !feeding_) const_cast<ListView*>(this)->finishRows();
  }
  bool growRows(int maxRows, std::chrono::nanoseconds budget) override;
  void finishRows() override;
  void endFill();
  // Announces a change of the items ("ListItems"); a fill announces its own ("RowsAdded").
  void itemsChanged();
  struct Fill {
    int next = 0;
    int count = 0;  // of rows still being read, those read so far
    std::function<void(int row)> addRow;
    ArrivingRows arriving;  // rows still being read; empty once all are
    std::function<void()> ended;
  };
  void startFill(std::unique_ptr<Fill> fill, int firstItems);
  // Of rows still being read, reads enough for `maxRows` more items within about `budget`.
  void readArriving(int maxRows, std::chrono::nanoseconds budget);
  std::unique_ptr<Fill> fill_;
  bool feeding_ = false;  // the fill's addRow runs: its own reads add nothing more
  int view_ = lvwReport;
  bool checkboxes_ = false;
  int labelEdit_ = 0;
  bool multiSelect_ = false;
  std::vector<ColumnHeader> columns_;
  std::vector<std::unique_ptr<ListItem>> items_;
  // Items by key, so filling a list of thousands of keyed rows stays linear.
  std::unordered_map<std::string, ListItem*> byKey_;
  ListItem* selected_ = nullptr;
  RowOrder order_;  // by column header number
};

}  // namespace quillon::forms
