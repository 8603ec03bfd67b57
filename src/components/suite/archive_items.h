// The item objects the archive objects fill: one record of a warehouse, customer, department,
// person, vendor or inventory. "id" is the code, "name" the name; every column of the record is a
// late-bound member of its own name (item.cWhName, item.bInvBatch).
//
// Inventory items add, read from the unit tables at load:
//   iGroupType, cGroupCode               unit group and its type (0 none, 1 fixed, 2 floating)
//   cMainUnitCode, cMainUnitName         the main unit (cComUnitCode)
//   cStockUnitCode, cStockUnitName       the stock unit (cSTComUnitCode, else cAssComUnitCode)
//   fFixedRate                           the stock unit's rate in a fixed group, else 0
//   bUsePieces                           counted in pieces too (group 1 or 2 with a stock unit)
//   bNotCheckNum                         piece counts are not checked: the column of that name,
//                                        or an item that is not counted in pieces
#pragma once

#include <memory>

#include "components/archive.h"
#include "components/suite/rows.h"

namespace quillon::components::suite {

// What an archive object needs of the items it fills.
class FillableItem {
 public:
  virtual ~FillableItem() = default;
  virtual void fillFrom(Rows record, SessionContext& context) = 0;
};

class ArchiveItemObject final : public ArchiveItem, public FillableItem {
 public:
  explicit ArchiveItemObject(ArchiveKind kind) : kind_(kind) {}

  ArchiveKind kind() const override { return kind_; }
  bool loaded() const override { return !record_.empty(); }
  std::string id() const override;
  std::string name() const override;
  automation::Variant column(std::string_view name) const override;
  void fillFrom(Rows record, SessionContext& context) override;

  const automation::MemberTable& memberTable() const override;
  std::optional<automation::Variant> invokeDynamic(std::string_view name,
                                                   automation::InvokeKind kind,
                                                   std::span<automation::Variant> args) override;

 private:
  ArchiveKind kind_;
  Rows record_;
};

class InventoryItemObject final : public InventoryItem, public FillableItem {
 public:
  ArchiveKind kind() const override { return ArchiveKind::Inventory; }
  bool loaded() const override { return !record_.empty(); }
  std::string id() const override;
  std::string name() const override;
  automation::Variant column(std::string_view name) const override;
  void fillFrom(Rows record, SessionContext& context) override;

  std::int32_t inventoryId() const override;
  UnitGroupType groupType() const override { return groupType_; }
  std::string groupCode() const override { return groupCode_; }
  std::string mainUnitCode() const override { return mainUnitCode_; }
  std::string mainUnitName() const override { return mainUnitName_; }
  std::string stockUnitCode() const override { return stockUnitCode_; }
  std::string stockUnitName() const override { return stockUnitName_; }
  double fixedRate() const override { return fixedRate_; }
  bool batchManaged() const override;
  bool shelfLifeManaged() const override;
  bool usesFreeItem(int index) const override;
  bool notCheckNum() const override;
  bool usesPieces() const override;

  const automation::MemberTable& memberTable() const override;
  std::optional<automation::Variant> invokeDynamic(std::string_view name,
                                                   automation::InvokeKind kind,
                                                   std::span<automation::Variant> args) override;

 private:
  bool flag(std::string_view column) const;

  Rows record_;
  UnitGroupType groupType_ = UnitGroupType::None;
  std::string groupCode_;
  std::string mainUnitCode_;
  std::string mainUnitName_;
  std::string stockUnitCode_;
  std::string stockUnitName_;
  double fixedRate_ = 0;
};

std::shared_ptr<ArchiveItem> newArchiveItem(ArchiveKind kind);

}  // namespace quillon::components::suite
