#include "ui/qt/view_factory.h"

#include "forms/controls.h"
#include "ui/qt/views.h"

namespace quillon::ui::qt {

namespace {

template <class T>
T* as(forms::Control& control) {
  return dynamic_cast<T*>(&control);
}

}  // namespace

std::unique_ptr<ControlView> createView(forms::Control& c, FormWindow& w) {
  using forms::ControlKind;
  switch (c.kind()) {
    case ControlKind::CommandButton:
      if (auto* x = as<forms::CommandButton>(c)) return makeCommandButtonView(*x, w);
      break;
    case ControlKind::CheckBox:
      if (auto* x = as<forms::CheckBox>(c)) return makeCheckBoxView(*x, w);
      break;
    case ControlKind::OptionButton:
      if (auto* x = as<forms::OptionButton>(c)) return makeOptionButtonView(*x, w);
      break;
    case ControlKind::TextBox:
      if (auto* x = as<forms::TextBox>(c)) return makeTextBoxView(*x, w);
      break;
    case ControlKind::NumericEdit:
      if (auto* x = as<forms::NumericEdit>(c)) return makeNumericEditView(*x, w);
      break;
    case ControlKind::HeadItem:
      if (auto* x = as<forms::HeadItem>(c)) return makeHeadItemView(*x, w);
      break;
    case ControlKind::ComboBox:
      if (auto* x = as<forms::ComboBox>(c)) return makeComboBoxView(*x, w);
      break;
    case ControlKind::Label:
      if (auto* x = as<forms::Label>(c)) return makeLabelView(*x, w);
      break;
    case ControlKind::Frame:
      if (auto* x = as<forms::Frame>(c)) return makeFrameView(*x, w);
      break;
    case ControlKind::StatusBar:
      if (auto* x = as<forms::StatusBar>(c)) return makeStatusBarView(*x, w);
      break;
    case ControlKind::ListView:
      if (auto* x = as<forms::ListView>(c)) return makeListViewView(*x, w);
      break;
    case ControlKind::TreeView:
      if (auto* x = as<forms::TreeView>(c)) return makeTreeViewView(*x, w);
      break;
    case ControlKind::SuperGrid:
      if (auto* x = as<forms::MsSuperGrid>(c)) return makeSuperGridView(*x, w);
      break;
    case ControlKind::VouchList:
      if (auto* x = as<forms::MarlinVouchList>(c)) return makeVouchListView(*x, w);
      break;
    case ControlKind::TabStrip:
      if (auto* x = as<forms::CorvidXTabStrip>(c)) return makeTabStripView(*x, w);
      break;
    case ControlKind::Toolbar:
      if (auto* x = as<forms::Toolbar>(c)) return makeToolbarView(*x, w);
      break;
    case ControlKind::ToolbarControl:
      if (auto* x = as<forms::CTBCtrl>(c)) return makeToolbarControlView(*x, w);
      break;
    case ControlKind::Menu:
    case ControlKind::ImageList:
      break;
  }
  return makeInvisibleView(c, w);
}

}  // namespace quillon::ui::qt
