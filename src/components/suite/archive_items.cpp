#include "components/suite/archive_items.h"

#include "ado/connection.h"
#include "automation/com_error.h"
#include "components/suite/archive_lookup.h"
#include "components/suite/session_objects.h"
#include "sql/sql_text.h"

namespace quillon::components::suite {

using automation::Args;
using automation::InvokeKind;
using automation::Variant;

namespace {

// A column as a late-bound read: only gets without arguments, only columns the record has.
std::optional<Variant> dynamicColumn(const Rows& record, std::string_view name, InvokeKind kind,
                                     std::span<Variant> args) {
  if (kind != InvokeKind::PropertyGet && kind != InvokeKind::Method) return std::nullopt;
  if (!args.empty() || record.empty() || !record.column(name)) return std::nullopt;
  return record.at(0, name);
}

Variant recordColumn(const Rows& record, std::string_view name) {
  if (record.empty()) return Variant();
  if (!record.column(name)) {
    throw automation::ComError::memberNotFound();
  }
  return record.at(0, name);
}

std::string recordText(const Rows& record, std::string_view column) {
  return record.empty() ? std::string() : record.text(0, column);
}

}  // namespace

// --- ArchiveItemObject

std::string ArchiveItemObject::id() const {
  return recordText(record_, archiveTable(kind_).codeColumn);
}

std::string ArchiveItemObject::name() const {
  return recordText(record_, archiveTable(kind_).nameColumn);
}

Variant ArchiveItemObject::column(std::string_view name) const {
  return recordColumn(record_, name);
}

void ArchiveItemObject::fillFrom(Rows record, SessionContext&) {
  record_ = std::move(record);
}

const automation::MemberTable& ArchiveItemObject::memberTable() const {
  using Self = ArchiveItemObject;
  static const automation::MemberTable table =
      automation::MemberBuilder<Self>("ArchiveItem")
          .getter("id", "String", [](Self& self, Args&) -> Variant { return Variant(self.id()); })
          .getter("name", "String",
                  [](Self& self, Args&) -> Variant { return Variant(self.name()); })
          .getter("Loaded", "Boolean",
                  [](Self& self, Args&) -> Variant { return Variant(self.loaded()); })
          .build();
  return table;
}

std::optional<Variant> ArchiveItemObject::invokeDynamic(std::string_view name, InvokeKind kind,
                                                        std::span<Variant> args) {
  return dynamicColumn(record_, name, kind, args);
}

// --- InventoryItemObject

std::string InventoryItemObject::id() const {
  return recordText(record_, "cInvCode");
}
std::string InventoryItemObject::name() const {
  return recordText(record_, "cInvName");
}

Variant InventoryItemObject::column(std::string_view name) const {
  return recordColumn(record_, name);
}

void InventoryItemObject::fillFrom(Rows record, SessionContext& context) {
  sql::Database& db = sessionConnection(context).database();
  Rows inv = std::move(record);
  const std::string group = recordText(inv, "cGroupCode");
  const std::string main = recordText(inv, "cComUnitCode");
  std::string stock = recordText(inv, "cSTComUnitCode");
  if (stock.empty()) stock = recordText(inv, "cAssComUnitCode");

  UnitGroupType type = UnitGroupType::None;
  if (!group.empty()) {
    Rows g = queryRows(
        db, "SELECT iGroupType FROM ComputationGroup WHERE cGroupCode = " + sql::literal(group));
    if (!g.empty()) {
      int t = g.at(0, "iGroupType").isNull() ? 0 : g.at(0, "iGroupType").toLong();
      if (t == 1) type = UnitGroupType::Fixed;
      if (t == 2) type = UnitGroupType::Floating;
    }
  }
  auto unit = [&](const std::string& code) {
    return code.empty() ? Rows{}
                        : queryRows(db,
                                    "SELECT cComUnitName, iChangRate FROM ComputationUnit "
                                    "WHERE cComunitCode = " +
                                        sql::literal(code));
  };
  Rows mainUnit = unit(main);
  Rows stockUnit = type == UnitGroupType::None ? Rows{} : unit(stock);

  record_ = std::move(inv);
  groupType_ = type;
  groupCode_ = group;
  mainUnitCode_ = main;
  mainUnitName_ = recordText(mainUnit, "cComUnitName");
  stockUnitCode_ = stockUnit.empty() ? std::string() : stock;
  stockUnitName_ = recordText(stockUnit, "cComUnitName");
  fixedRate_ = 0;
  if (type == UnitGroupType::Fixed && !stockUnit.empty() &&
      !stockUnit.at(0, "iChangRate").isNull()) {
    fixedRate_ = stockUnit.at(0, "iChangRate").toDouble();
  }
}

std::int32_t InventoryItemObject::inventoryId() const {
  return record_.empty() ? 0 : record_.at(0, "iId").toLong();
}

bool InventoryItemObject::flag(std::string_view column) const {
  if (record_.empty() || !record_.column(column)) return false;
  const Variant& v = record_.at(0, column);
  return !v.isNull() && v.toBool();
}

bool InventoryItemObject::batchManaged() const {
  return flag("bInvBatch");
}
bool InventoryItemObject::shelfLifeManaged() const {
  return flag("bInvQuality");
}

bool InventoryItemObject::usesFreeItem(int index) const {
  if (index < 1 || index > 10) return false;
  return flag("bFree" + std::to_string(index));
}

bool InventoryItemObject::usesPieces() const {
  return groupType_ != UnitGroupType::None && !stockUnitCode_.empty();
}

bool InventoryItemObject::notCheckNum() const {
  return flag("bNotCheckNum") || !usesPieces();
}

const automation::MemberTable& InventoryItemObject::memberTable() const {
  using Self = InventoryItemObject;
  static const automation::MemberTable table =
      automation::MemberBuilder<Self>("InventoryItem")
          .getter("id", "String", [](Self& self, Args&) -> Variant { return Variant(self.id()); })
          .getter("name", "String",
                  [](Self& self, Args&) -> Variant { return Variant(self.name()); })
          .getter("Loaded", "Boolean",
                  [](Self& self, Args&) -> Variant { return Variant(self.loaded()); })
          .getter("iGroupType", "Long",
                  [](Self& self, Args&) -> Variant {
                    return Variant(static_cast<std::int32_t>(self.groupType()));
                  })
          .getter("cGroupCode", "String",
                  [](Self& self, Args&) -> Variant { return Variant(self.groupCode()); })
          .getter("cMainUnitCode", "String",
                  [](Self& self, Args&) -> Variant { return Variant(self.mainUnitCode()); })
          .getter("cMainUnitName", "String",
                  [](Self& self, Args&) -> Variant { return Variant(self.mainUnitName()); })
          .getter("cStockUnitCode", "String",
                  [](Self& self, Args&) -> Variant { return Variant(self.stockUnitCode()); })
          .getter("cStockUnitName", "String",
                  [](Self& self, Args&) -> Variant { return Variant(self.stockUnitName()); })
          .getter("fFixedRate", "Double",
                  [](Self& self, Args&) -> Variant { return Variant(self.fixedRate()); })
          .getter("bUsePieces", "Boolean",
                  [](Self& self, Args&) -> Variant { return Variant(self.usesPieces()); })
          .getter("bNotCheckNum", "Boolean",
                  [](Self& self, Args&) -> Variant { return Variant(self.notCheckNum()); })
          .build();
  return table;
}

std::optional<Variant> InventoryItemObject::invokeDynamic(std::string_view name, InvokeKind kind,
                                                          std::span<Variant> args) {
  return dynamicColumn(record_, name, kind, args);
}

std::shared_ptr<ArchiveItem> newArchiveItem(ArchiveKind kind) {
  if (kind == ArchiveKind::Inventory) return std::make_shared<InventoryItemObject>();
  return std::make_shared<ArchiveItemObject>(kind);
}

}  // namespace quillon::components::suite
