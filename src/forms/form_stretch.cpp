#include "forms/form_stretch.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "forms/form.h"

namespace quillon::forms {

namespace {

bool isList(ControlKind kind) {
  return kind == ControlKind::ListView || kind == ControlKind::TreeView ||
         kind == ControlKind::SuperGrid || kind == ControlKind::VouchList;
}

bool isContainer(ControlKind kind) {
  return kind == ControlKind::Frame || kind == ControlKind::TabStrip;
}

// Controls placed in `container` (null: the form itself), menus and image lists left out.
std::vector<Control*> childrenOf(const Form& form, const Control* container) {
  std::vector<Control*> children;
  for (Control* c : form.controls()) {
    if (c->container() != container) continue;
    if (c->kind() == ControlKind::Menu || c->kind() == ControlKind::ImageList) continue;
    children.push_back(c);
  }
  return children;
}

bool holdsList(const Form& form, const Control& c) {
  if (isList(c.kind())) return true;
  if (!isContainer(c.kind())) return false;
  for (const Control* child : childrenOf(form, &c)) {
    if (holdsList(form, *child)) return true;
  }
  return false;
}

bool overlapsDown(const Control& a, const Control& b) {
  return a.Top() < b.Top() + b.Height() && b.Top() < a.Top() + a.Height();
}

// The vertical map of a container: y moves down by the share of `dy` that the stretching bands
// above it take, the bands taking `dy` in proportion to their heights.
class DownMap {
 public:
  DownMap(std::vector<std::pair<int, int>> bands, int dy) : dy_(dy) {
    std::sort(bands.begin(), bands.end());
    for (const auto& [top, bottom] : bands) {
      if (bottom <= top) continue;
      if (!bands_.empty() && top <= bands_.back().second) {
        bands_.back().second = std::max(bands_.back().second, bottom);
      } else {
        bands_.emplace_back(top, bottom);
      }
    }
    for (const auto& [top, bottom] : bands_) total_ += bottom - top;
  }

  int operator()(int y) const {
    if (total_ == 0 || dy_ == 0) return y;
    long long covered = 0;
    for (const auto& [top, bottom] : bands_) {
      if (y <= top) break;
      covered += std::min(y, bottom) - top;
    }
    return y +
           static_cast<int>(std::lround(static_cast<double>(dy_) * static_cast<double>(covered) /
                                        static_cast<double>(total_)));
  }

 private:
  std::vector<std::pair<int, int>> bands_;
  int dy_;
  long long total_ = 0;
};

void stretchIn(Form& form, const Control* container, int width, int dx, int dy) {
  const std::vector<Control*> children = childrenOf(form, container);
  std::vector<char> lists;
  std::vector<std::pair<int, int>> bands;
  for (Control* c : children) {
    const bool list = holdsList(form, *c);
    lists.push_back(list ? 1 : 0);
    if (list) bands.emplace_back(c->Top(), c->Top() + c->Height());
  }
  const DownMap down(std::move(bands), dy);

  for (std::size_t i = 0; i < children.size(); ++i) {
    Control& c = *children[i];
    int left = c.Left();
    int w = c.Width();
    if (lists[i] != 0) {
      const bool listToTheRight = std::any_of(children.begin(), children.end(), [&](Control* o) {
        return o != &c && holdsList(form, *o) && o->Left() >= c.Left() + c.Width() - 15 &&
               overlapsDown(*o, c);
      });
      if (!listToTheRight) w += dx;
    } else {
      const ControlKind kind = c.kind();
      const bool spans = c.Left() + c.Width() >= width - width / 10;
      if ((kind == ControlKind::Frame || kind == ControlKind::Toolbar ||
           kind == ControlKind::ToolbarControl || kind == ControlKind::StatusBar) &&
          spans) {
        w += dx;
      } else if (kind == ControlKind::CommandButton && c.Left() >= width * 6 / 10) {
        left += dx;
      }
    }
    const int top = down(c.Top());
    const int h = lists[i] != 0 ? down(c.Top() + c.Height()) - top : c.Height();
    const int grownW = std::max(w, 0) - c.Width();
    const int grownH = std::max(h, 0) - c.Height();
    c.Move(left, top, std::max(w, 0), std::max(h, 0));
    if (isContainer(c.kind()) && (grownW != 0 || grownH != 0)) {
      stretchIn(form, &c, c.Width() - grownW, grownW, grownH);
    }
  }
}

}  // namespace

void stretchControls(Form& form, int fromWidth, int dx, int dy) {
  if (dx == 0 && dy == 0) return;
  stretchIn(form, nullptr, fromWidth, dx, dy);
}

}  // namespace quillon::forms
