#include "ui/qt/form_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <QStringList>
#include <QTimer>
#include <algorithm>
#include <cstdlib>

#include "automation/com_error.h"
#include "forms/tab_strip.h"
#include "forms/ui_host.h"
#include "forms/view_settings.h"
#include "ui/qt/control_view.h"
#include "ui/qt/grid_models.h"
#include "ui/qt/menus.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/view_factory.h"

namespace quillon::ui::qt {

FormWindow::FormWindow(forms::Form& form, QWidget* parent)
    : QDialog(parent),
      form_(&form),
      formName_(form.Name()),
      subscription_(form.propertyChanged,
                    [this](forms::Form&, std::string_view property) { formChanged(property); }) {
  setObjectName(toQString(form.Name()));
  setWindowTitle(toQString(form.Caption()));
  setSizeGripEnabled(false);
  // Clerks work these windows by the keys: the focused control always draws its focus (the style
  // draws it only after a focus change by the keys, and the form moves the focus itself).
  setAttribute(Qt::WA_KeyboardFocusChange);
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
      if (QLabel* status = view->statusLine()) {
        status->setObjectName(w->objectName() + QStringLiteral(".status"));
      }
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
  // A size the window had not had before, while it shows: the person's (the first size a window
  // is shown at comes without one before it).
  if (!arranging_ && isVisible() && event->oldSize().isValid() &&
      event->oldSize() != event->size()) {
    arrangedByPerson_ = true;
  }
  const int width = toTwips(event->size().width());
  const int height = toTwips(event->size().height() - menuHeight);
  if (width == form_->Width() && height == form_->Height()) return;
  invoke([&] { form_->resize(width, height); });
}

namespace {

constexpr std::string_view kWindowItem = "Window";
// Room kept free around a window the renderer sizes, for the frame the window manager draws.
constexpr int kFrameAllowance = 16;
constexpr int kTitleAllowance = 40;
constexpr int kPlacementSlack = 48;

}  // namespace

QRect FormWindow::availableArea() const {
  const QScreen* shown = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
  return shown != nullptr ? shown->availableGeometry() : QRect(0, 0, 1366, 768);
}

int FormWindow::widestFor(const QWidget& list) const {
  if (form_ == nullptr) return 0;
  if (arrangedByPerson_ || restored_ || settled_) return list.width();
  return list.width() + std::max(availableArea().width() - kFrameAllowance - width(), 0);
}

void FormWindow::listLaidOut() {
  if (fitPending_ || form_ == nullptr) return;
  fitPending_ = true;
  QTimer::singleShot(0, this, [this] {
    fitPending_ = false;
    fitToLists();
  });
}

void FormWindow::fitToLists() {
  // Only as the window opens: once shown it never widens or moves on its own (marking a head
  // fills the line list, whose columns then scroll), so nothing jumps under the mouse.
  if (form_ == nullptr || arrangedByPerson_ || restored_ || settled_) return;
  int extra = 0;
  for (auto& view : views_) {
    if (view->control().Visible()) extra = std::max(extra, view->widthShortfall());
  }
  if (extra <= 0) return;
  const QRect area = availableArea();
  const int widest = area.width() - kFrameAllowance;
  const int wanted = std::min(width() + extra, widest);
  if (wanted <= width()) return;
  arranging_ = true;
  const int grown = wanted - width();
  // The form takes the size (its lists stretch), and the window follows it.
  invoke([&] { form_->resize(toTwips(client_->width() + grown), form_->Height()); });
  arranging_ = false;
  if (form_ == nullptr) return;
  // Widened about its middle, and kept on the screen.
  const int x = std::clamp(pos().x() - grown / 2, area.left(),
                           std::max(area.left(), area.left() + area.width() - width()));
  move(x, pos().y());
  placedAt_ = pos();
}

void FormWindow::centreOnScreen() {
  const QRect area = availableArea();
  const int x = area.left() + std::max((area.width() - width()) / 2, 0);
  const int y = area.top() + std::max((area.height() - height() - kTitleAllowance) / 2, 0);
  move(x, y);
  placedAt_ = pos();
}

bool FormWindow::restoreArrangement() {
  const auto settings = forms::currentViewSettings();
  if (!settings || form_ == nullptr) return false;
  const auto text = settings->read(formName_, kWindowItem);
  if (!text) return false;
  const QStringList parts = toQString(*text).split(u',');
  if (parts.size() != 4) return false;
  int value[4] = {};
  for (int i = 0; i < 4; ++i) {
    bool ok = false;
    value[i] = parts[i].toInt(&ok);
    if (!ok) return false;
  }
  const QRect area = availableArea();
  const int menuHeight = !menuBar_->isHidden() ? menuBar_->sizeHint().height() : 0;
  const QSize least = minimumSize();
  const int w = std::clamp(value[2], std::max(least.width(), 100),
                           std::max(area.width() - kFrameAllowance, 100));
  const int h = std::clamp(value[3], std::max(least.height() - menuHeight, 100),
                           std::max(area.height() - kTitleAllowance, 100));
  invoke([&] { form_->resize(toTwips(w), toTwips(h)); });
  if (form_ == nullptr) return false;
  const int x = std::clamp(value[0], area.left(), std::max(area.left(), area.right() - width()));
  const int y = std::clamp(value[1], area.top(), std::max(area.top(), area.bottom() - height()));
  move(x, y);
  placedAt_ = pos();
  return true;
}

void FormWindow::applyMinimumSize() {
  if (form_ == nullptr) return;
  // Smaller than designed, the form keeps its controls where they stood (forms/form_stretch.h):
  // the window would cut off the buttons at its right and bottom edges.
  const QRect area = availableArea();
  const int menuHeight = !menuBar_->isHidden() ? menuBar_->sizeHint().height() : 0;
  const int w = std::min(toPixels(form_->designWidth()), area.width() - kFrameAllowance);
  const int h =
      std::min(toPixels(form_->designHeight()) + menuHeight, area.height() - kTitleAllowance);
  setMinimumSize(std::max(w, 1), std::max(h, 1));
}

void FormWindow::arrangeForShow() {
  if (form_ == nullptr) return;
  settled_ = false;
  applyMinimumSize();
  arranging_ = true;
  // The lists lay their columns out now, so the window knows what they need (without running the
  // event loop: nothing else may happen before the window shows).
  for (QAbstractItemModel* model : findChildren<QAbstractItemModel*>()) {
    if (auto* table = dynamic_cast<ControlTableModel*>(model)) table->refreshNow();
  }
  restored_ = restoreArrangement();
  if (!restored_) {
    centreOnScreen();
    fitPending_ = false;
    arranging_ = false;
    fitToLists();
  }
  arranging_ = false;
  settled_ = true;
}

void FormWindow::saveArrangement() {
  for (auto& view : views_) view->flushArrangement();
  // Moved by the person: further than a window manager shifts a window it places.
  const QPoint moved = pos() - placedAt_;
  const bool movedByPerson = std::abs(moved.x()) + std::abs(moved.y()) > kPlacementSlack;
  if (form_ == nullptr || (!arrangedByPerson_ && !movedByPerson)) return;
  const auto settings = forms::currentViewSettings();
  if (!settings) return;
  // Where the window stands, and the size of the form inside it.
  const QString text = QStringLiteral("%1,%2,%3,%4")
                           .arg(pos().x())
                           .arg(pos().y())
                           .arg(client_->width())
                           .arg(client_->height());
  settings->write(formName_, kWindowItem, toStd(text));
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
  view.placeAt(parent, QRect(toPixels(rect.left()), toPixels(rect.top()), toPixels(rect.width()),
                             toPixels(rect.height())));
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
  view.setShown(shown);
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
  setAttribute(Qt::WA_KeyboardFocusChange);
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
  if (hadBar != hasBar) {
    if (settled_) applyMinimumSize();
    applyFormSize();
  }
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
