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

QString captionText(std::string_view caption) {
  return toQString(caption);
}

QString plainCaption(std::string_view caption) {
  return toQString(forms::parseCaption(caption).text);
}

}  // namespace quillon::ui::qt
