#include "module/warehouse_check.h"

#include "automation/com_error.h"
#include "automation/vb_strings.h"
#include "components/archive.h"
#include "components/registration.h"
#include "components/session_context.h"
#include "forms/constants.h"
#include "forms/dialog_shell.h"
#include "forms/ui_host.h"
#include "module/account_settings.h"
#include "module/module_state.h"

namespace quillon::module {

std::string NotInWarehouseQuestion(std::string_view invCode) {
  return "[" + std::string(invCode) + "]在仓库存货对照表中不存在！是否继续？";
}

WarehouseCheck CheckWarehouseForItems(std::string_view text, std::string_view invCode) {
  if (!gContext) throw automation::ComError::objectNotSet();
  using components::ArchiveKind;
  auto archive = components::createAs<components::WarehouseArchive>(
      components::archiveProgId(ArchiveKind::Warehouse));
  auto item = components::createAs<components::ArchiveItem>(
      components::archiveItemProgId(ArchiveKind::Warehouse));
  archive->setLogin(gContext);
  const std::string trimmed = automation::Trim(text);
  WarehouseCheck result;
  if (trimmed.empty() || !archive->load(trimmed, *item, true, true)) {
    forms::MsgBox(std::string(kWarehouseInvalid), forms::vbCritical,
                  std::string(forms::kPromptTitle));
    return result;
  }
  result.code = item->id();
  result.name = item->name();
  if (!invCode.empty() && CurrentAccountSettings().option("CheckWareInv") &&
      !archive->checkWareInv(result.code, invCode)) {
    const int answer =
        forms::MsgBox(NotInWarehouseQuestion(invCode), forms::vbYesNo | forms::vbQuestion,
                      std::string(forms::kPromptTitle));
    if (answer != forms::vbYes) return result;
  }
  result.accepted = true;
  return result;
}

}  // namespace quillon::module
