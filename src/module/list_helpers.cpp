#include "module/list_helpers.h"

#include <array>
#include <string>

#include "ado/fields.h"
#include "ado/recordset.h"
#include "automation/text_compare.h"
#include "automation/vb_format.h"
#include "automation/vb_runtime.h"
#include "automation/vb_strings.h"
#include "components/session_context.h"
#include "components/suite_utility.h"
#include "forms/list_view.h"
#include "module/account_settings.h"
#include "module/module_state.h"

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

void addHeaders(forms::ListView& list, const ado::Recordset& rs) {
  const auto& fields = *rs.fields();
  for (int i = 0; i < fields.count(); ++i) {
    list.addColumn(fields.item(static_cast<std::size_t>(i))->name());
  }
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

}  // namespace

void FillList(forms::ListView& list, ado::Recordset* rs, bool checked,
              const automation::Variant& hide) {
  list.setView(forms::ListView::lvwReport);
  list.setCheckboxes(true);
  list.setLabelEdit(1);
  list.clearItems();
  list.clearColumns();
  if (rs == nullptr || !rs->isOpen()) return;

  const bool hasRows = !(rs->bof() && rs->eof()) && rs->recordCount() != 0;
  if (!hasRows) {
    addHeaders(list, *rs);
  } else {
    rs->moveFirst();
    if (list.columnCount() == 0) addHeaders(list, *rs);
    const auto& fields = *rs->fields();
    const int fieldCount = fields.count();
    std::string quantityFormat;
    bool quantityFormatRead = false;
    auto utility = components::suiteUtility();
    for (int row = 1; !rs->eof(); ++row) {
      auto& item = list.addItem(nullAsEmpty(rs->value(std::size_t{0})), std::to_string(row) + "k");
      for (int f = 1; f < fieldCount; ++f) {
        const auto index = static_cast<std::size_t>(f);
        const std::string name = automation::LCase(fields.item(index)->name());
        const automation::Variant value = rs->value(index);
        std::string text;
        if (name == "iproperty") {
          text = nullAsEmpty(value) == "1" ? "自制" : "外协";
        } else if (isQuantityField(name)) {
          if (!quantityFormatRead) {
            quantityFormat = CurrentAccountSettings().text("FormatQuanDecString");
            quantityFormatRead = true;
          }
          text = automation::Format(automation::Variant(utility->fieldToNumber(value)),
                                    quantityFormat);
        } else {
          text = automation::Trim(nullAsEmpty(value));
        }
        item.setSubItem(f, std::move(text));
        if (f + 1 <= list.columnCount()) list.setColumnAlignment(f + 1, 0);
      }
      item.setChecked(checked);
      rs->moveNext();
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
