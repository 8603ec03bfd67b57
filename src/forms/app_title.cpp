#include "forms/app_title.h"

namespace quillon::forms {

namespace {

std::string& title() {
  static std::string text = "Quillon";
  return text;
}

}  // namespace

const std::string& AppTitle() {
  return title();
}

void setAppTitle(std::string text) {
  title() = std::move(text);
}

}  // namespace quillon::forms
