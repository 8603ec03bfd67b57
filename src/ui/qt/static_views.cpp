// Controls that show without being edited: labels, frames, the status bar, and the controls that
// draw nothing of their own (menus live in the window's menu bar, image lists are only pictures).
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <functional>

#include "forms/menu.h"
#include "forms/static_controls.h"
#include "forms/status_bar.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/views.h"

namespace quillon::ui::qt {

namespace {

class ClickableLabel final : public QLabel {
 public:
  using QLabel::QLabel;
  std::function<void()> clicked;

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        clicked) {
      clicked();
    }
  }
};

class LabelView final : public ControlView {
 public:
  LabelView(forms::Label& label, FormWindow& window) : ControlView(label, window), label_(label) {
    widget_ = new ClickableLabel(window.clientArea());
    widget_->setWordWrap(true);
    widget_->clicked = [this] {
      if (label_.Click) act([this] { label_.Click(); });
    };
    setWidget(widget_);
  }

 protected:
  void sync(std::string_view property) override {
    if (property.empty() || property == "Caption") widget_->setText(plainCaption(label_.Caption()));
    if (property.empty() || property == "Alignment") {
      const int a = label_.Alignment();
      widget_->setAlignment((a == 1   ? Qt::AlignRight
                             : a == 2 ? Qt::AlignHCenter
                                      : Qt::AlignLeft) |
                            Qt::AlignTop);
    }
  }

 public:
  std::optional<automation::Variant> shownProperty(std::string_view property,
                                                   std::string_view key) const override {
    if (property == "Caption") {
      return shownText(widget_->text(), plainCaption(label_.Caption()), label_.Caption());
    }
    return ControlView::shownProperty(property, key);
  }

 private:
  forms::Label& label_;
  ClickableLabel* widget_;
};

class FrameView final : public ControlView {
 public:
  FrameView(forms::Frame& frame, FormWindow& window) : ControlView(frame, window), frame_(frame) {
    widget_ = new QGroupBox(window.clientArea());
    // A frame that follows the mouse is the border between two panes: side by side when it is
    // tall, one above the other when it is wide.
    if (frame.MouseMove) {
      widget_->setCursor(frame.Width() > frame.Height() ? Qt::SplitVCursor : Qt::SplitHCursor);
    }
    setWidget(widget_);
  }

 protected:
  void sync(std::string_view property) override {
    if (property.empty() || property == "Caption")
      widget_->setTitle(plainCaption(frame_.Caption()));
    // A frame's visibility and enabling carry to what it holds.
    if (property.empty() || property == "Visible") window().applyVisibilityInside(frame_);
  }

 public:
  std::optional<automation::Variant> shownProperty(std::string_view property,
                                                   std::string_view key) const override {
    if (property == "Caption") {
      return shownText(widget_->title(), plainCaption(frame_.Caption()), frame_.Caption());
    }
    return ControlView::shownProperty(property, key);
  }

 private:
  forms::Frame& frame_;
  QGroupBox* widget_;
};

class StatusBarView final : public ControlView {
 public:
  StatusBarView(forms::StatusBar& bar, FormWindow& window) : ControlView(bar, window), bar_(bar) {
    widget_ = new QWidget(window.clientArea());
    layout_ = new QHBoxLayout(widget_);
    layout_->setContentsMargins(2, 1, 2, 1);
    layout_->setSpacing(2);
    setWidget(widget_);
  }

 protected:
  void sync(std::string_view) override {
    while (QLayoutItem* item = layout_->takeAt(0)) {
      delete item->widget();
      delete item;
    }
    auto addPanel = [this](const std::string& text, int width) {
      auto* panel = new QLabel(toQString(text), widget_);
      panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      if (width > 0) panel->setMinimumWidth(toPixels(width));
      layout_->addWidget(panel, width > 0 ? 0 : 1);
    };
    if (bar_.Style() == forms::StatusBar::sbrSimple || bar_.panelCount() == 0) {
      addPanel(bar_.SimpleText(), 0);
    } else {
      for (int i = 1; i <= bar_.panelCount(); ++i) {
        addPanel(bar_.panel(i).text, i == bar_.panelCount() ? 0 : bar_.panel(i).width);
      }
    }
  }

 private:
  forms::StatusBar& bar_;
  QWidget* widget_;
  QHBoxLayout* layout_;
};

class InvisibleView final : public ControlView {
 public:
  InvisibleView(forms::Control& control, FormWindow& window) : ControlView(control, window) {}

 protected:
  void sync(std::string_view property) override {
    if (!property.empty() && control().kind() == forms::ControlKind::Menu) {
      window().scheduleMenuBar();
    }
  }
};

}  // namespace

std::unique_ptr<ControlView> makeLabelView(forms::Label& c, FormWindow& w) {
  return std::make_unique<LabelView>(c, w);
}

std::unique_ptr<ControlView> makeFrameView(forms::Frame& c, FormWindow& w) {
  return std::make_unique<FrameView>(c, w);
}

std::unique_ptr<ControlView> makeStatusBarView(forms::StatusBar& c, FormWindow& w) {
  return std::make_unique<StatusBarView>(c, w);
}

std::unique_ptr<ControlView> makeInvisibleView(forms::Control& c, FormWindow& w) {
  return std::make_unique<InvisibleView>(c, w);
}

}  // namespace quillon::ui::qt
