#include "ui/qt/control_view.h"

#include <QApplication>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>

#include "forms/list_find.h"
#include "forms/super_grid.h"
#include "forms/ui_host.h"
#include "ui/qt/form_window.h"
#include "ui/qt/grid_models.h"
#include "ui/qt/qt_text.h"

namespace quillon::ui::qt {

namespace {

// The find and scan fields keep Enter and Esc to themselves: the dialog's default and cancel
// buttons never see them (a keyboard-wedge scanner ends what it types with Enter).
class FindField final : public QLineEdit {
 public:
  explicit FindField(QWidget* parent) : QLineEdit(parent) {}
  std::function<void()> next;
  std::function<void()> close;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    switch (event->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
      case Qt::Key_F3:
        event->accept();
        if (next) next();
        return;
      case Qt::Key_Escape:
        event->accept();
        if (close) close();
        return;
      default:
        QLineEdit::keyPressEvent(event);
    }
  }
};

}  // namespace

ControlView::ControlView(forms::Control& control, FormWindow& window)
    : control_(control),
      window_(window),
      subscription_(control.propertyChanged,
                    [this](forms::Control&, std::string_view property) { refresh(property); }) {}

ControlView::~ControlView() = default;

void ControlView::setWidget(QWidget* widget) {
  widget_ = widget;
}

QLabel* ControlView::statusLine() const {
  return status_;
}

void ControlView::drawStatusLine() {
  if (status_ != nullptr || widget_ == nullptr) return;
  status_ = new QLabel(widget_->parentWidget());
  status_->setTextFormat(Qt::PlainText);
  status_->setIndent(4);
  status_->setAutoFillBackground(true);
  status_->setBackgroundRole(QPalette::Window);
  status_->setFrameShape(QFrame::NoFrame);
  scheduleStatus();
}

void ControlView::scheduleStatus() {
  if (status_ == nullptr || statusPending_) return;
  statusPending_ = true;
  QTimer::singleShot(0, status_, [this] {
    statusPending_ = false;
    if (!attached_ || status_ == nullptr) return;
    const std::optional<std::string> text = control_.statusText();
    status_->setText(text ? toQString(*text) : QString());
  });
}

QLineEdit* ControlView::findField() const {
  return find_;
}

bool ControlView::openFind() {
  if (status_ == nullptr || !statusRoom_ || !attached_) return false;
  if (find_ == nullptr) {
    auto* field = new FindField(status_->parentWidget());
    field->setObjectName(status_->objectName() + QStringLiteral(".find"));
    field->setPlaceholderText(QStringLiteral("查找"));
    field->setClearButtonEnabled(true);
    field->next = [this] {
      if (find_ != nullptr) findRow(find_->text(), true);
    };
    field->close = [this] { closeFind(); };
    QObject::connect(field, &QLineEdit::textChanged, field,
                     [this](const QString& text) { findRow(text, false); });
    find_ = field;
  }
  placeFind();
  find_->show();
  find_->raise();
  find_->setFocus(Qt::ShortcutFocusReason);
  find_->selectAll();
  return true;
}

QLineEdit* ControlView::scanField() const {
  return scan_;
}

// The scan field's width: a quarter of the strip, at most 160 pixels; none without the field.
static int scanWidth(const QLineEdit* scan, const QRect& strip) {
  return scan != nullptr ? std::min(strip.width() / 4, 160) : 0;
}

void ControlView::placeFind() {
  if (find_ == nullptr || status_ == nullptr) return;
  if (find_->parentWidget() != status_->parentWidget()) find_->setParent(status_->parentWidget());
  const QRect strip = status_->geometry();
  const int right = strip.right() - scanWidth(scan_, strip);
  const int width = std::min((right - strip.left() + 1) / 2, 240);
  find_->setGeometry(right - width + 1, strip.top(), width, strip.height());
}

