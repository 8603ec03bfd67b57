#include "platform/registry_format.h"

#include <gtest/gtest.h>

#include "automation/utf8.h"

namespace quillon::platform {
namespace {

TEST(RegistryFormat, AwkwardTextsSurviveARoundTrip) {
  RegistryData data;
  const std::string key = "SOFTWARE\\[Odd] 50%\\Ключ\\库存";
  data.createKey(key);
  const std::vector<std::pair<std::string, std::string>> values = {
      {"Toolbar Style", "Text"},
      {"", "default value"},
      {"a=b", "x=y=z"},
      {"[section]", "[not a key]"},
      {"100%", "%41 stays literal"},
      {"lines", "one\ntwo\r\nthree\tfour"},
      {"nul", std::string("a\0b", 3)},
      {"中文名", "原料库 — 成品库"},
      {"blank", ""},
  };
  for (const auto& [name, text] : values) data.setValue(key, name, text);

  const std::string file = formatRegistry(data);
  EXPECT_TRUE(automation::utf8::isWellFormed(file));
  // Every item is on a line of its own however odd the texts are.
  EXPECT_EQ(std::count(file.begin(), file.end(), '\n'),
            static_cast<long>(1 + 4 + values.size()));  // header, 4 keys (with ancestors), values

  auto parsed = parseRegistry(file);
  ASSERT_TRUE(parsed);
  for (const auto& [name, text] : values) {
    EXPECT_EQ(parsed->value(key, name), std::optional<std::string>(text)) << name;
  }
  ASSERT_NE(parsed->findKey(key), nullptr);
  EXPECT_EQ(parsed->findKey(key)->path, key);
  EXPECT_TRUE(parsed->hasKey("software\\[odd] 50%"));
}

TEST(RegistryFormat, AcceptsCrLfBlankLinesAndAnEmptyFile) {
  auto empty = parseRegistry("");
  ASSERT_TRUE(empty);
  EXPECT_TRUE(empty->empty());

  auto parsed = parseRegistry("QUILLON-REGISTRY 1\r\n\r\n[A\\B]\r\nx=1\r\n[a\\b]\r\ny=2");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->value("A\\B", "x"), std::optional<std::string>("1"));
  EXPECT_EQ(parsed->value("A\\B", "Y"), std::optional<std::string>("2"));  // sections merge
}

TEST(RegistryFormat, RejectsAnythingGarbled) {
  const std::vector<std::string> bad = {
      "QUILLON-REGISTRY 2\n",           // unknown version
      "[A]\nx=1\n",                     // no header
      "QUILLON-REGISTRY 1\nx=1\n",      // value outside a key
      "QUILLON-REGISTRY 1\n[A\nx=1\n",  // unterminated key
      "QUILLON-REGISTRY 1\n[A]\nnoequals\n",
      "QUILLON-REGISTRY 1\n[A]\nx=%G1\n",   // not hex
      "QUILLON-REGISTRY 1\n[A]\nx=%E4\n",   // escapes are ASCII only
      "QUILLON-REGISTRY 1\n[A]\nx=a\tb\n",  // raw control character
      "QUILLON-REGISTRY 1\n[A]]\n",
      std::string("QUILLON-REGISTRY 1\n[A]\nx=\xed\xa0\x80\n"),  // UTF-16 surrogate
      std::string("QUILLON-REGISTRY 1\n[A]\nx=\xe4\xb8\n"),      // cut sequence
  };
  for (const std::string& text : bad) EXPECT_FALSE(parseRegistry(text)) << text;
}

TEST(RegistryData, KeyPathsNormaliseAndCreateAncestors) {
  EXPECT_EQ(normalizeKeyPath("\\\\A\\\\B\\"), "A\\B");
  EXPECT_EQ(normalizeKeyPath(""), "");
  EXPECT_EQ(normalizeKeyPath("\\"), "");

  RegistryData data;
  EXPECT_TRUE(data.hasKey(""));  // the root always exists
  EXPECT_FALSE(data.hasKey("A"));
  EXPECT_FALSE(data.setValue("A\\B", "x", "1"));  // no such key
  data.createKey("A\\B\\C");
  EXPECT_TRUE(data.hasKey("a"));
  EXPECT_TRUE(data.hasKey("A\\b"));
  EXPECT_TRUE(data.setValue("a\\b", "X", "1"));
  EXPECT_EQ(data.value("A\\B", "x"), std::optional<std::string>("1"));
  EXPECT_EQ(data.value("A\\B\\C", "x"), std::nullopt);
}

}  // namespace
}  // namespace quillon::platform
