#include "module/class_tree.h"

#include <string>
#include <vector>

#include "ado/criteria.h"
#include "ado/recordset.h"
#include "automation/collection.h"
#include "automation/vb_strings.h"
#include "forms/tree_view.h"
#include "module/module_state.h"

namespace quillon::module {

namespace {

std::string textOf(const automation::Variant& v) {
  return v.isNull() ? std::string() : v.toString();
}

struct ClassRow {
  std::string code;
  std::string name;
  int grade = 0;
  bool endClass = false;
};

// The part of a class code that belongs to its own grade, after the codes of its parents.
std::string ownPart(const std::string& code, int grade, const automation::Collection& lengths) {
  std::size_t parentLength = 0;
  for (int g = 1; g < grade && static_cast<std::size_t>(g) <= lengths.count(); ++g) {
    parentLength += static_cast<std::size_t>(lengths.item(static_cast<std::size_t>(g)).toLong());
  }
  return parentLength < code.size() ? code.substr(parentLength) : code;
}

}  // namespace

void BuildClassTree(ado::Recordset& classes, forms::TreeView& tree, forms::Node& parent,
                    const automation::Collection& codeLengths, bool expand) {
  const bool root = parent.Key() == kClassRootKey;
  const std::string code = root ? std::string() : parent.Key().substr(1);
  const int grade = root ? 0 : automation::Variant(parent.Tag()).toLong();
  if (root) {
    classes.setFilter(automation::Variant("iInvCGrade = " + std::to_string(1)));
  } else {
    classes.setFilter(automation::Variant("cInvCCode like " + ado::criteriaLiteral(code + "%") +
                                          " and iInvCGrade=" + std::to_string(grade + 1)));
  }
  // Read the rows first: the recursion below filters the same recordset again.
  std::vector<ClassRow> rows;
  if (classes.recordCount() != 0) {
    for (classes.moveFirst(); !classes.eof(); classes.moveNext()) {
      ClassRow row;
      row.code = textOf(classes.value("cInvCCode"));
      row.name = textOf(classes.value("cInvCName"));
      const auto g = classes.value("iInvCGrade");
      row.grade = g.isNull() ? grade + 1 : g.toLong();
      const auto end = classes.value("bInvCEnd");
      row.endClass = !end.isNull() && end.toBool();
      rows.push_back(std::move(row));
    }
  }
  classes.setFilter(automation::Variant(""));

  for (const auto& row : rows) {
    auto& node = tree.addNode(&parent, std::string(1, kClassKeyPrefix) + row.code,
                              ownPart(row.code, row.grade, codeLengths) + " " + row.name,
                              row.endClass ? "leaf" : "folder");
    node.setTag(std::to_string(row.grade));
    if (!row.endClass) BuildClassTree(classes, tree, node, codeLengths, false);
  }
  if (expand) parent.setExpanded(true);
}

void CheckSubtree(forms::Node& node, bool checked) {
  for (auto* child : node.children()) {
    child->setChecked(checked);
    CheckSubtree(*child, checked);
  }
}

void UpdateParents(forms::Node& node) {
  for (auto* parent = node.Parent(); parent != nullptr; parent = parent->Parent()) {
    bool all = true;
    for (const auto* child : parent->children()) all = all && child->Checked();
    parent->setChecked(all);
  }
}

void CollectCheckedClasses(forms::Node& node, ado::Recordset& rows) {
  for (auto* child : node.children()) {
    rows.setFilter(
        automation::Variant("上级编码 LIKE " + ado::criteriaLiteral(child->Key().substr(1) + "%")));
    const bool found = rows.recordCount() > 0;
    if (child->Checked() && found) setLastReferText(child->Key() + LastReferText());
    rows.setFilter(automation::Variant(""));
    if (!child->Checked()) CollectCheckedClasses(*child, rows);
  }
}

}  // namespace quillon::module
