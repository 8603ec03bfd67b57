// How the list views show a cell. A cell keeps the text the form wrote (rules, scripts and OK read
// that); what a person reads is drawn from it:
//
//  - numbers right-aligned, with the column's number format when it has one (the account's
//    decimal places the form gave the column), negative ones in red — the quantities of a red
//    document;
//  - dates in one form, "YYYY-MM-DD" (with the time only when it is not midnight);
//  - the mark column ("Y" in a grid or voucher list, "√" in a list) as a check mark;
//  - anything else as it is.
//
// What a column holds is judged once per refresh from its caption, its format and the first
// screenful of its values: a column of codes ("0101001", a caption ending in 号, 编码 or 代码) is
// text even when its values are digits, and a column of identifiers (codes, numbers of documents,
// batches) that a person must read whole.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <string>
#include <string_view>

class QFontMetrics;

namespace quillon::ui::qt {

enum class CellKind { Text, Number, Date, Mark };

struct ColumnLook {
  CellKind kind = CellKind::Text;
  std::string format;  // the column's number format, "" for none
  // Text that identifies something (an item code, a batch, a document's number): never cut.
  bool identifier = false;
};

// The drawn check mark of a marked row.
inline constexpr char16_t kCheckMark = u'\u2713';

// Whether a text is a plain decimal number ("12", "-3.50", "1,234.5").
bool isNumberText(const QString& text);
// Whether a text is a date "YYYY-MM-DD" or "YYYY/M/D", with or without a time.
bool isDateText(const QString& text);

// The look of a column from its caption, number format, whether it is the control's mark column,
// and the values of its first screenful.
ColumnLook lookOfColumn(const QString& caption, std::string_view format, bool markColumn,
                        const QStringList& values);

// What a person reads in a cell of a column with `look`.
QString displayText(const ColumnLook& look, const QString& text);
Qt::Alignment alignmentOf(const ColumnLook& look);
// Red for a negative number; invalid (the view's own colour) otherwise.
QColor foregroundOf(const ColumnLook& look, const QString& text);

// A caption of four or more Chinese characters broken into two lines ("本次入库\n数量": up to
// seven, before the last two; longer ones in the middle), for a column whose values need less
// room than its caption; other captions as they are.
QString twoLineCaption(const QString& caption);

// The width in pixels a column needs to show its caption (each of its lines) and the given cell
// texts uncut, as the table views draw them (their margins included).
int neededWidth(const QFontMetrics& cellFont, const QFontMetrics& headerFont,
                const QString& caption, const QStringList& shownTexts);

}  // namespace quillon::ui::qt
