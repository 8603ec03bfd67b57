// A multi-line text box as a plain-text editor. As with the one-line field, every key and every
// committed text goes through the form (Enter included, which the box takes as a line break), so
// the editor only shows the box's text and selection. The editor moves the caret itself only for
// what the box leaves to it: clicks, and the keys that move between visual lines.
//
// Whether a box is multi-line is part of its declaration (the platform fixes it at design time),
// so the kind of editor is chosen once, when the form is drawn.
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include "forms/text_box.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/views.h"

namespace quillon::ui::qt {

namespace {

class MultiLineTextView final : public ControlView {
 public:
  MultiLineTextView(forms::TextBox& box, FormWindow& window) : ControlView(box, window), box_(box) {
    edit_ = new QPlainTextEdit(window.clientArea());
    edit_->setContextMenuPolicy(Qt::NoContextMenu);
    edit_->setAcceptDrops(false);
    edit_->viewport()->setAcceptDrops(false);
    edit_->setTabChangesFocus(true);
    edit_->setUndoRedoEnabled(false);
    edit_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Anything that still edits the editor behind the form's back is undone at once.
    QObject::connect(edit_, &QPlainTextEdit::textChanged, edit_, [this] {
      if (!syncing() && attached()) refresh("Text");
    });
    QObject::connect(edit_, &QPlainTextEdit::cursorPositionChanged, edit_,
                     [this] { selectionMoved(); });
    QObject::connect(edit_, &QPlainTextEdit::selectionChanged, edit_, [this] { selectionMoved(); });
    setWidget(edit_);
    // Clicks land on the viewport; they move the focus through the form like any other click.
    window.track(edit_->viewport(), *this);
  }

  bool editsText() const override { return true; }
  bool takesLineBreaks() const override { return true; }
  QWidget* focusTarget() const override { return edit_; }
  bool passesKeyToWidget(int key, Qt::KeyboardModifiers) const override {
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
           key == Qt::Key_PageDown;
  }
  void copySelection() override {
    if (edit_->textCursor().hasSelection()) edit_->copy();
  }
  void doubleClicked() override {
    if (box_.DblClick) act([this] { box_.DblClick(); });
  }
  std::optional<automation::Variant> shownProperty(std::string_view property,
                                                   std::string_view key) const override {
    if (property == "Text") {
      const QString text = toQString(box_.Text());
      return shownText(edit_->toPlainText(), editorText(text), box_.Text());
    }
    return ControlView::shownProperty(property, key);
  }

 protected:
  void sync(std::string_view property) override {
    const bool all = property.empty();
    if (all || property == "Text" || property == "Selection") show();
    if (all || property == "Locked") {
      edit_->setReadOnly(box_.Locked());
      // A locked box still lets a person move and select with the keys the editor acts on.
      if (box_.Locked()) {
        edit_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
      }
    }
    if (all || property == "Alignment") {
      QTextOption option = edit_->document()->defaultTextOption();
      option.setAlignment(box_.Alignment() == 1   ? Qt::AlignRight
                          : box_.Alignment() == 2 ? Qt::AlignHCenter
                                                  : Qt::AlignLeft);
      edit_->document()->setDefaultTextOption(option);
    }
  }

 private:
  void show() {
    if (taking_) return;
    const QString text = toQString(box_.Text());
    const QString shown = editorText(text);
    if (edit_->toPlainText() != shown) edit_->setPlainText(shown);
    const int start = editorIndex(text, box_.SelStart());
    const int end = editorIndex(text, box_.SelStart() + box_.SelLength());
    QTextCursor cursor = edit_->textCursor();
    // The same selection made from the other end stays as the person made it, so extending it
    // with Shift carries on from the right end.
    if (cursor.selectionStart() == start && cursor.selectionEnd() == end) return;
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    edit_->setTextCursor(cursor);
  }

  // A person moved the caret or selected (mouse, or a key left to the editor): the box takes it.
  void selectionMoved() {
    if (syncing() || !attached() || taking_) return;
    const QTextCursor cursor = edit_->textCursor();
    const QString text = toQString(box_.Text());
    const int from = textIndex(text, cursor.selectionStart());
    const int to = textIndex(text, cursor.selectionEnd());
    if (from == box_.SelStart() && to - from == box_.SelLength()) return;
    taking_ = true;
    window().invoke([&] {
      box_.setSelStart(from);
      box_.setSelLength(to - from);
    });
    taking_ = false;
  }

  forms::TextBox& box_;
  QPlainTextEdit* edit_ = nullptr;
  bool taking_ = false;
};

}  // namespace

std::unique_ptr<ControlView> makeMultiLineTextBoxView(forms::TextBox& c, FormWindow& w) {
  return std::make_unique<MultiLineTextView>(c, w);
}

}  // namespace quillon::ui::qt
