#include "components/suite/archive_lookup.h"

#include "ado/connection.h"
#include "automation/vb_strings.h"
#include "components/suite/session_objects.h"
#include "sql/sql_text.h"

namespace quillon::components::suite {

namespace {

std::string caption(ArchiveKind kind) {
  return std::string(archiveCaption(kind));
}

std::string_view permissionKind(ArchiveKind kind);

}  // namespace

const ArchiveTable& archiveTable(ArchiveKind kind) {
  static const ArchiveTable kWarehouse{"Warehouse", "cWhCode", "cWhName", "", "cWhCode", ""};
  static const ArchiveTable kCustomer{"Customer",    "cCusCode", "cCusName",
                                      "cCusAbbName", "cCusCode", ""};
  static const ArchiveTable kDepartment{"Department", "cDepCode", "cDepName",
                                        "",           "cDepCode", "bDepEnd"};
  static const ArchiveTable kPerson{"Person", "cPersonCode", "cPersonName", "", "cPersonCode", ""};
  static const ArchiveTable kVendor{"Vendor",      "cVenCode", "cVenName",
                                    "cVenAbbName", "cVenCode", ""};
  static const ArchiveTable kInventory{"Inventory", "cInvCode", "cInvName", "", "iId", ""};
  switch (kind) {
    case ArchiveKind::Warehouse:
      return kWarehouse;
    case ArchiveKind::Customer:
      return kCustomer;
    case ArchiveKind::Department:
      return kDepartment;
    case ArchiveKind::Person:
      return kPerson;
    case ArchiveKind::Vendor:
      return kVendor;
    case ArchiveKind::Inventory:
      return kInventory;
  }
  return kWarehouse;
}

namespace {

std::string_view permissionKind(ArchiveKind kind) {
  switch (kind) {
    case ArchiveKind::Warehouse:
      return "warehouse";
    case ArchiveKind::Customer:
      return "customer";
    case ArchiveKind::Department:
      return "department";
    case ArchiveKind::Person:
      return "person";
    case ArchiveKind::Vendor:
      return "vendor";
    case ArchiveKind::Inventory:
      return "inventory";
  }
  return "";
}

}  // namespace

LookupResult lookupArchive(ArchiveKind kind, SessionContext& context, std::string_view text,
                           bool byCode, bool byName, bool endLevelOnly) {
  const ArchiveTable& t = archiveTable(kind);
  const std::string value = automation::Trim(text);
  LookupResult result;
  if (value.empty()) {
    result.message = "请输入" + caption(kind) + "编码或名称";
    return result;
  }
  sql::Database& db = sessionConnection(context).database();
  const std::string select = "SELECT * FROM " + std::string(t.table) + " WHERE ";
  const std::string order = " ORDER BY " + std::string(t.codeColumn);

  auto find = [&](const std::string& condition) {
    return queryRows(db, select + condition + order);
  };

  Rows rows;
  if (byCode) rows = find(std::string(t.codeColumn) + " = " + sql::literal(value));
  if (rows.empty() && byName) {
    std::string condition = std::string(t.nameColumn) + " = " + sql::literal(value);
    if (!t.altNameColumn.empty()) {
      condition = "(" + condition + " OR " + std::string(t.altNameColumn) + " = " +
                  sql::literal(value) + ")";
    }
    rows = find(condition);
  }
  if (rows.empty()) {
    result.message = caption(kind) + "[" + value + "]不存在！";
    return result;
  }

  bool allowed = true;
  if (kind == ArchiveKind::Inventory) {
    // A clerk of a large account may have a hundred thousand inventory rights: the record's own
    // id is asked for rather than the whole list.
    allowed = context.permitsInventory(rows.at(0, t.permissionColumn).toLong(), "");
  } else if (std::string permitted = context.permissionList(permissionKind(kind), "", "");
             !permitted.empty()) {
    const std::string code = rows.text(0, t.codeColumn);
    allowed = !find(std::string(t.codeColumn) + " = " + sql::literal(code) + " AND " +
                    std::string(t.permissionColumn) + " IN(" + permitted + ")")
                   .empty();
  }
  if (!allowed) {
    result.message = "没有" + caption(kind) + "[" + value + "]的使用权限！";
    return result;
  }
  if (endLevelOnly && !t.endFlagColumn.empty() && !rows.at(0, t.endFlagColumn).toBool()) {
    result.message = caption(kind) + "[" + value + "]不是末级" + caption(kind) + "！";
    return result;
  }
  result.found = true;
  result.record = std::move(rows);
  return result;
}

}  // namespace quillon::components::suite
