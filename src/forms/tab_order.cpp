#include "forms/tab_order.h"

#include <algorithm>
#include <vector>

#include "forms/form.h"
#include "forms/tab_strip.h"

namespace quillon::forms {

namespace {

// Tops closer than this stand on one row (a label sits a little lower than its field).
constexpr int kRowSpan = 200;

void placeChildren(const Form& form, const Control* container, std::vector<Control*>& order) {
  std::vector<Control*> children;
  for (Control* c : form.controls()) {
    if (c->container() == container && c->kind() != ControlKind::Menu &&
        c->kind() != ControlKind::ImageList) {
      children.push_back(c);
    }
  }
  std::stable_sort(children.begin(), children.end(),
                   [](const Control* a, const Control* b) { return a->Top() < b->Top(); });
  // Rows, then left to right in each.
  std::size_t first = 0;
  while (first < children.size()) {
    std::size_t end = first + 1;
    while (end < children.size() && children[end]->Top() < children[first]->Top() + kRowSpan) {
      ++end;
    }
    std::stable_sort(children.begin() + static_cast<std::ptrdiff_t>(first),
                     children.begin() + static_cast<std::ptrdiff_t>(end),
                     [](const Control* a, const Control* b) { return a->Left() < b->Left(); });
    first = end;
  }
  for (Control* c : children) {
    order.push_back(c);
    if (c->kind() == ControlKind::Frame || c->kind() == ControlKind::TabStrip) {
      placeChildren(form, c, order);
    }
  }
}

}  // namespace

void orderTabsByPosition(Form& form) {
  std::vector<Control*> order;
  placeChildren(form, nullptr, order);
  int index = 0;
  for (Control* c : order) c->setTabIndex(index++);
  // Menus and image lists take no focus; they follow the rest.
  for (Control* c : form.controls()) {
    if (std::find(order.begin(), order.end(), c) == order.end()) c->setTabIndex(index++);
  }
}

bool onShownPage(const Control& control) {
  for (const Control* c = &control; c != nullptr; c = c->container()) {
    const auto* strip = dynamic_cast<const CorvidXTabStrip*>(c->container());
    if (strip != nullptr && c->containerTab() >= 0 && c->containerTab() != strip->Tab()) {
      return false;
    }
  }
  return true;
}

}  // namespace quillon::forms
