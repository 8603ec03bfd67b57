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

namespace {

std::string_view kindName(ArchiveKind kind) {
  switch (kind) {
    case ArchiveKind::Warehouse:
      return "Warehouse";
    case ArchiveKind::Customer:
      return "Customer";
    case ArchiveKind::Department:
      return "Department";
    case ArchiveKind::Person:
      return "Person";
    case ArchiveKind::Vendor:
      return "Vendor";
    case ArchiveKind::Inventory:
      return "Inventory";
  }
  return "Archive";
}

}  // namespace

std::string archiveProgId(ArchiveKind kind) {
  return "Quillon.Suite." + std::string(kindName(kind)) + "Archive";
}

std::string archiveItemProgId(ArchiveKind kind) {
  return "Quillon.Suite." + std::string(kindName(kind));
}

}  // namespace quillon::components
