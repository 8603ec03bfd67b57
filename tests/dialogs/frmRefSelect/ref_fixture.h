// Set-up shared by the stock selection tests: the library's classes registered once, a scale-1
// demo account file with private copies for tests that write, logins, candidate rows of a known
// shape, and the recording UI host.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "automation/dispatch.h"
#include "classes/ref_select.h"
#include "support/demo_account.h"
#include "support/recording_ui_host.h"

namespace quillon::dialogs::testing {

// Registers every creatable class and builds the demo account (with the machine registry pointed
// at a scratch file).
void setUpEnvironment();

using test_support::connect;
using test_support::demoCopy;
using test_support::loginAs;
void execute(const std::string& path, const std::string& sql);
void setOption(const std::string& path, const std::string& name, const std::string& value);

// A candidate table `Cand` in the batch layout (reference type 0): 批号, 失效日期, 结存数量,
// 结存件数, four filler fields, 出库数量, 出库件数, three key fields. Rows are (batch, expiry,
// stock, pieces). The query is "select * from Cand order by id".
struct CandRow {
  std::string batch;
  std::string expiry;
  double stock;
  double pieces;
};
void makeBatchCandidates(const std::string& path, const std::vector<CandRow>& rows);
// The tracking layout (reference type 1): receipt date and number are the sort keys.
struct TraceRow {
  std::string date;
  int receiptNo;
  double stock;
};
void makeTraceCandidates(const std::string& path, const std::vector<TraceRow>& rows);
inline constexpr const char* kCandQuery = "select * from Cand order by id";

using test_support::RecordingUiHost;

// A test on its own copy of the demo account, logged in as demo there, with a recording host
// current; requests ask for item 0101003 from warehouse T1 out of the candidate table.
class RefSelectCase : public ::testing::Test {
 protected:
  void SetUp() override;

  static classes::RefSelect::Request request(double quantity, std::int32_t refType = 0);

  std::string path;
  automation::ObjectPtr login;
  std::shared_ptr<RecordingUiHost> host;
  std::unique_ptr<forms::ScopedUiHost> scoped;
};

}  // namespace quillon::dialogs::testing
