// The tab strip: a tab bar over a panel. The controls on its tabs are placed inside it at their
// own geometry and shown only while their tab is the current one; a tab change goes through the
// strip's userSelectTab, so its Click(previous tab) runs and a disabled tab stays unchosen.
#include <QFrame>
#include <QResizeEvent>
#include <QTabBar>
#include <functional>

#include "forms/tab_strip.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/views.h"

namespace quillon::ui::qt {

namespace {

class StripBox final : public QWidget {
 public:
  using QWidget::QWidget;
  std::function<void()> resized;

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    if (resized) resized();
  }
};

class TabStripView final : public ControlView {
 public:
  TabStripView(forms::CorvidXTabStrip& strip, FormWindow& window)
      : ControlView(strip, window), strip_(strip) {
    box_ = new StripBox(window.clientArea());
    panel_ = new QFrame(box_);
    panel_->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    bar_ = new QTabBar(box_);
    bar_->setExpanding(false);
    bar_->setDrawBase(false);
    bar_->setFocusPolicy(Qt::TabFocus);
    box_->resized = [this] { layoutParts(); };
    QObject::connect(bar_, &QTabBar::currentChanged, bar_, [this](int tab) {
      if (syncing() || !attached() || tab < 0) return;
      act([&] { strip_.userSelectTab(tab); });
    });
    setWidget(box_);
    window.track(bar_, *this);
  }

  QWidget* focusTarget() const override { return bar_; }
  bool passesKeyToWidget(int key, Qt::KeyboardModifiers) const override {
    return key == Qt::Key_Left || key == Qt::Key_Right;
  }

 protected:
  void sync(std::string_view property) override {
    const bool all = property.empty();
    if (all || property == "Tabs" || property == "TabCaption" || property == "TabEnabled") {
      while (bar_->count() > strip_.Tabs()) bar_->removeTab(bar_->count() - 1);
      while (bar_->count() < strip_.Tabs()) bar_->addTab(QString());
      for (int t = 0; t < strip_.Tabs(); ++t) {
        bar_->setTabText(t, plainCaption(strip_.TabCaption(t)));
        bar_->setTabEnabled(t, strip_.TabEnabled(t));
      }
      layoutParts();
    }
    if (all || property == "Tab" || property == "Tabs") {
      bar_->setCurrentIndex(strip_.Tab());
      window().applyVisibilityInside(strip_);
    }
  }

 private:
  void layoutParts() {
    const int barHeight = bar_->sizeHint().height();
    bar_->setGeometry(0, 0, box_->width(), barHeight);
    panel_->setGeometry(0, barHeight - 1, box_->width(),
                        std::max(box_->height() - barHeight + 1, 0));
    panel_->lower();
  }

  forms::CorvidXTabStrip& strip_;
  StripBox* box_;
  QFrame* panel_;
  QTabBar* bar_;
};

}  // namespace

std::unique_ptr<ControlView> makeTabStripView(forms::CorvidXTabStrip& c, FormWindow& w) {
  return std::make_unique<TabStripView>(c, w);
}

}  // namespace quillon::ui::qt
