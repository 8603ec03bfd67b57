#include <gtest/gtest.h>

#include "automation/com_error.h"
#include "sql/token.h"

namespace quillon::sql {
namespace {

std::vector<std::string> texts(const Tokens& tokens) {
  std::vector<std::string> out;
  for (const auto& t : tokens) out.push_back(t.text);
  return out;
}

TEST(Tokenizer, LiteralsNamesAndComments) {
  const auto t = tokenize(
      "select N'it''s', [my col], \"q\"\"n\", 1.5e3, .5 -- trailing\n"
      "/* block /* nested */ still */ from [dbo].[Tab] where x<>1");
  EXPECT_EQ(texts(t),
            (std::vector<std::string>{"select", "it's", ",", "my col", ",", "q\"n", ",", "1.5e3",
                                      ",", ".5", "from", "Tab", "where", "x", "<>", "1"}));
  EXPECT_EQ(t[1].kind, TokenKind::String);
  EXPECT_EQ(t[3].kind, TokenKind::Name);
  EXPECT_EQ(t[7].kind, TokenKind::Number);
  EXPECT_EQ(t[11].kind, TokenKind::Name);
}

TEST(Tokenizer, OwnerPrefixesAndTemporaryTables) {
  const auto t =
      tokenize("dbo.sysobjects tempdb..sysobjects tempdb..tmpX tempdb.dbo.#t #w.col [#x]");
  ASSERT_EQ(t.size(), 8u);
  EXPECT_EQ(t[0].text, "sysobjects");
  EXPECT_FALSE(t[0].temp);
  EXPECT_TRUE(t[1].temp);
  EXPECT_EQ(t[1].text, "sysobjects");
  EXPECT_TRUE(t[2].temp);
  EXPECT_EQ(t[2].text, "tmpX");
  EXPECT_TRUE(t[3].temp);
  EXPECT_EQ(t[3].text, "#t");
  EXPECT_TRUE(t[4].temp);
  EXPECT_EQ(t[4].text, "#w");
  EXPECT_TRUE(t[5].isOp("."));
  EXPECT_TRUE(t[7].temp);
}

TEST(Tokenizer, NonAsciiIdentifiersAndGoLines) {
  const auto t = tokenize("select 结存数量 as 数量 from t\nGO\nselect 1 as go_on");
  EXPECT_EQ(texts(t), (std::vector<std::string>{"select", "结存数量", "as", "数量", "from", "t",
                                                ";", "select", "1", "as", "go_on"}));
  EXPECT_EQ(t[1].kind, TokenKind::Word);
}

TEST(Tokenizer, UnterminatedInputIsAnError) {
  for (const char* bad : {"select 'abc", "select [abc", "select 1 /* open", "select \"x"}) {
    try {
      tokenize(bad);
      FAIL() << bad;
    } catch (const automation::ComError& e) {
      EXPECT_EQ(e.number(), -2147217900);
      EXPECT_NE(e.description().find("Unterminated"), std::string::npos) << e.description();
    }
  }
}

}  // namespace
}  // namespace quillon::sql
