// Text fields: text box, numeric edit and header item. What a person types goes through the
// form's key filter and the control's own editing (the window routes every key and every text an
// input method commits), so the widget only ever shows the control's text and caret.
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "forms/numeric_edit.h"
#include "forms/text_box.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/views.h"

namespace quillon::ui::qt {

namespace {

Qt::Alignment alignmentOf(int alignment) {
  switch (alignment) {
    case 1:
      return Qt::AlignRight | Qt::AlignVCenter;
    case 2:
      return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
      return Qt::AlignLeft | Qt::AlignVCenter;
  }
}

class LineEditView : public ControlView {
 public:
  LineEditView(forms::Control& control, FormWindow& window) : ControlView(control, window) {}

  bool editsText() const override { return true; }
  QWidget* focusTarget() const override { return edit_; }
  void copySelection() override {
    if (edit_->hasSelectedText()) QApplication::clipboard()->setText(edit_->selectedText());
  }
  std::optional<automation::Variant> shownProperty(std::string_view property,
                                                   std::string_view key) const override {
    if (property == "Text") return automation::Variant(toStd(edit_->text()));
    return ControlView::shownProperty(property, key);
  }

 protected:
  QLineEdit* makeEdit(QWidget* parent) {
    edit_ = new QLineEdit(parent);
    edit_->setContextMenuPolicy(Qt::NoContextMenu);
    edit_->setAcceptDrops(false);
    edit_->setDragEnabled(false);
    // Anything that still edits the widget behind the form's back (a middle-button paste) is
    // undone at once.
    QObject::connect(edit_, &QLineEdit::textEdited, edit_, [this] {
      if (!syncing() && attached()) refresh({});
    });
    QObject::connect(edit_, &QLineEdit::selectionChanged, edit_, [this] { selectionMoved(); });
    QObject::connect(edit_, &QLineEdit::cursorPositionChanged, edit_,
                     [this](int, int) { selectionMoved(); });
    return edit_;
  }

  void show(const std::string& text, int selStart, int selLength) {
    const QString q = toQString(text);
    if (edit_->text() != q) edit_->setText(q);
    const int start = utf16Index(q, selStart);
    if (selLength > 0) {
      const int end = utf16Index(q, selStart + selLength);
      edit_->setSelection(start, end - start);
    } else {
      edit_->setCursorPosition(start);
    }
  }

  // A person moved the caret or selected with the mouse; fields that keep a selection take it.
  virtual void selectionTaken(int /*start*/, int /*length*/) {}

  QLineEdit* edit_ = nullptr;

 private:
  void selectionMoved() {
    if (syncing() || !attached()) return;
    const QString text = edit_->text();
    int start = edit_->cursorPosition();
    int length = 0;
    if (edit_->hasSelectedText()) {
      start = edit_->selectionStart();
      length = static_cast<int>(edit_->selectedText().size());
    }
    const int from = codePointIndex(text, start);
    selectionTaken(from, codePointIndex(text, start + length) - from);
  }
};

class TextBoxView final : public LineEditView {
 public:
  TextBoxView(forms::TextBox& box, FormWindow& window) : LineEditView(box, window), box_(box) {
    setWidget(makeEdit(window.clientArea()));
  }

  void doubleClicked() override {
    if (box_.DblClick) act([this] { box_.DblClick(); });
  }

 protected:
  void sync(std::string_view property) override {
    if (property.empty() || property == "Text" || property == "Selection") {
      show(box_.Text(), box_.SelStart(), box_.SelLength());
    }
    if (property.empty() || property == "Locked") edit_->setReadOnly(box_.Locked());
    if (property.empty() || property == "Alignment") {
      edit_->setAlignment(alignmentOf(box_.Alignment()));
    }
  }
  void selectionTaken(int start, int length) override {
    window().invoke([&] {
      box_.setSelStart(start);
      box_.setSelLength(length);
    });
  }

 private:
  forms::TextBox& box_;
};

// The numeric edit keeps its caret at the end of the text; a click cannot move it elsewhere.
class NumericEditView final : public LineEditView {
 public:
  NumericEditView(forms::NumericEdit& edit, FormWindow& window)
      : LineEditView(edit, window), number_(edit) {
    setWidget(makeEdit(window.clientArea()));
    edit_->setAlignment(alignmentOf(1));
  }

 protected:
  void sync(std::string_view) override {
    show(number_.Text(), static_cast<int>(toQString(number_.Text()).toUcs4().size()), 0);
  }
  void selectionTaken(int, int) override {
    if (attached()) refresh("Text");
  }

 private:
  forms::NumericEdit& number_;
};

class HeadItemView final : public LineEditView {
 public:
  HeadItemView(forms::HeadItem& item, FormWindow& window)
      : LineEditView(item, window), item_(item) {
    auto* box = new QWidget(window.clientArea());
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    caption_ = new QLabel(box);
    layout->addWidget(caption_);
    layout->addWidget(makeEdit(box), 1);
    setWidget(box);
    window.track(edit_, *this);
  }

 protected:
  void sync(std::string_view property) override {
    if (property.empty() || property == "Caption") {
      caption_->setText(plainCaption(item_.Caption()));
      caption_->setVisible(!item_.Caption().empty());
    }
    if (property.empty() || property == "Active") {
      edit_->setReadOnly(!item_.Active());
      edit_->setFocusPolicy(item_.Active() ? Qt::StrongFocus : Qt::NoFocus);
    }
    if (item_.DecimalPlaces() >= 0) edit_->setAlignment(alignmentOf(1));
    show(item_.Text(), static_cast<int>(toQString(item_.Text()).toUcs4().size()), 0);
  }
  void selectionTaken(int, int) override {
    if (attached()) refresh("Text");
  }

 public:
  std::optional<automation::Variant> shownProperty(std::string_view property,
                                                   std::string_view key) const override {
    if (property == "Caption") {
      return shownText(caption_->text(), plainCaption(item_.Caption()), item_.Caption());
    }
    return LineEditView::shownProperty(property, key);
  }

 private:
  forms::HeadItem& item_;
  QLabel* caption_ = nullptr;
};

}  // namespace

std::unique_ptr<ControlView> makeTextBoxView(forms::TextBox& c, FormWindow& w) {
  if (c.MultiLine()) return makeMultiLineTextBoxView(c, w);
  return std::make_unique<TextBoxView>(c, w);
}

std::unique_ptr<ControlView> makeNumericEditView(forms::NumericEdit& c, FormWindow& w) {
  return std::make_unique<NumericEditView>(c, w);
}

std::unique_ptr<ControlView> makeHeadItemView(forms::HeadItem& c, FormWindow& w) {
  return std::make_unique<HeadItemView>(c, w);
}

}  // namespace quillon::ui::qt
