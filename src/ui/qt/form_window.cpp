#include "ui/qt/form_window.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QResizeEvent>
#include <QTimer>

#include "automation/com_error.h"
#include "forms/tab_strip.h"
#include "forms/ui_host.h"
#include "ui/qt/control_view.h"
#include "ui/qt/menus.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/view_factory.h"

namespace quillon::ui::qt {

FormWindow::FormWindow(forms::Form& form, QWidget* parent)
    : QDialog(parent),
      form_(&form),
      subscription_(form.propertyChanged,
                    [this](forms::Form&, std::string_view property) { formChanged(property); }) {
  setObjectName(toQString(form.Name()));
  setWindowTitle(toQString(form.Caption()));
  setSizeGripEnabled(false);
  menuBar_ = new QMenuBar(this);
  menuBar_->setNativeMenuBar(false);
  menuBar_->hide();
  client_ = new QWidget(this);
  client_->setObjectName(QStringLiteral("client"));
  build();
}

FormWindow::~FormWindow() {
  detach();
  // The widgets go first: their signals reach the views through connections that end with them.
  delete client_;
  client_ = nullptr;
  views_.clear();
}

void FormWindow::detach() {
  if (form_ == nullptr) return;
  form_ = nullptr;
  subscription_.release();
  for (auto& view : views_) view->detach();
}

ControlView* FormWindow::viewOf(const forms::Control* control) const {
  const auto it = byControl_.find(control);
  return it == byControl_.end() ? nullptr : it->second;
}

void FormWindow::build() {
  for (forms::Control* control : form_->controls()) {
    auto view = createView(*control, *this);
    if (!view) continue;
    byControl_[control] = view.get();
    views_.push_back(std::move(view));
  }
  for (auto& view : views_) {
    if (QWidget* w = view->widget()) {
      w->setObjectName(toQString(view->control().qualifiedName()));
      track(w, *view);
    }
  }
  for (auto& view : views_) view->refresh({});
  rebuildMenuBar();
  applyFormSize();
  applyPointer();
}

void FormWindow::track(QWidget* widget, ControlView& view) {
  if (widget == nullptr || tracked_.contains(widget)) return;
  tracked_.insert(widget, &view);
  widget->installEventFilter(this);
}

void FormWindow::formChanged(std::string_view property) {
  if (form_ == nullptr) return;
  if (property == "Caption") {
    setWindowTitle(toQString(form_->Caption()));
  } else if (property == "Size") {
    applyFormSize();
  } else if (property == "MousePointer") {
    applyPointer();
  } else if (property == "ActiveControl") {
    syncFocusFromForm();
  }
}

void FormWindow::applyFormSize() {
  if (form_ == nullptr) return;
  const int menuHeight = !menuBar_->isHidden() ? menuBar_->sizeHint().height() : 0;
  const QSize clientSize(std::max(toPixels(form_->Width()), 1),
                         std::max(toPixels(form_->Height()), 1));
  resizingFromForm_ = true;
  menuBar_->setGeometry(0, 0, clientSize.width(), menuHeight);
  client_->setGeometry(0, menuHeight, clientSize.width(), clientSize.height());
  resize(clientSize.width(), clientSize.height() + menuHeight);
  resizingFromForm_ = false;
}

void FormWindow::applyPointer() {
  if (form_ == nullptr) return;
  switch (form_->MousePointer()) {
    case forms::vbHourglass:
      setCursor(Qt::WaitCursor);
      break;
    case forms::vbArrowHourglass:
      setCursor(Qt::BusyCursor);
      break;
    default:
      unsetCursor();
  }
}

void FormWindow::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  const int menuHeight = !menuBar_->isHidden() ? menuBar_->height() : 0;
  menuBar_->setGeometry(0, 0, event->size().width(), menuHeight);
  client_->setGeometry(0, menuHeight, event->size().width(), event->size().height() - menuHeight);
  if (resizingFromForm_ || form_ == nullptr) return;
  const int width = toTwips(event->size().width());
  const int height = toTwips(event->size().height() - menuHeight);
  if (width == form_->Width() && height == form_->Height()) return;
  invoke([&] { form_->resize(width, height); });
}

