// ReferenceDialog: the shell of every dialog through which a public class lets the user pick
// source rows and hands them back. It holds the public members the owner sets before showing it
// (the filter text, the connection, the owner itself), reaches the owner late-bound as the
// owner's class is reached (a property read, its "oCollection" set on OK and cleared on cancel),
// reads the chosen rows again on OK, refusing rows that changed since they were listed, and
// refuses an OK with nothing chosen. A dialog adds its controls, queries, rules and messages.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "automation/dispatch.h"
#include "forms/dialog_shell.h"

namespace quillon::ado {
class Connection;
class Recordset;
}  // namespace quillon::ado
namespace quillon::automation {
class Collection;
}
namespace quillon::forms {
class CorvidXTabStrip;
}

namespace quillon::module {

class ReferenceDialog : public forms::DialogShell {
 public:
  ~ReferenceDialog() override;

  const std::string& filterText() const { return filter_; }
  // The owner's filter, a condition the dialog's queries join to theirs: one expression
  // (sql::checkCondition), else refused with that error and the filter stays as it was.
  void setFilterText(std::string filter);
  const std::shared_ptr<ado::Connection>& connection() const { return conn_; }
  void setConnection(std::shared_ptr<ado::Connection> conn) { conn_ = std::move(conn); }
  void setOwner(const automation::ObjectPtr& owner) { owner_ = owner; }

 protected:
  ReferenceDialog(std::string name, std::string caption, int width, int height,
                  forms::HandlerErrors handlerErrors);

  // The connection as the suite's services take it: they may hand another one back.
  std::shared_ptr<ado::Connection>& connectionRef() { return conn_; }

  // A property of the owner; nothing while the dialog has no owner.
  std::optional<automation::Variant> ownerProperty(std::string_view name) const;
  // The owner's oCollection becomes `results`: the collection on OK, Nothing (null) on cancel.
  void handToOwner(const std::shared_ptr<automation::Collection>& results);

  // The chosen rows read again by `statement` on the dialog's connection (the text is kept in
  // gSQL); null, after the stale-rows prompt, when it finds none.
  std::shared_ptr<ado::Recordset> reReadChosen(const std::string& statement);
  // The same with `level`'s own source narrowed to `condition` (NarrowedSource).
  std::shared_ptr<ado::Recordset> reReadChosen(const ado::Recordset& level,
                                               std::string_view condition);

  // Refuses OK with "请选择" + `what` + "！".
  void refuseNothingChosen(std::string_view what);
  // The same for the list on a tab, named by the tab's caption; the tab comes to the front.
  void refuseNothingChosen(forms::CorvidXTabStrip& tabs, int tab);

 private:
  std::string filter_;
  std::shared_ptr<ado::Connection> conn_;
  std::weak_ptr<automation::Object> owner_;
};

}  // namespace quillon::module
