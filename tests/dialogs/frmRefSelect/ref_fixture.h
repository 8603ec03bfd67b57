// Set-up shared by the stock selection tests: the library's classes registered once, a scale-1
// demo account file with private copies for tests that write, logins, candidate rows of a known
// shape, and a UI host that records message boxes and plays the person in a modal form.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "automation/dispatch.h"
#include "forms/ui_host.h"

namespace quillon::ado {
class Connection;
}

namespace quillon::dialogs::testing {

// Registers every creatable class and points the machine registry at a scratch file.
void setUpEnvironment();

// A private copy of the demo account.
std::string demoCopy(const std::string& name);
automation::ObjectPtr loginTo(const std::string& path, const std::string& user = "demo");
std::shared_ptr<ado::Connection> connect(const std::string& path);
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

class RecordingUiHost : public forms::UiHost {
 public:
  std::vector<forms::MessageBoxRequest> messages;
  std::deque<int> answers;  // next message-box answers; the default button otherwise
  std::function<void(forms::Form&)> onModal;
  int modalRuns = 0;

  void runModal(forms::Form& form) override;
  int messageBox(const forms::MessageBoxRequest& request) override;
  std::optional<std::string> inputBox(const forms::InputBoxRequest&) override { return {}; }
  std::optional<automation::DateValue> calendar(const forms::CalendarRequest&) override {
    return {};
  }
  std::optional<std::vector<int>> lookupList(const forms::LookupRequest&) override { return {}; }
  std::optional<std::string> columnSettings(const forms::ColumnSettingsRequest&) override {
    return {};
  }
  forms::FilterResult filterDialog(const forms::FilterRequest&) override { return {}; }
  forms::Menu* popupMenu(forms::Form&, forms::Menu&) override { return nullptr; }
  void beep() override {}

  std::string lastMessage() const { return messages.empty() ? "" : messages.back().prompt; }
};

}  // namespace quillon::dialogs::testing
