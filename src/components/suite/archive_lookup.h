// Finding one archive record by code or name, for the archive objects.
//
// The text is trimmed; it is looked up as a code first (when asked), then as a name (when asked);
// customers and vendors also match their abbreviated names. When the user of the session is
// restricted for the kind, only permitted records are found. Failure messages:
//   "请输入<类>编码或名称"            the text is empty
//   "<类>[text]不存在！"              no record (e.g. "仓库[09]不存在！")
//   "没有<类>[text]的使用权限！"      a record exists but the user may not use it
//   "部门[text]不是末级部门！"        end-level departments only, and this one is not
// where <类> is the kind's caption (仓库, 客户, 部门, 职员, 供应商, 存货).
#pragma once

#include <string>
#include <string_view>

#include "components/archive.h"
#include "components/suite/rows.h"

namespace quillon::components::suite {

struct ArchiveTable {
  std::string_view table;
  std::string_view codeColumn;
  std::string_view nameColumn;
  std::string_view altNameColumn;  // "" when the kind has none
  std::string_view permissionColumn;
  std::string_view endFlagColumn;  // "" when the kind has no levels
};

const ArchiveTable& archiveTable(ArchiveKind kind);

struct LookupResult {
  bool found = false;
  Rows record;  // one row when found
  std::string message;
};

LookupResult lookupArchive(ArchiveKind kind, SessionContext& context, std::string_view text,
                           bool byCode, bool byName, bool endLevelOnly);

}  // namespace quillon::components::suite
