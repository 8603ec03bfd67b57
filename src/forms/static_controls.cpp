#include "forms/static_controls.h"

#include "automation/com_error.h"

namespace quillon::forms {

Label::Label(std::string name, std::string caption)
    : Control(ControlKind::Label, std::move(name)), caption_(std::move(caption)) {}

void Label::setCaption(std::string caption) {
  assign(caption_, std::move(caption), "Caption");
}
void Label::setAlignment(int alignment) {
  assign(alignment_, alignment, "Alignment");
}

Frame::Frame(std::string name, std::string caption)
    : Control(ControlKind::Frame, std::move(name)), caption_(std::move(caption)) {}

void Frame::setCaption(std::string caption) {
  assign(caption_, std::move(caption), "Caption");
}

ImageList::ImageList(std::string name) : Control(ControlKind::ImageList, std::move(name)) {
  setVisible(false);
}

void ImageList::add(std::string key, std::string picture) {
  if (indexOf(key) != 0) throw automation::ComError::keyNotUnique();
  images_.push_back({std::move(key), std::move(picture)});
  notify("ListImages");
}

void ImageList::clear() {
  images_.clear();
  notify("ListImages");
}

int ImageList::indexOf(std::string_view key) const {
  for (std::size_t i = 0; i < images_.size(); ++i) {
    if (images_[i].key == key) return static_cast<int>(i) + 1;
  }
  return 0;
}

const ImageList::ListImage& ImageList::image(std::string_view key) const {
  const int i = indexOf(key);
  if (i == 0) throw automation::ComError::elementNotFound();
  return images_[static_cast<std::size_t>(i) - 1];
}

}  // namespace quillon::forms
