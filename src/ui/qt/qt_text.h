// Conversions between the forms' world (UTF-8 texts, twips, characters counted as code points)
// and Qt's (QString in UTF-16, pixels).
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace quillon::ui::qt {

// The forms lay out in twips; the renderer draws 15 twips to a pixel.
inline constexpr int kTwipsPerPixel = 15;
inline int toPixels(int twips) {
  return twips / kTwipsPerPixel;
}
inline int toTwips(int pixels) {
  return pixels * kTwipsPerPixel;
}

QString toQString(std::string_view text);
std::string toStd(const QString& text);

// Character positions: the forms count code points, QString counts UTF-16 units.
int utf16Index(const QString& text, int codePoints);
int codePointIndex(const QString& text, int utf16);

// Multi-line fields: the forms break lines with CR LF, a Qt editor with one '\n'. The editor's
// text of a field's text, and positions between the two (code points of the field's text against
// UTF-16 positions in the editor); a CR LF counts once in the editor.
QString editorText(const QString& text);
int editorIndex(const QString& text, int codePoints);
int textIndex(const QString& text, int editorUnits);

// A caption as a Qt widget shows it. "&" marks the accelerator in both worlds, so the caption is
// kept; a widget that must not react to its own mnemonic gets the marker-free text instead.
QString captionText(std::string_view caption);
QString plainCaption(std::string_view caption);

}  // namespace quillon::ui::qt
