#include "module/list_helpers.h"

#include <array>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ado/fields.h"
#include "ado/recordset.h"
#include "ado/recordset_view.h"
#include "automation/text_compare.h"
#include "automation/vb_format.h"
#include "automation/vb_runtime.h"
#include "automation/vb_strings.h"
#include "components/session_context.h"
#include "components/suite_utility.h"
#include "forms/list_view.h"
#include "module/account_settings.h"
#include "module/module_state.h"
#include "module/vouch_lists.h"

namespace quillon::module {

namespace {

constexpr std::array<std::string_view, 7> kQuantityFields = {
    "fquantity",    "finquantity",  "itookquantity",   "iinvalidquantity",
    "foutquantity", "icurquantity", "icuroutquantity",
};

bool isQuantityField(const std::string& lowerName) {
  for (auto f : kQuantityFields) {
    if (f == lowerName) return true;
  }
  return false;
}

void addHeaders(forms::ListView& list, const ado::RecordsetView& view) {
  for (int f = 0; f < view.fieldCount(); ++f) list.addColumn(view.fieldName(f));
}

std::string nullAsEmpty(const automation::Variant& v) {
  return v.isNull() ? std::string() : v.displayText();
}

void hideColumn(forms::ListView& list, const automation::Variant& which) {
  if (which.isNumber()) {
    const int column = which.toLong();
    if (column >= 1 && column <= list.columnCount()) list.setColumnWidth(column, 0);
  } else if (which.isString()) {
    if (const int column = list.columnByText(which.asString()); column > 0) {
      list.setColumnWidth(column, 0);
    }
  }
}

// The texts of the fields after the first, as the report lists show them.
class ListTexts {
 public:
  std::string operator()(const std::string& lowerName, const automation::Variant& value) {
    if (lowerName == "iproperty") return nullAsEmpty(value) == "1" ? "自制" : "外协";
    if (!isQuantityField(lowerName)) return automation::Trim(nullAsEmpty(value));
    if (!quantityFormat_) quantityFormat_ = CurrentAccountSettings().text("FormatQuanDecString");
    return automation::Format(automation::Variant(utility_->fieldToNumber(value)),
                              *quantityFormat_);
  }

 private:
  std::shared_ptr<components::SuiteUtility> utility_ = components::suiteUtility();
  std::optional<std::string> quantityFormat_;  // read once, when a quantity is shown
};

// Adds one item per row of the view; where the list is shown, the first screen now and the rest
// while it is looked at (ListView::fillItems). A view still growing (its recordset still loading)
// adds its rows as they are read; `ended` runs once every item is added.
void addRows(forms::ListView& list, std::shared_ptr<ado::RecordsetView> view, bool checked,
             std::function<void()> ended) {
  std::vector<std::string> names;
  for (int f = 0; f < view->fieldCount(); ++f) {
    names.push_back(automation::LCase(view->fieldName(f)));
  }
  // Every column a field fills is left aligned, as the items are added.
  for (int f = 1; f < view->fieldCount() && f + 1 <= list.columnCount(); ++f) {
    list.setColumnAlignment(f + 1, 0);
  }
  auto texts = std::make_shared<ListTexts>();
  auto addRow = [&list, view, names = std::move(names), texts, checked](int row) {
    auto& item = list.addItem(nullAsEmpty(view->value(row, 0)), std::to_string(row + 1) + "k");
    for (int f = 1; f < view->fieldCount(); ++f) {
      item.setSubItem(f, (*texts)(names[static_cast<std::size_t>(f)], view->value(row, f)));
    }
    item.setChecked(checked);
  };
  const int firstItems = static_cast<int>(ShownListFirstRows());
  if (!view->mayGrow()) {
    list.fillItems(view->rowCount(), firstItems, std::move(addRow));
    if (ended) ended();
    return;
  }
  forms::ListView::ArrivingRows arriving{
      [view] { return view->rowCount(); },
      [view](int maxRows, std::chrono::nanoseconds budget) {
        return view->grow(static_cast<std::size_t>(maxRows), budget);
      },
      [view] { view->growToEnd(); },
  };
  list.fillItems(std::move(arriving), firstItems, std::move(addRow), std::move(ended));
}

// Leaves the cursor past the last record, as a fill that walked the rows leaves it.
void movePastTheEnd(ado::Recordset& rs) {
  rs.moveLast();
  rs.moveNext();
}

}  // namespace

void FillList(forms::ListView& list, ado::Recordset* rs, bool checked,
              const automation::Variant& hide) {
  list.setView(forms::ListView::lvwReport);
  list.setCheckboxes(true);
  list.setLabelEdit(1);
  list.clearItems();
  list.clearColumns();
  if (rs == nullptr || !rs->isOpen()) return;

  // Of a recordset still loading, the rows read so far: the list adds the rest as they come.
  auto view = std::make_shared<ado::RecordsetView>(ado::RecordsetView::growing(*rs));
  addHeaders(list, *view);
  if (view->rowCount() > 0) {
    if (view->mayGrow()) {
      // The cursor is moved once the rows are all read, if the recordset is still there then.
      std::weak_ptr<automation::Object> owner = rs->weak_from_this();
      addRows(list, std::move(view), checked, [owner] {
        const auto held = std::static_pointer_cast<ado::Recordset>(owner.lock());
        if (held && held->isOpen()) movePastTheEnd(*held);
      });
    } else {
      addRows(list, std::move(view), checked, [rs] { movePastTheEnd(*rs); });
    }
  }
  if (hide.isArray()) {
    for (const auto& element : hide.asArray()->items) hideColumn(list, element);
  } else if (!hide.isMissing()) {
    hideColumn(list, hide);
  }
}

int ColumnIndexOf(std::string_view fieldName, const ado::Recordset& rs, int columnCount) {
  const std::string lower = automation::LCase(fieldName);
  if (lower == "iquantity") return columnCount - 2;
  if (lower == "inum") return columnCount - 1;
  const auto& fields = *rs.fields();
  for (int p = 0; p < fields.count(); ++p) {
    if (automation::equalsNoCase(fields.item(static_cast<std::size_t>(p))->name(), fieldName)) {
      return p + 1;
    }
  }
  return 0;
}

void CloseRecordset(std::shared_ptr<ado::Recordset>& rs) {
  if (rs && rs->state() == ado::adStateOpen) rs->close();
  rs.reset();
}

}  // namespace quillon::module
