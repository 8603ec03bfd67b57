#include "ui/qt/cell_display.h"

#include <QFontMetrics>
#include <QRegularExpression>
#include <algorithm>

#include "automation/vb_format.h"
#include "ui/qt/qt_text.h"

namespace quillon::ui::qt {

namespace {

// Room around a cell's text (the delegate's margins and focus frame) and a header's caption
// (its margins and the sort indicator's place), in pixels.
constexpr int kCellMargin = 8;
constexpr int kHeaderMargin = 10;

const QRegularExpression& numberPattern() {
  static const QRegularExpression pattern(
      QStringLiteral(R"(^-?(?:\d{1,3}(?:,\d{3})+|\d+)(?:\.\d+)?$)"));
  return pattern;
}

const QRegularExpression& datePattern() {
  static const QRegularExpression pattern(QStringLiteral(
      R"(^(\d{4})[-/](\d{1,2})[-/](\d{1,2})(?:[ T](\d{1,2}):(\d{2})(?::(\d{2})(?:\.\d+)?)?)?$)"));
  return pattern;
}

// Digits with a leading zero ("01", "0101001"): a code, not an amount.
bool isCodeText(const QString& text) {
  return text.size() > 1 && text[0] == u'0' && text[1].isDigit();
}

bool isCodeCaption(const QString& caption) {
  const QString c = caption.trimmed();
  return c.endsWith(u'号') || c.endsWith(QStringLiteral("编码")) ||
         c.endsWith(QStringLiteral("代码")) ||
         c.contains(QStringLiteral("id"), Qt::CaseInsensitive);
}

// Captions of identifier columns beyond the code captions: batches, serial numbers, codes by
// their field name.
bool isIdentifierCaption(const QString& caption) {
  const QString c = caption.trimmed();
  return isCodeCaption(c) || c.contains(QStringLiteral("批次")) ||
         c.contains(QStringLiteral("序列")) ||
         c.contains(QStringLiteral("code"), Qt::CaseInsensitive);
}

double numberOf(const QString& text) {
  QString plain = text;
  plain.remove(u',');
  return plain.toDouble();
}

}  // namespace

bool isNumberText(const QString& text) {
  return numberPattern().match(text).hasMatch();
}

bool isDateText(const QString& text) {
  return datePattern().match(text).hasMatch();
}

ColumnLook lookOfColumn(const QString& caption, std::string_view format, bool markColumn,
                        const QStringList& values) {
  ColumnLook look;
  if (markColumn) {
    look.kind = CellKind::Mark;
    return look;
  }
  int filled = 0;
  int codes = 0;
  bool numbers = true;
  bool dates = true;
  bool marks = true;
  for (const QString& raw : values) {
    const QString v = raw.trimmed();
    if (v.isEmpty()) continue;
    ++filled;
    if (!isNumberText(v) || isCodeText(v)) numbers = false;
    if (isCodeText(v)) ++codes;
    if (!isDateText(v)) dates = false;
    if (v != QStringLiteral("√")) marks = false;
  }
  if (!format.empty()) {
    look.kind = CellKind::Number;
    look.format = std::string(format);
  } else if (filled > 0 && marks) {
    look.kind = CellKind::Mark;
  } else if (filled > 0 && dates) {
    look.kind = CellKind::Date;
  } else if (filled > 0 && numbers && !isCodeCaption(caption)) {
    look.kind = CellKind::Number;
  }
  if (look.kind == CellKind::Text) {
    look.identifier = isIdentifierCaption(caption) || (filled > 0 && codes == filled);
  }
  return look;
}

QString displayText(const ColumnLook& look, const QString& text) {
  switch (look.kind) {
    case CellKind::Text:
      return text;
    case CellKind::Mark:
      return text.trimmed().isEmpty() ? QString() : QString(QChar(kCheckMark));
    case CellKind::Number: {
      const QString v = text.trimmed();
      if (look.format.empty() || !isNumberText(v)) return text;
      return toQString(automation::formatNumber(numberOf(v), look.format));
    }
    case CellKind::Date: {
      const QRegularExpressionMatch m = datePattern().match(text.trimmed());
      if (!m.hasMatch()) return text;
      QString shown = QStringLiteral("%1-%2-%3")
                          .arg(m.captured(1))
                          .arg(m.captured(2).toInt(), 2, 10, QChar(u'0'))
                          .arg(m.captured(3).toInt(), 2, 10, QChar(u'0'));
      const int h = m.captured(4).toInt();
      const int min = m.captured(5).toInt();
      const int s = m.captured(6).toInt();
      if (h != 0 || min != 0 || s != 0) {
        shown += QStringLiteral(" %1:%2:%3")
                     .arg(h, 2, 10, QChar(u'0'))
                     .arg(min, 2, 10, QChar(u'0'))
                     .arg(s, 2, 10, QChar(u'0'));
      }
      return shown;
    }
  }
  return text;
}

Qt::Alignment alignmentOf(const ColumnLook& look) {
  switch (look.kind) {
    case CellKind::Number:
      return Qt::AlignRight | Qt::AlignVCenter;
    case CellKind::Mark:
      return Qt::AlignHCenter | Qt::AlignVCenter;
    case CellKind::Text:
    case CellKind::Date:
      break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

QColor foregroundOf(const ColumnLook& look, const QString& text) {
  if (look.kind != CellKind::Number) return {};
  const QString v = text.trimmed();
  if (!v.startsWith(u'-') || !isNumberText(v) || numberOf(v) == 0) return {};
  return QColor(0xC0, 0x00, 0x00);
}

QString twoLineCaption(const QString& caption) {
  if (caption.size() < 4 || caption.contains(u'\n')) return caption;
  for (const QChar ch : caption) {
    if (ch.unicode() < 0x2E80) return caption;  // only captions of Chinese characters break
  }
  // Most captions end in a two-character noun (数量, 件数, 日期, 编码): it takes the second line,
  // unless that leaves the first one far the longer.
  const qsizetype first = caption.size() <= 7 ? caption.size() - 2 : (caption.size() + 1) / 2;
  return caption.left(first) + u'\n' + caption.mid(first);
}

int neededWidth(const QFontMetrics& cellFont, const QFontMetrics& headerFont,
                const QString& caption, const QStringList& shownTexts) {
  int width = 0;
  for (const QString& line : caption.split(u'\n')) {
    width = std::max(width, headerFont.horizontalAdvance(line) + kHeaderMargin);
  }
  for (const QString& text : shownTexts) {
    width = std::max(width, cellFont.horizontalAdvance(text) + kCellMargin);
  }
  return width;
}

}  // namespace quillon::ui::qt
