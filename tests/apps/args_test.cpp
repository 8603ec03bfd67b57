#include "args.h"

#include <gtest/gtest.h>

namespace quillon::cli {
namespace {

ParsedArgs parse(std::vector<std::string> args) {
  return parseArgs(args, {.withValue = {"--db", "--format"}, .flags = {"--gui"}});
}

TEST(Args, OptionsFlagsAndPositionals) {
  ParsedArgs a = parse({"--db", "a.db", "--format=csv", "--gui", "select 1", "-", "--", "--db"});
  EXPECT_EQ(a.option("--db"), "a.db");
  EXPECT_EQ(a.required("--format"), "csv");
  EXPECT_TRUE(a.flag("--gui"));
  EXPECT_EQ(a.positional(), (std::vector<std::string>{"select 1", "-", "--db"}));

  ParsedArgs b = parse({"--db=", "x"});
  EXPECT_EQ(b.option("--db"), "");  // an explicit empty value is kept for the command to judge
  EXPECT_FALSE(b.flag("--gui"));
  EXPECT_EQ(b.option("--format"), std::nullopt);
  EXPECT_THROW(b.required("--format"), UsageError);
}

TEST(Args, MalformedCommandLinesAreUsageErrors) {
  EXPECT_THROW(parse({"--db"}), UsageError);                    // value missing
  EXPECT_THROW(parse({"--out", "x"}), UsageError);              // not declared
  EXPECT_THROW(parse({"--db", "a", "--db", "b"}), UsageError);  // repeated
  EXPECT_THROW(parse({"--gui=yes"}), UsageError);               // flags take no value
  EXPECT_THROW(parse({"-x"}), UsageError);
}

}  // namespace
}  // namespace quillon::cli