void FormWindow::closeEvent(QCloseEvent* event) {
  // The form decides: its unload path may refuse, and the host hides the window when it goes.
  event->ignore();
  if (form_ != nullptr) invoke([&] { form_->userClose(); });
}

void FormWindow::reject() {
  // Esc belongs to the form (its cancel button), not to the dialog window.
}

namespace {

// The form-coordinate origin of a control, in twips, following its containers.
QPoint originOf(const forms::Control* control) {
  QPoint origin;
  for (const forms::Control* c = control; c != nullptr; c = c->container()) {
    origin += QPoint(c->Left(), c->Top());
  }
  return origin;
}

}  // namespace

void FormWindow::place(ControlView& view) {
  QWidget* w = view.widget();
  if (w == nullptr || form_ == nullptr) return;
  const forms::Control& c = view.control();
  const forms::Control* container = c.container();
  QWidget* parent = client_;
  if (ControlView* holder = container != nullptr ? viewOf(container) : nullptr) {
    if (holder->childArea() != nullptr) parent = holder->childArea();
  }
  const bool reparent = w->parentWidget() != parent;
  if (reparent) w->setParent(parent);
  QRect rect(c.Left(), c.Top(), c.Width(), c.Height());
  if (container != nullptr) {
    // Positions inside a container are relative to it, as on the platform. A declaration that
    // gives form coordinates instead is recognised by fitting the container only that way.
    const QRect inner(0, 0, container->Width(), container->Height());
    if (!inner.contains(rect)) {
      const QRect absolute = rect.translated(-originOf(container));
      if (inner.contains(absolute)) rect = absolute;
    }
  }
  w->setGeometry(toPixels(rect.left()), toPixels(rect.top()), toPixels(rect.width()),
                 toPixels(rect.height()));
  if (reparent) applyVisibility(view);
}

void FormWindow::applyVisibility(ControlView& view) {
  QWidget* w = view.widget();
  if (w == nullptr || form_ == nullptr) return;
  const forms::Control& c = view.control();
  bool shown = c.Visible();
  if (const auto* strip = dynamic_cast<const forms::CorvidXTabStrip*>(c.container())) {
    if (c.containerTab() >= 0 && c.containerTab() != strip->Tab()) shown = false;
  }
  w->setVisible(shown);
}

void FormWindow::applyVisibilityInside(const forms::Control& container) {
  for (auto& view : views_) {
    if (view->control().container() == &container) applyVisibility(*view);
  }
}

void FormWindow::syncFocusFromForm() {
  if (form_ == nullptr) return;
  ControlView* view = viewOf(form_->ActiveControl());
  QWidget* target = view != nullptr ? view->focusTarget() : nullptr;
  if (target == nullptr || target->hasFocus()) return;
  ++focusSyncDepth_;
  target->setFocus(Qt::OtherFocusReason);
  --focusSyncDepth_;
}

void FormWindow::scheduleMenuBar() {
  if (menuBarPending_) return;
  menuBarPending_ = true;
  QTimer::singleShot(0, this, [this] {
    menuBarPending_ = false;
    rebuildMenuBar();
  });
}

void FormWindow::rebuildMenuBar() {
  if (form_ == nullptr) return;
  const bool hadBar = !menuBar_->isHidden();
  const bool hasBar = fillMenuBar(*menuBar_, *form_, *this);
  menuBar_->setVisible(hasBar);
  if (hadBar != hasBar) applyFormSize();
}

void FormWindow::reportError(std::exception_ptr error) {
  std::string text;
  try {
    std::rethrow_exception(error);
  } catch (const automation::ComError& e) {
    text = "实时错误 '" + std::to_string(e.number()) + "':\r\n\r\n" + e.description();
  } catch (const std::exception& e) {
    text = std::string("实时错误:\r\n\r\n") + e.what();
  } catch (...) {
    text = "实时错误";
  }
  try {
    forms::MsgBox(text, forms::vbCritical, "Quillon");
  } catch (...) {
    // Nothing more can be told; the person's action simply did not complete.
  }
}

}  // namespace quillon::ui::qt
