#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/constants.h"
#include "forms/ui_host.h"
#include "module/warehouse_check.h"
#include "module_fixture.h"
#include "support/silent_ui_host.h"

namespace quillon::module {
namespace {

// Answers every question with `answer` and remembers what it was asked.
class AnsweringHost : public test_support::SilentUiHost {
 public:
  int messageBox(const forms::MessageBoxRequest& request) override {
    asked.push_back(request.prompt);
    return request.buttons == forms::vbYesNo ? answer : request.defaultAnswer();
  }
  void runModal(forms::Form&) override {}
  int answer = forms::vbNo;
  std::vector<std::string> asked;
};

TEST(CheckWarehouseForItems, AWarehouseByCodeOrNameKeepingTheItemOrAgreedTo) {
  testing::openSessionAs("demo");
  auto host = std::make_shared<AnsweringHost>();
  forms::ScopedUiHost scoped(host);

  const auto byName = CheckWarehouseForItems(" 原料仓 ", "0101002");
  EXPECT_TRUE(byName.accepted);
  EXPECT_EQ(byName.code, "01");
  EXPECT_EQ(byName.name, "原料仓");
  EXPECT_TRUE(host->asked.empty());

  // The account checks the warehouse-inventory table: 0101002 is not kept in 04.
  const auto declined = CheckWarehouseForItems("04", "0101002");
  EXPECT_FALSE(declined.accepted);
  ASSERT_EQ(host->asked.size(), 1u);
  EXPECT_EQ(host->asked.back(), "[0101002]在仓库存货对照表中不存在！是否继续？");
  host->answer = forms::vbYes;
  EXPECT_TRUE(CheckWarehouseForItems("04", "0101002").accepted);
  EXPECT_TRUE(CheckWarehouseForItems("04", "").accepted) << "no item, no table to check";

  const auto unknown = CheckWarehouseForItems("99", "0101002");
  EXPECT_FALSE(unknown.accepted);
  EXPECT_EQ(host->asked.back(), kWarehouseInvalid);
  EXPECT_FALSE(CheckWarehouseForItems("01' OR '1'='1", "").accepted);
}

}  // namespace
}  // namespace quillon::module
