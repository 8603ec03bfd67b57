// The expectations of a script about a form's controls: a control's text, a cell, the rows a list
// shows, and a control's properties. One function for each; a failing one records its failure
// with the host and the block goes on to its end the way a failed action does.
#include <string>

#include "automation/vb_runtime.h"
#include "forms/combo_box.h"
#include "forms/form.h"
#include "forms/list_view.h"
#include "forms/super_grid.h"
#include "forms/tree_view.h"
#include "forms/vouch_list.h"
#include "script/control_property.h"
#include "script/script_compare.h"
#include "script/script_parser.h"
#include "script/script_values.h"
#include "script/scripted_actions.h"
#include "script/scripted_ui_host.h"

namespace quillon::script::scripted {

using namespace forms;

using automation::Variant;

namespace {

int listColumn(const DialogAction& a, const ListView& list) {
  if (a.columnNumber) {
    if (*a.columnNumber > list.columnCount() && *a.columnNumber > 1) {
      failAction(a, list.Name() + " has no column " + std::to_string(*a.columnNumber));
    }
    return *a.columnNumber;
  }
  const int col = list.columnByText(a.columnCaption);
  if (col == 0) failAction(a, list.Name() + " has no column headed " + quoted(a.columnCaption));
  return col;
}

// Whether `actual OP expected` holds; a pair that cannot be compared fails the expectation.
bool holds(const DialogAction& a, const Variant& actual, const Variant& expected) {
  try {
    return compare(actual, a.op, expected);
  } catch (const CompareError& e) {
    failAction(a, e.what());
  }
}

std::string comparisonText(const DialogAction& a) {
  return std::string(compareOpText(a.op)) + " " + sourceText(a.expected);
}

void expectText(ScriptedUiHost& host, Form& form, const DialogAction& a) {
  Control* c = form.findControlByPath(a.target);
  std::string actual;
  if (c != nullptr) {
    actual = c->displayText();
  } else if (a.target == form.Name()) {
    actual = form.Caption();
  } else {
    failAction(a, "form " + form.Name() + " has no control " + a.target);
  }
  if (actual != a.text) {
    host.fail(a.pos, "expected " + a.target + " to read " + quoted(a.text) + ", it reads " +
                         quoted(actual));
  }
}

std::string cellText(const DialogAction& a, Control& c) {
  // The column of the view alone (the row labels) reads as a person sees it, while it shows.
  if (const RowLabels* labels = a.columnNumber ? nullptr : rowLabelColumn(c, a.columnCaption)) {
    if (!labels->rowLabelsShown()) {
      failAction(a, c.Name() + " hides the column " + quoted(a.columnCaption));
    }
    if (a.row == 0) return labels->rowLabelCaption();
    if (const auto* grid = dynamic_cast<const MsSuperGrid*>(&c)) {
      checkRow(a, c, a.row, grid->Rows() - 1);
    } else if (const auto* vouch = dynamic_cast<const MarlinVouchList*>(&c)) {
      checkRow(a, c, a.row, vouch->Rows() - 1);
    }
    return labels->rowLabel(a.row);
  }
  if (auto* grid = dynamic_cast<MsSuperGrid*>(&c)) {
    if (a.row >= grid->Rows()) failAction(a, c.Name() + " has no row " + std::to_string(a.row));
    return grid->TextMatrix(gridColumn(a, *grid), a.row);
  }
  if (auto* vouch = dynamic_cast<MarlinVouchList*>(&c)) {
    if (a.row >= vouch->Rows()) failAction(a, c.Name() + " has no row " + std::to_string(a.row));
    return vouch->TextMatrix(a.row, vouchColumn(a, *vouch));
  }
  if (auto* list = dynamic_cast<ListView*>(&c)) {
    const int col = listColumn(a, *list);
    if (a.row == 0) return col >= 1 ? list->column(col).text : std::string();
    checkRow(a, c, a.row, list->itemCount());
    return list->cellText(a.row, col);
  }
  failAction(a, c.qualifiedName() + " has no cells");
}

void expectCell(ScriptedUiHost& host, Form& form, const DialogAction& a) {
  Control& c = anyControl(form, a);
  const std::string actual = cellText(a, c);
  const std::string where = a.target + "[" + std::to_string(a.row) + "," +
                            (a.columnNumber ? std::to_string(*a.columnNumber) : a.columnCaption) +
                            "]";
  if (a.expected.kind == ScriptValue::Kind::String && a.op == CompareOp::Equal) {
    if (actual != a.expected.text) {
      host.fail(a.pos, "expected " + where + " to read " + quoted(a.expected.text) + ", it reads " +
                           quoted(actual));
    }
    return;
  }
  // A person reads a number in a cell as a number: compared with a number, it is one.
  const Variant expected = host.valueOf(a.expected);
  Variant value(actual);
  if (expected.isNumber() && automation::IsNumeric(value)) value = Variant(value.toDouble());
  if (!holds(a, value, expected)) {
    host.fail(a.pos,
              "expected " + where + " " + comparisonText(a) + ", it reads " + quoted(actual));
  }
}

int rowsShown(const DialogAction& a, Control& c) {
  if (auto* list = dynamic_cast<ListView*>(&c)) return list->itemCount();
  if (auto* grid = dynamic_cast<MsSuperGrid*>(&c)) return grid->visibleDataRows();
  if (auto* vouch = dynamic_cast<MarlinVouchList*>(&c)) return vouch->Rows() - 1;
  if (auto* combo = dynamic_cast<ComboBox*>(&c)) return combo->ListCount();
  if (auto* tree = dynamic_cast<TreeView*>(&c)) return tree->count();
  failAction(a, c.qualifiedName() + " is not a list");
}

void expectRows(ScriptedUiHost& host, Form& form, const DialogAction& a) {
  const int rows = rowsShown(a, anyControl(form, a));
  if (holds(a, Variant(rows), Variant(a.number))) return;
  if (a.op == CompareOp::Equal) {
    host.fail(a.pos, "expected " + a.target + " to show " + std::to_string(a.number) +
                         " rows, it shows " + std::to_string(rows));
  } else {
    host.fail(a.pos, "expected " + a.target + ".rows " + std::string(compareOpText(a.op)) + " " +
                         std::to_string(a.number) + ", it shows " + std::to_string(rows));
  }
}

std::string propertyText(const DialogAction& a) {
  if (a.property == "Checked") return a.target + "[" + quoteText(a.key) + "].Checked";
  if (a.property == "ColumnVisible" || a.property == "ColumnWidth") {
    return a.target + ".Column[" + quoteText(a.key) +
           (a.property == "ColumnVisible" ? "].Visible" : "].Width");
  }
  return a.target + "." + a.property;
}

void expectProperty(ScriptedUiHost& host, Form& form, const DialogAction& a) {
  Variant actual;
  try {
    if (Control* c = form.findControlByPath(a.target)) {
      actual = host.readProperty(form, *c, a);
    } else if (a.target == form.Name()) {
      actual = formProperty(form, a.property);
    } else {
      failAction(a, "form " + form.Name() + " has no control " + a.target);
    }
  } catch (const PropertyError& e) {
    failAction(a, e.what());
  }
  if (!holds(a, actual, host.valueOf(a.expected))) {
    host.fail(a.pos, "expected " + propertyText(a) + " " + comparisonText(a) + ", found " +
                         valueText(actual));
  }
}

constexpr FormWord kExpectations[] = {
    {ActionKind::ExpectText, expectText},
    {ActionKind::ExpectCell, expectCell},
    {ActionKind::ExpectRows, expectRows},
    {ActionKind::ExpectProperty, expectProperty},
};

}  // namespace

bool checkFormExpectation(ScriptedUiHost& host, Form& form, const DialogAction& a) {
  return runFormWord(kExpectations, host, form, a);
}

}  // namespace quillon::script::scripted
