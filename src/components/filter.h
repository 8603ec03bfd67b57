// The suite's filter component: a FilterContext that knows the login, the connection and the
// subsystem, and a FilterDialog that runs one of the subsystem's named filters and hands back the
// WHERE text of the confirmed conditions.
//
// Calls, in the order a caller makes them:
//   context.Flag = True
//   context.Init(sSubId, oLogin, oConn, sAccountKey)
//   code = dialog.ShowFilter(context, sFilterName, sSubId, oConn)   ' 1 when confirmed
//   where = dialog.GetResult().WhereText                             ' only after code 1
//   dialog.Terminate
// A filter name the subsystem does not define raises an error whose text names the filter, and no
// dialog is shown. GetResult before a confirmed filter is Nothing.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "automation/dispatch.h"
#include "components/marlin_login.h"

namespace quillon::ado {
class Connection;
}

namespace quillon::automation {
class ClassRegistry;
}

namespace quillon::components {

inline constexpr std::string_view kFilterContextProgId = "Quillon.Suite.FilterContext";
inline constexpr std::string_view kFilterDialogProgId = "Quillon.Suite.FilterDialog";

class FilterContext : public automation::Object {
 public:
  virtual bool flag() const = 0;
  virtual void setFlag(bool on) = 0;
  virtual void init(std::string subsystem, std::shared_ptr<MarlinLogin> login,
                    std::shared_ptr<ado::Connection> connection, std::string accountKey) = 0;

  virtual const std::string& subsystem() const = 0;
  virtual std::shared_ptr<MarlinLogin> login() const = 0;
  virtual std::shared_ptr<ado::Connection> connection() const = 0;
};

// What a confirmed filter gave.
class FilterOutcome : public automation::Object {
 public:
  virtual std::string whereText() const = 0;
};

class FilterDialog : public automation::Object {
 public:
  // Shows the named filter of `subsystem`; `connection` null means the context's. The result
  // code: 1 confirmed, anything else cancelled.
  virtual int showFilter(FilterContext& context, const std::string& filterName,
                         const std::string& subsystem,
                         std::shared_ptr<ado::Connection> connection) = 0;
  // The outcome of the last confirmed filter; null otherwise.
  virtual std::shared_ptr<FilterOutcome> result() const = 0;
  // Lets go of what the last filter kept.
  virtual void terminate() = 0;
};

// Registers the suite's filter context and filter dialog.
void registerFilterClasses(automation::ClassRegistry& registry);

}  // namespace quillon::components
