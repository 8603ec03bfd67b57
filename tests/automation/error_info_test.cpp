#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "automation/error_info.h"
#include "test_support.h"

namespace quillon::automation {
namespace {

template <class Fn>
std::string trapped(ErrorInfo& info, Fn fn) {
  try {
    fn();
  } catch (...) {
    trapCurrentException(info);
  }
  return trappedMessage("ProduceOrder:load", info);
}

TEST(ErrorInfo, TrapsEveryKindOfFailure) {
  ErrorInfo info;
  EXPECT_EQ(trapped(info, [] { throw ComError(13, "Type mismatch", "Quillon"); }),
            "ProduceOrder:load13\r\nType mismatch");
  EXPECT_EQ(info.source(), "Quillon");
  EXPECT_EQ(trapped(info, [] { throw std::runtime_error("数据库连接失败"); }),
            "ProduceOrder:load440\r\n数据库连接失败");
  EXPECT_EQ(trapped(info, [] { throw 42; }), "ProduceOrder:load440\r\nAutomation error");
  EXPECT_EQ(trapped(info, [] { throw ComError(-2147217900, "Invalid object name 'x'."); }),
            "ProduceOrder:load-2147217900\r\nInvalid object name 'x'.");
}

TEST(ErrorInfo, LateBoundMembersAndLookupMessage) {
  auto info = std::make_shared<ErrorInfo>();
  info->setLookupMessage("存货编码不存在");
  info->setError(5, "Invalid procedure call or argument");
  EXPECT_EQ(info->get("number"), Variant(5));
  EXPECT_EQ(info->get("Description"), Variant("Invalid procedure call or argument"));
  EXPECT_EQ(info->value(), Variant(5));
  info->call("Clear");
  EXPECT_EQ(info->number(), 0);
  EXPECT_EQ(info->description(), "");
  EXPECT_EQ(info->get("LookupMessage"), Variant("存货编码不存在"));
  info->let("LookupMessage", "");
  EXPECT_EQ(info->lookupMessage(), "");
}

}  // namespace
}  // namespace quillon::automation
