// The suite's filter context and filter dialog (calls in components/filter.h). The dialog reads the
// named filter from FilterDef / FilterItem on the connection and asks the UI host's filter dialog
// (forms::UiHost::filterDialog) for the conditions.
#pragma once

#include <memory>
#include <string>

#include "components/filter.h"

namespace quillon::components::suite {

// The text of the error for a filter the subsystem does not define.
std::string unknownFilterText(const std::string& filterName);

class FilterContextObject final : public FilterContext {
 public:
  bool flag() const override { return flag_; }
  void setFlag(bool on) override { flag_ = on; }
  void init(std::string subsystem, std::shared_ptr<MarlinLogin> login,
            std::shared_ptr<ado::Connection> connection, std::string accountKey) override;

  const std::string& subsystem() const override { return subsystem_; }
  std::shared_ptr<MarlinLogin> login() const override { return login_; }
  std::shared_ptr<ado::Connection> connection() const override { return connection_; }
  const std::string& accountKey() const { return accountKey_; }

  const automation::MemberTable& memberTable() const override;

 private:
  bool flag_ = false;
  std::string subsystem_;
  std::shared_ptr<MarlinLogin> login_;
  std::shared_ptr<ado::Connection> connection_;
  std::string accountKey_;
};

class FilterOutcomeObject final : public FilterOutcome {
 public:
  explicit FilterOutcomeObject(std::string where) : where_(std::move(where)) {}
  std::string whereText() const override { return where_; }
  const automation::MemberTable& memberTable() const override;

 private:
  std::string where_;
};

class FilterDialogObject final : public FilterDialog {
 public:
  int showFilter(FilterContext& context, const std::string& filterName,
                 const std::string& subsystem,
                 std::shared_ptr<ado::Connection> connection) override;
  std::shared_ptr<FilterOutcome> result() const override { return result_; }
  void terminate() override { result_.reset(); }

  const automation::MemberTable& memberTable() const override;

 private:
  std::shared_ptr<FilterOutcome> result_;
};

}  // namespace quillon::components::suite
