#include "script/control_property.h"

#include <string>

#include "automation/names.h"
#include "forms/buttons.h"
#include "forms/combo_box.h"
#include "forms/form.h"
#include "forms/list_view.h"
#include "forms/menu.h"
#include "forms/numeric_edit.h"
#include "forms/static_controls.h"
#include "forms/super_grid.h"
#include "forms/tab_strip.h"
#include "forms/text_box.h"
#include "forms/tree_view.h"
#include "forms/vouch_list.h"

namespace quillon::script {

using namespace forms;

using automation::Variant;

namespace {

[[noreturn]] void lacks(const Control& c, std::string_view what) {
  throw PropertyError(c.qualifiedName() + " has no " + std::string(what));
}

bool enabledToPerson(const Control& control) {
  for (const Control* c = &control; c != nullptr; c = c->container()) {
    if (!c->Enabled()) return false;
  }
  return true;
}

std::optional<std::string> captionOf(const Control& c) {
  if (const auto* b = dynamic_cast<const CommandButton*>(&c)) return b->Caption();
  if (const auto* k = dynamic_cast<const CheckBox*>(&c)) return k->Caption();
  if (const auto* o = dynamic_cast<const OptionButton*>(&c)) return o->Caption();
  if (const auto* l = dynamic_cast<const Label*>(&c)) return l->Caption();
  if (const auto* f = dynamic_cast<const Frame*>(&c)) return f->Caption();
  if (const auto* h = dynamic_cast<const HeadItem*>(&c)) return h->Caption();
  if (const auto* m = dynamic_cast<const Menu*>(&c)) return m->Caption();
  return std::nullopt;
}

bool hasText(const Control& c) {
  switch (c.kind()) {
    case ControlKind::TextBox:
    case ControlKind::ComboBox:
    case ControlKind::NumericEdit:
    case ControlKind::HeadItem:
    case ControlKind::ListView:
    case ControlKind::TreeView:
      return true;
    default:
      return false;
  }
}

Variant valueOf(const Control& c) {
  if (const auto* k = dynamic_cast<const CheckBox*>(&c)) return Variant(k->Value());
  if (const auto* o = dynamic_cast<const OptionButton*>(&c)) return Variant(o->Value());
  lacks(c, "Value (only check boxes and options have one)");
}

Variant nodeChecked(const Control& c, std::string_view key) {
  const auto* tree = dynamic_cast<const TreeView*>(&c);
  if (tree == nullptr) lacks(c, "nodes: it is no tree");
  const Node* node = tree->findNode(key);
  if (node == nullptr) lacks(c, "node \"" + std::string(key) + "\"");
  return Variant(node->Checked());
}

int columnWidth(const Control& c, int col) {
  if (const auto* grid = dynamic_cast<const MsSuperGrid*>(&c)) return grid->ColWidth(col);
  if (const auto* list = dynamic_cast<const ListView*>(&c)) return list->column(col).width;
  const auto& list = dynamic_cast<const MarlinVouchList&>(c);
  return list.columns()[static_cast<std::size_t>(col - 1)].width;
}

}  // namespace

bool shownToPerson(const Control& control) {
  if (control.form() != nullptr && !control.form()->Visible()) return false;
  for (const Control* c = &control; c != nullptr; c = c->container()) {
    if (!c->Visible()) return false;
    const auto* strip = dynamic_cast<const CorvidXTabStrip*>(c->container());
    if (strip != nullptr && c->containerTab() >= 0 && c->containerTab() != strip->Tab()) {
      return false;
    }
  }
  return true;
}

int columnByCaption(const Control& c, std::string_view caption) {
  if (const auto* grid = dynamic_cast<const MsSuperGrid*>(&c)) {
    const int col = grid->colByCaption(caption);
    if (col >= 0) return col;
  } else if (const auto* list = dynamic_cast<const MarlinVouchList*>(&c)) {
    for (int col = 1; col < list->Cols(); ++col) {
      if (list->columns()[static_cast<std::size_t>(col - 1)].caption == caption) return col;
    }
  } else if (const auto* listView = dynamic_cast<const ListView*>(&c)) {
    const int col = listView->columnByText(caption);
    if (col > 0) return col;
  } else {
    lacks(c, "columns: it is no grid");
  }
  lacks(c, "column captioned \"" + std::string(caption) + "\"");
}

const RowLabels* rowLabelColumn(const Control& c, std::string_view caption) {
  const auto* labels = dynamic_cast<const RowLabels*>(&c);
  if (labels == nullptr || caption.empty() || labels->rowLabelCaption() != caption) return nullptr;
  if (const auto* grid = dynamic_cast<const MsSuperGrid*>(&c)) {
    if (grid->colByCaption(caption) >= 0) return nullptr;
  } else if (const auto* list = dynamic_cast<const MarlinVouchList*>(&c)) {
    for (const VouchColumn& column : list->columns()) {
      if (column.caption == caption) return nullptr;
    }
    if (list->colIndex(caption) >= 0) return nullptr;
  }
  return labels;
}

Variant controlProperty(const Control& c, std::string_view property, std::string_view key) {
  using automation::sameName;
  if (sameName(property, "Enabled")) return Variant(enabledToPerson(c));
  if (sameName(property, "Visible")) return Variant(shownToPerson(c));
  if (sameName(property, "Tag")) return Variant(c.Tag());
  if (sameName(property, "Value")) return valueOf(c);
  if (sameName(property, "Checked")) return nodeChecked(c, key);
  if (sameName(property, "Caption")) {
    if (auto caption = captionOf(c)) return Variant(*caption);
    lacks(c, "Caption");
  }
  if (sameName(property, "Text")) {
    if (hasText(c)) return Variant(c.displayText());
    lacks(c, "Text (a caption is read as Caption)");
  }
  if (sameName(property, "ListIndex")) {
    if (const auto* combo = dynamic_cast<const ComboBox*>(&c)) return Variant(combo->ListIndex());
    lacks(c, "ListIndex (only combo boxes have one)");
  }
  if (sameName(property, "ColumnVisible")) {
    // The list's column of the view alone (its row labels) shows or not as the person chose.
    if (const RowLabels* labels = rowLabelColumn(c, key)) return Variant(labels->rowLabelsShown());
    return Variant(columnWidth(c, columnByCaption(c, key)) != 0);
  }
  if (sameName(property, "ColumnWidth")) return Variant(columnWidth(c, columnByCaption(c, key)));
  if (sameName(property, "Status")) {
    if (auto status = c.statusText()) return Variant(*status);
    lacks(c, "status line: it is no list");
  }
  lacks(c, "property " + std::string(property));
}

Variant formProperty(const Form& form, std::string_view property) {
  using automation::sameName;
  if (sameName(property, "Caption")) return Variant(form.Caption());
  if (sameName(property, "Visible")) return Variant(form.Visible());
  if (sameName(property, "Enabled")) return Variant(true);
  throw PropertyError("form " + form.Name() + " has no property " + std::string(property) +
                      " that a script reads");
}

}  // namespace quillon::script
