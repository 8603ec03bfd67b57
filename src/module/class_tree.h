// Tree helpers of the inventory-class tree: building it from the class recordset, cascading
// check marks down and up, and collecting the checked classes.
//
// Node keys are kClassKeyPrefix followed by the class code, so the code is the key without its
// first character; the root's key is "mRoot".
#pragma once

#include <string_view>

namespace quillon::ado {
class Recordset;
}
namespace quillon::automation {
class Collection;
}
namespace quillon::forms {
class Node;
class TreeView;
}  // namespace quillon::forms

namespace quillon::module {

inline constexpr std::string_view kClassRootKey = "mRoot";
inline constexpr char kClassKeyPrefix = 'c';

// Adds the classes below `parent` (for the root: grade 1; for a class: the codes that start with
// its code, one grade down), recursively for classes that are not end classes. `codeLengths`
// holds the code length of each grade's own part (item 1 for grade 1, ...); a node's text is
// that own part and the class name. The recordset's filter is cleared afterwards.
void BuildClassTree(ado::Recordset& classes, forms::TreeView& tree, forms::Node& parent,
                    const automation::Collection& codeLengths, bool expand = false);

// Sets every descendant of `node` to `checked`, depth first.
void CheckSubtree(forms::Node& node, bool checked);

// Walking up from `node`: each parent becomes checked exactly when all its children are.
void UpdateParents(forms::Node& node);

// For every child of `node`: when it is checked and `rows` has rows whose "上级编码" starts with
// its class code, puts its key in front of the last reference text; unchecked children are
// searched further down. The recordset's filter is cleared again.
void CollectCheckedClasses(forms::Node& node, ado::Recordset& rows);

}  // namespace quillon::module
