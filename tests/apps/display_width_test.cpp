#include "display_width.h"

#include <gtest/gtest.h>

#include "cell_text.h"
#include "csv_printer.h"
#include "json_printer.h"

namespace quillon::cli {
namespace {

TEST(DisplayWidth, WideCharactersTakeTwoColumns) {
  EXPECT_EQ(displayWidth("cWhName"), 7u);
  EXPECT_EQ(displayWidth("原料库"), 6u);
  EXPECT_EQ(displayWidth("系统提示：OK"), 12u);  // fullwidth colon
  EXPECT_EQ(displayWidth("ＡＢ"), 4u);           // fullwidth Latin
  EXPECT_EQ(displayWidth("한국"), 4u);
  EXPECT_EQ(displayWidth("カタカナ"), 8u);
  EXPECT_EQ(displayWidth("e\xCC\x81"), 1u);         // e + combining acute
  EXPECT_EQ(displayWidth("\xF0\x9F\x93\xA6"), 2u);  // package emoji
  EXPECT_EQ(displayWidth("\xF0\xA0\x80\x80"), 2u);  // CJK extension B
  EXPECT_EQ(displayWidth("½→€"), 3u);               // narrow or ambiguous: one each
  EXPECT_EQ(displayWidth("a\xFF\xE4\xB8z"), 5u);    // each malformed byte shows as one U+FFFD
}

TEST(DisplayWidth, DecodingNeverFailsOnMalformedInput) {
  // Overlong, surrogate, beyond U+10FFFF, stray continuation, cut sequence.
  EXPECT_EQ(sanitizeUtf8("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(sanitizeUtf8("\xED\xA0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(sanitizeUtf8("\xF4\x90\x80\x80").size(), 12u);
  EXPECT_EQ(sanitizeUtf8("\x80中"), "\xEF\xBF\xBD中");
  EXPECT_EQ(sanitizeUtf8("中\xE4\xB8"), "中\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(sanitizeUtf8("plain 文本 \xF0\x9F\x93\xA6"), "plain 文本 \xF0\x9F\x93\xA6");
}

TEST(CellText, NumbersBlobsAndControls) {
  EXPECT_EQ(formatReal(0.1), "0.1");
  EXPECT_EQ(formatReal(-2.5), "-2.5");
  EXPECT_EQ(formatReal(3.0), "3");
  EXPECT_EQ(formatFixed(8, 6), "8.000000");
  EXPECT_EQ(formatFixed(-0.125, 2), "-0.12");  // round half to even, as printf does
  const std::byte bytes[] = {std::byte{0x00}, std::byte{0xAB}, std::byte{0x7F}};
  EXPECT_EQ(hexBlob(bytes), "0x00AB7F");
  EXPECT_EQ(escapeControls("a\tb\r\nc\x01"), "a\\tb\\r\\nc\\x01");
}

TEST(CsvField, QuotesOnlyWhatRfc4180Needs) {
  EXPECT_EQ(csvField("原料库"), "原料库");
  EXPECT_EQ(csvField("a,b"), "\"a,b\"");
  EXPECT_EQ(csvField("say \"hi\""), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(csvField("two\nlines"), "\"two\nlines\"");
  EXPECT_EQ(csvField("cr\r"), "\"cr\r\"");
  EXPECT_EQ(csvField(""), "\"\"");  // an empty text, as opposed to a null
  EXPECT_EQ(csvField(" padded "), " padded ");
}

TEST(JsonString, EscapesWhatJsonRequires) {
  EXPECT_EQ(jsonString("原料库"), "\"原料库\"");
  EXPECT_EQ(jsonString("q\"b\\s/"), "\"q\\\"b\\\\s/\"");
  EXPECT_EQ(jsonString("\n\r\t\b\f\x01\x7F"), "\"\\n\\r\\t\\b\\f\\u0001\\u007f\"");
  EXPECT_EQ(jsonString("bad\xFF"), "\"bad\xEF\xBF\xBD\"");
}

}  // namespace
}  // namespace quillon::cli
