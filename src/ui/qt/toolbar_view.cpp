// Toolbars: the standard toolbar draws its own buttons; the suite's CTBCtrl draws the buttons of
// the toolbar it is attached to and reports presses by key. Buttons show the icon of their image
// beside their caption (or their key when they have none); check buttons stay down while their
// value is 1.
#include <QAction>
#include <QToolBar>
#include <functional>

#include "forms/form.h"
#include "forms/static_controls.h"
#include "forms/toolbar.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/toolbar_icons.h"
#include "ui/qt/views.h"

namespace quillon::ui::qt {

namespace {

// A button's image is a key in the toolbar's image list, whose picture names what is drawn; a
// toolbar without that list (the suite's dialogs set the suite's image keys directly) draws the
// key itself.
QIcon iconOf(const forms::Toolbar& toolbar, const std::string& image) {
  if (image.empty()) return {};
  const forms::Form* form = toolbar.form();
  const auto* list = form != nullptr && !toolbar.ImageList().empty()
                         ? form->find<forms::ImageList>(toolbar.ImageList())
                         : nullptr;
  if (list != nullptr && list->indexOf(image) > 0) {
    return toolbarIcon(list->image(image).picture);
  }
  return toolbarIcon(image);
}

// Refills `bar` with the buttons of `toolbar`; `press` runs for a pressed button's key.
void fillToolbar(QToolBar& bar, const forms::Toolbar* toolbar,
                 const std::function<void(const std::string&)>& press) {
  bar.clear();
  if (toolbar == nullptr) return;
  for (const forms::ToolbarButton& button : toolbar->buttons()) {
    if (!button.visible) continue;
    if (button.style == forms::ToolbarButton::tbrSeparator) {
      bar.addSeparator();
      continue;
    }
    const std::string& caption = button.caption.empty() ? button.key : button.caption;
    QAction* action = bar.addAction(captionText(caption));
    action->setToolTip(button.toolTip.empty() ? plainCaption(caption) : toQString(button.toolTip));
    action->setEnabled(button.enabled);
    action->setCheckable(button.style == forms::ToolbarButton::tbrCheck);
    action->setChecked(button.value == 1);
    action->setIcon(iconOf(*toolbar, button.image));
    action->setObjectName(toQString(button.key));
    const std::string key = button.key;
    QObject::connect(action, &QAction::triggered, &bar, [press, key] { press(key); });
  }
}

QToolBar* makeBar(QWidget* parent) {
  auto* bar = new QToolBar(parent);
  bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  bar->setIconSize(QSize(16, 16));
  bar->setMovable(false);
  bar->setFloatable(false);
  bar->setFocusPolicy(Qt::NoFocus);
  return bar;
}

class ToolbarView final : public ControlView {
 public:
  ToolbarView(forms::Toolbar& toolbar, FormWindow& window)
      : ControlView(toolbar, window), toolbar_(toolbar) {
    bar_ = makeBar(window.clientArea());
    setWidget(bar_);
  }

 protected:
  void sync(std::string_view property) override {
    if (!property.empty() && property != "Buttons") return;
    // Rebuilt later: a press's own action must not be deleted under it.
    QMetaObject::invokeMethod(
        bar_,
        [this] {
          if (!attached()) return;
          fillToolbar(*bar_, &toolbar_, [this](const std::string& key) {
            if (attached()) act([&] { toolbar_.userPress(key); });
          });
        },
        Qt::QueuedConnection);
  }

 private:
  forms::Toolbar& toolbar_;
  QToolBar* bar_;
};

class ToolbarControlView final : public ControlView {
 public:
  ToolbarControlView(forms::CTBCtrl& control, FormWindow& window)
      : ControlView(control, window), control_(control) {
    bar_ = makeBar(window.clientArea());
    setWidget(bar_);
  }

  void detach() override {
    ControlView::detach();
    toolbarSubscription_.release();
  }

 protected:
  void sync(std::string_view property) override {
    if (property.empty() || property == "Toolbar") {
      toolbarSubscription_.release();
      if (forms::Toolbar* toolbar = control_.toolbar()) {
        toolbarSubscription_ = ScopedConnection<forms::Control&, std::string_view>(
            toolbar->propertyChanged, [this](forms::Control&, std::string_view changed) {
              if (changed == "Buttons") scheduleFill();
            });
      }
    }
    scheduleFill();
  }

 private:
  void scheduleFill() {
    QMetaObject::invokeMethod(
        bar_,
        [this] {
          if (!attached()) return;
          fillToolbar(*bar_, control_.toolbar(), [this](const std::string& key) {
            if (attached()) act([&] { control_.userPress(key); });
          });
        },
        Qt::QueuedConnection);
  }

  forms::CTBCtrl& control_;
  QToolBar* bar_;
  ScopedConnection<forms::Control&, std::string_view> toolbarSubscription_;
};

}  // namespace

std::unique_ptr<ControlView> makeToolbarView(forms::Toolbar& c, FormWindow& w) {
  return std::make_unique<ToolbarView>(c, w);
}

std::unique_ptr<ControlView> makeToolbarControlView(forms::CTBCtrl& c, FormWindow& w) {
  return std::make_unique<ToolbarControlView>(c, w);
}

}  // namespace quillon::ui::qt
