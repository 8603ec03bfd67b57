#include "module/reference_dialog.h"

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/collection.h"
#include "forms/tab_strip.h"
#include "module/module_state.h"
#include "module/reference_lists.h"
#include "module/reference_texts.h"
#include "sql/condition.h"

namespace quillon::module {

void ReferenceDialog::setFilterText(std::string filter) {
  sql::checkCondition(filter);
  filter_ = std::move(filter);
}

ReferenceDialog::ReferenceDialog(std::string name, std::string caption, int width, int height,
                                 forms::HandlerErrors handlerErrors)
    : DialogShell(std::move(name), std::move(caption), width, height, handlerErrors) {}

ReferenceDialog::~ReferenceDialog() = default;

std::optional<automation::Variant> ReferenceDialog::ownerProperty(std::string_view name) const {
  if (auto owner = owner_.lock()) return owner->get(std::string(name));
  return std::nullopt;
}

void ReferenceDialog::handToOwner(const std::shared_ptr<automation::Collection>& results) {
  if (auto owner = owner_.lock()) {
    owner->set("oCollection", std::static_pointer_cast<automation::Object>(results));
  }
}

std::shared_ptr<ado::Recordset> ReferenceDialog::reReadChosen(const std::string& statement) {
  gSQL = statement;
  auto fresh = std::make_shared<ado::Recordset>();
  fresh->open(automation::Variant(gSQL),
              automation::Variant(std::static_pointer_cast<automation::Object>(conn_)));
  if (!fresh->isOpen() || (fresh->bof() && fresh->eof())) {
    prompt(std::string(kStaleRowsMessage));
    return nullptr;
  }
  return fresh;
}

std::shared_ptr<ado::Recordset> ReferenceDialog::reReadChosen(const ado::Recordset& level,
                                                              std::string_view condition) {
  return reReadChosen(NarrowedSource(level.source(), condition));
}

void ReferenceDialog::refuseNothingChosen(std::string_view what) {
  prompt(pleaseSelect(what));
}

void ReferenceDialog::refuseNothingChosen(forms::CorvidXTabStrip& tabs, int tab) {
  prompt(pleaseSelect(tabs.TabCaption(tab)));
  tabs.setTab(tab);
}

}  // namespace quillon::module
