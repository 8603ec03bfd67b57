// TreeView: nodes with keys, texts, images, a parent and children, a check box and an expanded
// state. Keys are unique within the tree.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/control.h"

namespace quillon::forms {

class TreeView;

class Node {
 public:
  const std::string& Key() const { return key_; }
  const std::string& Text() const { return text_; }
  void setText(std::string text);
  const std::string& Image() const { return image_; }
  void setImage(std::string image);
  Node* Parent() const { return parent_; }
  const std::vector<Node*>& children() const { return children_; }
  int Children() const { return static_cast<int>(children_.size()); }
  bool Checked() const { return checked_; }
  void setChecked(bool on);  // from code: no NodeCheck
  bool Expanded() const { return expanded_; }
  void setExpanded(bool on);
  const std::string& Tag() const { return tag_; }
  void setTag(std::string tag) { tag_ = std::move(tag); }
  // Depth below the roots (a root is 0).
  int level() const;

 private:
  friend class TreeView;
  Node(TreeView* owner, std::string key, std::string text, std::string image)
      : owner_(owner), key_(std::move(key)), text_(std::move(text)), image_(std::move(image)) {}
  TreeView* owner_;
  std::string key_;
  std::string text_;
  std::string image_;
  Node* parent_ = nullptr;
  std::vector<Node*> children_;
  bool checked_ = false;
  bool expanded_ = false;
  std::string tag_;
};

class TreeView : public Control {
 public:
  explicit TreeView(std::string name);

  bool Checkboxes() const { return checkboxes_; }
  void setCheckboxes(bool on);
  // Name of the image list the node images come from.
  const std::string& ImageList() const { return imageList_; }
  void setImageList(std::string name);

  // Adds a root (parent null) or a child of `parent`, last among its siblings. A key already in
  // the tree is refused with ComError 35602.
  Node& addNode(Node* parent, std::string key, std::string text, std::string image = {});
  // By parent key; ComError 35601 when the parent is missing.
  Node& addChild(std::string_view parentKey, std::string key, std::string text,
                 std::string image = {});
  void removeNode(std::string_view key);  // with its subtree
  void clear();
  int count() const { return static_cast<int>(nodes_.size()); }
  Node* findNode(std::string_view key) const;
  Node& node(std::string_view key) const;  // ComError 35601 when missing
  std::vector<Node*> roots() const;
  // Every node, in insertion order.
  std::vector<Node*> nodes() const;
  Node* SelectedItem() const { return selected_; }
  void setSelectedItem(Node* node);

  bool canFocus() const override { return true; }
  std::string displayText() const override { return selected_ ? selected_->Text() : std::string(); }

  std::function<void(Node& node)> NodeCheck;
  std::function<void(Node& node)> NodeClick;
  std::function<void(Node& node)> Expand;
  std::function<void(Node& node)> Collapse;

  // A person clicks a node (it becomes selected, NodeClick runs) or sets its check box (NodeCheck
  // runs when the state changes). Both return false for an unknown key.
  bool userClickNode(std::string_view key);
  bool userCheckNode(std::string_view key, bool on);
  bool userToggleExpanded(std::string_view key);

 private:
  friend class Node;
  bool checkboxes_ = false;
  std::string imageList_;
  std::vector<std::unique_ptr<Node>> nodes_;
  Node* selected_ = nullptr;
};

}  // namespace quillon::forms
