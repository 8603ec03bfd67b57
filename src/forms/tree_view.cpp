#include "forms/tree_view.h"

#include <algorithm>

#include "automation/com_error.h"
#include "forms/form.h"

namespace quillon::forms {

using automation::ComError;

void Node::setText(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  owner_->notify("Nodes");
}

void Node::setImage(std::string image) {
  if (image == image_) return;
  image_ = std::move(image);
  owner_->notify("Nodes");
}

void Node::setChecked(bool on) {
  if (on == checked_) return;
  checked_ = on;
  owner_->notify("Nodes");
}

void Node::setExpanded(bool on) {
  if (on == expanded_) return;
  expanded_ = on;
  owner_->notify("Nodes");
}

int Node::level() const {
  int depth = 0;
  for (const Node* p = parent_; p != nullptr; p = p->parent_) ++depth;
  return depth;
}

TreeView::TreeView(std::string name) : Control(ControlKind::TreeView, std::move(name)) {}

void TreeView::setCheckboxes(bool on) {
  assign(checkboxes_, on, "Checkboxes");
}
void TreeView::setImageList(std::string name) {
  assign(imageList_, std::move(name), "ImageList");
}

Node& TreeView::addNode(Node* parent, std::string key, std::string text, std::string image) {
  if (parent != nullptr && parent->owner_ != this) {
    throw ComError::invalidProcedureCall();
  }
  if (!key.empty() && findNode(key) != nullptr) {
    throw ComError::keyNotUnique();
  }
  auto node =
      std::unique_ptr<Node>(new Node(this, std::move(key), std::move(text), std::move(image)));
  Node& ref = *node;
  ref.parent_ = parent;
  if (parent != nullptr) parent->children_.push_back(&ref);
  nodes_.push_back(std::move(node));
  notify("Nodes");
  return ref;
}

Node& TreeView::addChild(std::string_view parentKey, std::string key, std::string text,
                         std::string image) {
  return addNode(&node(parentKey), std::move(key), std::move(text), std::move(image));
}

void TreeView::removeNode(std::string_view key) {
  Node& victim = node(key);
  std::vector<Node*> doomed{&victim};
  for (std::size_t i = 0; i < doomed.size(); ++i) {
    for (Node* c : doomed[i]->children_) doomed.push_back(c);
  }
  if (victim.parent_ != nullptr) {
    auto& siblings = victim.parent_->children_;
    siblings.erase(std::find(siblings.begin(), siblings.end(), &victim));
  }
  if (std::find(doomed.begin(), doomed.end(), selected_) != doomed.end()) selected_ = nullptr;
  std::erase_if(nodes_, [&](const std::unique_ptr<Node>& n) {
    return std::find(doomed.begin(), doomed.end(), n.get()) != doomed.end();
  });
  notify("Nodes");
}

void TreeView::clear() {
  selected_ = nullptr;
  nodes_.clear();
  notify("Nodes");
}

Node* TreeView::findNode(std::string_view key) const {
  if (key.empty()) return nullptr;
  for (const auto& n : nodes_) {
    if (n->key_ == key) return n.get();
  }
  return nullptr;
}

Node& TreeView::node(std::string_view key) const {
  Node* n = findNode(key);
  if (n == nullptr) throw ComError::elementNotFound();
  return *n;
}

std::vector<Node*> TreeView::roots() const {
  std::vector<Node*> out;
  for (const auto& n : nodes_) {
    if (n->parent_ == nullptr) out.push_back(n.get());
  }
  return out;
}

std::vector<Node*> TreeView::nodes() const {
  std::vector<Node*> out;
  for (const auto& n : nodes_) out.push_back(n.get());
  return out;
}

void TreeView::setSelectedItem(Node* node) {
  if (node != nullptr && node->owner_ != this) {
    throw ComError::invalidProcedureCall();
  }
  if (node == selected_) return;
  selected_ = node;
  notify("SelectedItem");
}

bool TreeView::userClickNode(std::string_view key) {
  Node* n = findNode(key);
  if (n == nullptr || !isReachable()) return false;
  if (Form* f = form(); f != nullptr && !f->moveFocus(*this)) return false;
  if (findNode(key) != n) return false;
  setSelectedItem(n);
  if (NodeClick) NodeClick(*n);
  return true;
}

bool TreeView::userCheckNode(std::string_view key, bool on) {
  Node* n = findNode(key);
  if (n == nullptr || !isReachable() || !checkboxes_) return false;
  if (Form* f = form(); f != nullptr && !f->moveFocus(*this)) return false;
  if (findNode(key) != n) return false;
  if (n->checked_ == on) return true;
  n->setChecked(on);
  if (NodeCheck) NodeCheck(*n);
  return true;
}

bool TreeView::userToggleExpanded(std::string_view key) {
  Node* n = findNode(key);
  if (n == nullptr || !isReachable()) return false;
  n->setExpanded(!n->expanded_);
  if (n->expanded_ && Expand) Expand(*n);
  if (!n->expanded_ && Collapse) Collapse(*n);
  return true;
}

}  // namespace quillon::forms
