// The views of each control kind, made by createView(); one maker per kind.
#pragma once

#include <memory>

#include "ui/qt/control_view.h"

namespace quillon::forms {
class CheckBox;
class ComboBox;
class CommandButton;
class CorvidXTabStrip;
class CTBCtrl;
class Frame;
class HeadItem;
class Label;
class ListView;
class MarlinVouchList;
class MsSuperGrid;
class NumericEdit;
class OptionButton;
class StatusBar;
class TextBox;
class Toolbar;
class TreeView;
}  // namespace quillon::forms

namespace quillon::ui::qt {

std::unique_ptr<ControlView> makeCommandButtonView(forms::CommandButton& c, FormWindow& w);
std::unique_ptr<ControlView> makeCheckBoxView(forms::CheckBox& c, FormWindow& w);
std::unique_ptr<ControlView> makeOptionButtonView(forms::OptionButton& c, FormWindow& w);
std::unique_ptr<ControlView> makeTextBoxView(forms::TextBox& c, FormWindow& w);
std::unique_ptr<ControlView> makeMultiLineTextBoxView(forms::TextBox& c, FormWindow& w);
std::unique_ptr<ControlView> makeNumericEditView(forms::NumericEdit& c, FormWindow& w);
std::unique_ptr<ControlView> makeHeadItemView(forms::HeadItem& c, FormWindow& w);
std::unique_ptr<ControlView> makeComboBoxView(forms::ComboBox& c, FormWindow& w);
std::unique_ptr<ControlView> makeLabelView(forms::Label& c, FormWindow& w);
std::unique_ptr<ControlView> makeFrameView(forms::Frame& c, FormWindow& w);
std::unique_ptr<ControlView> makeStatusBarView(forms::StatusBar& c, FormWindow& w);
// Menus and image lists draw nothing themselves (menus go to the window's menu bar).
std::unique_ptr<ControlView> makeInvisibleView(forms::Control& c, FormWindow& w);
std::unique_ptr<ControlView> makeListViewView(forms::ListView& c, FormWindow& w);
std::unique_ptr<ControlView> makeTreeViewView(forms::TreeView& c, FormWindow& w);
std::unique_ptr<ControlView> makeSuperGridView(forms::MsSuperGrid& c, FormWindow& w);
std::unique_ptr<ControlView> makeVouchListView(forms::MarlinVouchList& c, FormWindow& w);
std::unique_ptr<ControlView> makeTabStripView(forms::CorvidXTabStrip& c, FormWindow& w);
std::unique_ptr<ControlView> makeToolbarView(forms::Toolbar& c, FormWindow& w);
std::unique_ptr<ControlView> makeToolbarControlView(forms::CTBCtrl& c, FormWindow& w);

}  // namespace quillon::ui::qt
