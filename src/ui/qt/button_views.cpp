// Command buttons, check boxes and option buttons. A click is the control's own userClick (which
// moves the focus through the form first); the widget then shows what the control holds, so a
// refused click leaves the box as it was.
#include <QCheckBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include "forms/buttons.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/views.h"

namespace quillon::ui::qt {

namespace {

// A push button that draws its focus as a dotted frame inside its edge. The style marks the
// default button and the focused one alike, so a person could not tell which button Enter and
// Space would press.
class FocusFramedButton final : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPushButton::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(this);
    QPen pen(palette().color(QPalette::ButtonText));
    pen.setStyle(Qt::DotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(4, 4, -5, -5));
  }
};

class CommandButtonView final : public ControlView {
 public:
  CommandButtonView(forms::CommandButton& button, FormWindow& window)
      : ControlView(button, window), button_(button) {
    auto* widget = new FocusFramedButton(window.clientArea());
    // The form moves the focus on a click; Qt must not move it first.
    widget->setFocusPolicy(Qt::TabFocus);
    widget->setAutoDefault(false);
    QObject::connect(widget, &QPushButton::clicked, widget, [this] {
      if (!syncing()) act([this] { button_.userClick(); });
    });
    widget_ = widget;
    setWidget(widget);
  }

 protected:
  void sync(std::string_view property) override {
    if (property.empty() || property == "Caption" || property == "Picture") {
      // A button that shows only a picture of the suite's (a filter field's lookup or calendar
      // button) is drawn with "…", the mark of a button that opens a list.
      const bool glyph = button_.Caption().empty() && button_.Picture() != 0;
      widget_->setText(glyph ? QStringLiteral("…") : captionText(button_.Caption()));
    }
    if (property.empty() || property == "Default") widget_->setDefault(button_.Default());
  }

 public:
  std::optional<automation::Variant> shownProperty(std::string_view property,
                                                   std::string_view key) const override {
    if (property == "Caption") return automation::Variant(toStd(widget_->text()));
    return ControlView::shownProperty(property, key);
  }

 private:
  forms::CommandButton& button_;
  QPushButton* widget_;
};

class CheckBoxView final : public ControlView {
 public:
  CheckBoxView(forms::CheckBox& box, FormWindow& window) : ControlView(box, window), box_(box) {
    auto* widget = new QCheckBox(window.clientArea());
    widget->setFocusPolicy(Qt::TabFocus);
    widget->setTristate(true);
    QObject::connect(widget, &QCheckBox::clicked, widget, [this] {
      if (!syncing()) act([this] { box_.userClick(); });
    });
    widget_ = widget;
    setWidget(widget);
  }

 protected:
  void sync(std::string_view property) override {
    if (property.empty() || property == "Caption") widget_->setText(captionText(box_.Caption()));
    // Always: after a person's click Qt has moved the box on its own.
    switch (box_.Value()) {
      case forms::vbChecked:
        widget_->setCheckState(Qt::Checked);
        break;
      case forms::vbGrayed:
        widget_->setCheckState(Qt::PartiallyChecked);
        break;
      default:
        widget_->setCheckState(Qt::Unchecked);
    }
  }

 public:
  std::optional<automation::Variant> shownProperty(std::string_view property,
                                                   std::string_view key) const override {
    if (property == "Caption") return automation::Variant(toStd(widget_->text()));
    if (property == "Value") {
      switch (widget_->checkState()) {
        case Qt::Checked:
          return automation::Variant(forms::vbChecked);
        case Qt::PartiallyChecked:
          return automation::Variant(forms::vbGrayed);
        default:
          return automation::Variant(forms::vbUnchecked);
      }
    }
    return ControlView::shownProperty(property, key);
  }

 private:
  forms::CheckBox& box_;
  QCheckBox* widget_;
};

class OptionButtonView final : public ControlView {
 public:
  OptionButtonView(forms::OptionButton& option, FormWindow& window)
      : ControlView(option, window), option_(option) {
    auto* widget = new QRadioButton(window.clientArea());
    widget->setFocusPolicy(Qt::TabFocus);
    // The control clears the other options of its container itself.
    widget->setAutoExclusive(false);
    QObject::connect(widget, &QRadioButton::clicked, widget, [this] {
      if (!syncing()) act([this] { option_.userClick(); });
    });
    widget_ = widget;
    setWidget(widget);
  }

 protected:
  void sync(std::string_view property) override {
    if (property.empty() || property == "Caption") {
      widget_->setText(captionText(option_.Caption()));
    }
    widget_->setChecked(option_.Value());
  }

 public:
  std::optional<automation::Variant> shownProperty(std::string_view property,
                                                   std::string_view key) const override {
    if (property == "Caption") return automation::Variant(toStd(widget_->text()));
    if (property == "Value") return automation::Variant(widget_->isChecked());
    return ControlView::shownProperty(property, key);
  }

 private:
  forms::OptionButton& option_;
  QRadioButton* widget_;
};

}  // namespace

std::unique_ptr<ControlView> makeCommandButtonView(forms::CommandButton& c, FormWindow& w) {
  return std::make_unique<CommandButtonView>(c, w);
}

std::unique_ptr<ControlView> makeCheckBoxView(forms::CheckBox& c, FormWindow& w) {
  return std::make_unique<CheckBoxView>(c, w);
}

std::unique_ptr<ControlView> makeOptionButtonView(forms::OptionButton& c, FormWindow& w) {
  return std::make_unique<OptionButtonView>(c, w);
}

}  // namespace quillon::ui::qt
