#include "ui/qt/control_view.h"

#include <QFont>

#include "ui/qt/form_window.h"
#include "ui/qt/qt_text.h"

namespace quillon::ui::qt {

ControlView::ControlView(forms::Control& control, FormWindow& window)
    : control_(control),
      window_(window),
      subscription_(control.propertyChanged,
                    [this](forms::Control&, std::string_view property) { refresh(property); }) {}

ControlView::~ControlView() = default;

void ControlView::setWidget(QWidget* widget) {
  widget_ = widget;
}

void ControlView::detach() {
  attached_ = false;
  subscription_.release();
}

void ControlView::refresh(std::string_view property) {
  if (!attached_) return;
  SyncGuard guard(*this);
  syncCommon(property);
  sync(property);
}

void ControlView::syncCommon(std::string_view property) {
  if (widget_ == nullptr) return;
  const bool all = property.empty();
  if (all || property == "Left" || property == "Top" || property == "Width" ||
      property == "Height" || property == "Geometry" || property == "Container") {
    window_.place(*this);
  }
  if (all || property == "Visible") window_.applyVisibility(*this);
  if (all || property == "Enabled") widget_->setEnabled(control_.Enabled());
  if (all || property == "ToolTipText") widget_->setToolTip(toQString(control_.ToolTipText()));
  if (all || property == "FontSize") {
    if (const auto size = control_.FontSize(); size && *size > 0) {
      QFont font = widget_->font();
      font.setPointSizeF(*size);
      widget_->setFont(font);
    }
  }
}

}  // namespace quillon::ui::qt
