#include "ui/qt/control_view.h"

#include <QFont>
#include <QTableView>

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

std::optional<automation::Variant> ControlView::shownProperty(std::string_view property,
                                                              std::string_view) const {
  if (widget_ == nullptr) return std::nullopt;
  if (property == "Enabled") return automation::Variant(widget_->isEnabled());
  if (property == "Visible") return automation::Variant(widget_->isVisible());
  return std::nullopt;
}

automation::Variant ControlView::shownText(const QString& shown, const QString& drawnFromControl,
                                           const std::string& control) {
  return automation::Variant(shown == drawnFromControl ? control : toStd(shown));
}

std::optional<automation::Variant> ControlView::shownColumn(const QTableView& view, int col,
                                                            int controlWidth,
                                                            std::string_view property) {
  if (col < 0 || col >= view.model()->columnCount()) return std::nullopt;
  const bool hidden = view.isColumnHidden(col);
  if (property == "ColumnVisible") return automation::Variant(!hidden);
  if (property != "ColumnWidth") return std::nullopt;
  if (hidden) return automation::Variant(0);
  // The views draw a column at its width in pixels, at least 4.
  const int pixels = view.columnWidth(col);
  const bool asControl = controlWidth > 0 && pixels == std::max(toPixels(controlWidth), 4);
  return automation::Variant(asControl ? controlWidth : toTwips(pixels));
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
