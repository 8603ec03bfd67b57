#include "ui/qt/qt_text.h"

#include "forms/control.h"

namespace quillon::ui::qt {

QString toQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string toStd(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

int utf16Index(const QString& text, int codePoints) {
  int units = 0;
  for (int n = 0; n < codePoints && units < text.size(); ++n) {
    units += text.at(units).isHighSurrogate() && units + 1 < text.size() ? 2 : 1;
  }
  return units;
}

int codePointIndex(const QString& text, int utf16) {
  int points = 0;
  for (int units = 0; units < utf16 && units < text.size(); ++points) {
    units += text.at(units).isHighSurrogate() && units + 1 < text.size() ? 2 : 1;
  }
  return points;
}

QString editorText(const QString& text) {
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return shown;
}

namespace {

// Walks the field's text a code point at a time, with the editor units each one takes; stops
// when `done` says so and returns the code points walked.
template <class Done>
int walkText(const QString& text, int& units, Done done) {
  int points = 0;
  units = 0;
  for (qsizetype i = 0; i < text.size() && !done(points, units); ++points) {
    const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size();
    const bool crBeforeLf = text.at(i) == QLatin1Char('\r') && i + 1 < text.size() &&
                            text.at(i + 1) == QLatin1Char('\n');
    const int width = pair ? 2 : 1;
    if (!crBeforeLf) units += width;
    i += width;
  }
  return points;
}

}  // namespace

int editorIndex(const QString& text, int codePoints) {
  int units = 0;
  walkText(text, units, [codePoints](int points, int) { return points >= codePoints; });
  return units;
}

int textIndex(const QString& text, int editorUnits) {
  int units = 0;
  return walkText(text, units, [editorUnits](int, int walked) { return walked >= editorUnits; });
}

QString captionText(std::string_view caption) {
  return toQString(caption);
}

QString plainCaption(std::string_view caption) {
  return toQString(forms::parseCaption(caption).text);
}

}  // namespace quillon::ui::qt