void ControlView::placeScan() {
  const auto* grid = dynamic_cast<const forms::MsSuperGrid*>(&control_);
  if (status_ == nullptr || grid == nullptr || !grid->hasScanField()) return;
  if (scan_ == nullptr) {
    auto* field = new FindField(status_->parentWidget());
    field->setObjectName(status_->objectName() + QStringLiteral(".scan"));
    field->setPlaceholderText(QStringLiteral("扫描"));
    field->setToolTip(QStringLiteral("存货编码、条形码或批号，回车加一；编码*数量加该数量"));
    field->next = [this] { scan(); };
    field->close = [this] {
      if (scan_ != nullptr) scan_->clear();
    };
    scan_ = field;
  }
  if (scan_->parentWidget() != status_->parentWidget()) scan_->setParent(status_->parentWidget());
  const QRect strip = status_->geometry();
  const int width = scanWidth(scan_, strip);
  scan_->setGeometry(strip.right() - width + 1, strip.top(), width, strip.height());
  scan_->setVisible(status_->isVisibleTo(status_->parentWidget()));
  scan_->raise();
}

void ControlView::scan() {
  auto* grid = dynamic_cast<forms::MsSuperGrid*>(&control_);
  if (!attached_ || scan_ == nullptr || grid == nullptr) return;
  const std::string text = toStd(scan_->text());
  if (text.empty()) return;
  int row = 0;
  window_.invoke([&] { row = grid->userScan(text).value_or(0); });
  if (scan_ == nullptr) return;
  QPalette palette = scan_->palette();
  palette.setColor(QPalette::Base, row != 0 ? QApplication::palette().color(QPalette::Base)
                                            : QColor(0xFF, 0xD6, 0xD6));
  scan_->setPalette(palette);
  // A line took it: the field is empty for the next scan. None did: what was scanned stays to be
  // read, chosen so that the next scan replaces it.
  if (row != 0) {
    scan_->clear();
  } else {
    scan_->selectAll();
  }
  if (attached_) refresh({});
}

void ControlView::findRow(const QString& text, bool after) {
  if (!attached_) return;
  const std::string wanted = toStd(text);
  if (ControlTableModel* model = tableModel()) model->showFound(control_, wanted);
  bool found = wanted.empty();
  if (!found) {
    window_.invoke([&] {
      if (const auto row = forms::findRow(control_, wanted, after)) {
        found = true;
        forms::locateRow(control_, *row);
      }
    });
  }
  if (find_ != nullptr) {
    QPalette palette = find_->palette();
    palette.setColor(QPalette::Base, found ? QApplication::palette().color(QPalette::Base)
                                           : QColor(0xFF, 0xD6, 0xD6));
    find_->setPalette(palette);
  }
  if (!found) window_.invoke([] { forms::currentUiHost().beep(); });
}

void ControlView::closeFind() {
  if (find_ == nullptr) return;
  find_->hide();
  if (ControlTableModel* model = tableModel()) model->showFound(control_, {});
  if (QWidget* target = focusTarget()) target->setFocus(Qt::OtherFocusReason);
}

void ControlView::placeAt(QWidget* parent, const QRect& rect) {
  if (widget_ == nullptr) return;
  if (widget_->parentWidget() != parent) widget_->setParent(parent);
  if (status_ == nullptr) {
    widget_->setGeometry(rect);
    return;
  }
  if (status_->parentWidget() != parent) status_->setParent(parent);
  // The list keeps at least two strips' height of its own; a list drawn smaller than that shows
  // no status line.
  const int strip = status_->fontMetrics().height() + 4;
  statusRoom_ = rect.height() >= 3 * strip;
  widget_->setGeometry(statusRoom_ ? rect.adjusted(0, 0, 0, -strip) : rect);
  status_->setGeometry(rect.left(), rect.bottom() - strip + 1, rect.width(), strip);
  status_->setVisible(statusRoom_ && widget_->isVisibleTo(parent));
  placeScan();
  placeFind();
  if (find_ != nullptr && !statusRoom_) find_->hide();
}

void ControlView::setShown(bool shown) {
  if (widget_ == nullptr) return;
  widget_->setVisible(shown);
  if (status_ != nullptr) status_->setVisible(shown && statusRoom_);
  if (find_ != nullptr && !shown) find_->hide();
  if (scan_ != nullptr) scan_->setVisible(shown && statusRoom_);
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
  scheduleStatus();
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
