// Combo boxes. Opening the list runs the control's DropDown first (a form may fill an empty list
// then); choosing an item is the control's userChoose. An editable combo types through the form
// like a text box.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <functional>

#include "forms/combo_box.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/views.h"

namespace quillon::ui::qt {

namespace {

class DropDownCombo final : public QComboBox {
 public:
  using QComboBox::QComboBox;
  std::function<void()> beforePopup;
  void showPopup() override {
    if (beforePopup) beforePopup();
    QComboBox::showPopup();
  }
};

class ComboBoxView final : public ControlView {
 public:
  ComboBoxView(forms::ComboBox& combo, FormWindow& window)
      : ControlView(combo, window), combo_(combo) {
    widget_ = new DropDownCombo(window.clientArea());
    widget_->setInsertPolicy(QComboBox::NoInsert);
    widget_->setMaxVisibleItems(20);
    if (combo.Style() == forms::ComboBox::kDropDownCombo) {
      widget_->setEditable(true);
      widget_->lineEdit()->setContextMenuPolicy(Qt::NoContextMenu);
      window.track(widget_->lineEdit(), *this);
    }
    widget_->beforePopup = [this] {
      if (!syncing()) act([this] { combo_.userDropDown(); });
    };
    QObject::connect(widget_, &QComboBox::activated, widget_, [this](int index) {
      if (syncing() || index < 0 || index >= combo_.ListCount()) return;
      const std::string item = combo_.List(index);
      act([&] { combo_.userChoose(item); });
    });
    setWidget(widget_);
  }

  bool editsText() const override { return combo_.Style() == forms::ComboBox::kDropDownCombo; }
  void copySelection() override {
    if (QLineEdit* edit = widget_->lineEdit(); edit != nullptr && edit->hasSelectedText()) {
      QApplication::clipboard()->setText(edit->selectedText());
    }
  }
  bool passesKeyToWidget(int key, Qt::KeyboardModifiers) const override {
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_F4 || key == Qt::Key_PageUp ||
           key == Qt::Key_PageDown;
  }

 protected:
  void sync(std::string_view property) override {
    if (property.empty() || property == "List") {
      QStringList items;
      items.reserve(combo_.ListCount());
      for (int i = 0; i < combo_.ListCount(); ++i) items << toQString(combo_.List(i));
      QStringList shown;
      for (int i = 0; i < widget_->count(); ++i) shown << widget_->itemText(i);
      // Refilled only when it differs: a choice being handled keeps its list.
      if (shown != items) {
        widget_->clear();
        widget_->addItems(items);
      }
    }
    widget_->setCurrentIndex(combo_.ListIndex());
    if (widget_->isEditable()) {
      const QString text = toQString(combo_.Text());
      if (widget_->currentText() != text) widget_->setEditText(text);
    }
  }

 public:
  std::optional<automation::Variant> shownProperty(std::string_view property,
                                                   std::string_view key) const override {
    if (property == "Text") return automation::Variant(toStd(widget_->currentText()));
    if (property == "ListIndex") return automation::Variant(widget_->currentIndex());
    return ControlView::shownProperty(property, key);
  }

 private:
  forms::ComboBox& combo_;
  DropDownCombo* widget_;
};

}  // namespace

std::unique_ptr<ControlView> makeComboBoxView(forms::ComboBox& c, FormWindow& w) {
  return std::make_unique<ComboBoxView>(c, w);
}

}  // namespace quillon::ui::qt
