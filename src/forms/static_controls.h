// Controls that only show something: label, frame, and the image list that other controls take
// their pictures from.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "forms/control.h"

namespace quillon::forms {

class Label : public Control {
 public:
  explicit Label(std::string name, std::string caption = {});
  const std::string& Caption() const { return caption_; }
  void setCaption(std::string caption);
  // 0 left, 1 right, 2 centre.
  int Alignment() const { return alignment_; }
  void setAlignment(int alignment);
  std::string displayText() const override { return caption_; }
  std::function<void()> Click;

 private:
  std::string caption_;
  int alignment_ = 0;
};

class Frame : public Control {
 public:
  explicit Frame(std::string name, std::string caption = {});
  const std::string& Caption() const { return caption_; }
  void setCaption(std::string caption);
  std::string displayText() const override { return caption_; }

 private:
  std::string caption_;
};

// Pictures by key. A picture is named by the suite's image id or a resource name; how it looks is
// the renderer's business.
class ImageList : public Control {
 public:
  explicit ImageList(std::string name);
  struct ListImage {
    std::string key;
    std::string picture;
  };
  // Adds a picture; a key already present is refused with ComError 35602.
  void add(std::string key, std::string picture);
  void clear();
  int count() const { return static_cast<int>(images_.size()); }
  // 1-based index of a key, 0 when missing.
  int indexOf(std::string_view key) const;
  // Throws ComError 35601 "Element not found" for an unknown key.
  const ListImage& image(std::string_view key) const;
  const std::vector<ListImage>& images() const { return images_; }

 private:
  std::vector<ListImage> images_;
};

}  // namespace quillon::forms
