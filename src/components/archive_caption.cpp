#include "components/archive.h"

namespace quillon::components {

std::string_view archiveCaption(ArchiveKind kind) {
  switch (kind) {
    case ArchiveKind::Warehouse:
      return "仓库";
    case ArchiveKind::Customer:
      return "客户";
    case ArchiveKind::Department:
      return "部门";
    case ArchiveKind::Person:
      return "职员";
    case ArchiveKind::Vendor:
      return "供应商";
    case ArchiveKind::Inventory:
      return "存货";
  }
  return "档案";
}

}  // namespace quillon::components
