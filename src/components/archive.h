// The archive objects: lookups of warehouses, customers, departments, persons, vendors and
// inventories by code or name, each filling an item object.
//
// Use, late-bound as the lookups of filter fields do it:
//   archive.Login = context          ' a SessionContext
//   ok = archive.load(text, item, True, True [, True])
// load's flags: look the text up as a code, then (when not found) as a name; for departments a
// third flag accepts end-level departments only. On failure load returns False, leaves the item
// unchanged and sets the last archive-lookup failure message of the error-information object
// (e.g. "仓库[xx]不存在！"); the messages are listed in docs/session-services.md.
//
// Items answer "id" (the code), "name" and every column of their table by its name.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "automation/dispatch.h"
#include "components/session_context.h"

namespace quillon::components {

enum class ArchiveKind { Warehouse, Customer, Department, Person, Vendor, Inventory };

class ArchiveItem : public automation::Object {
 public:
  virtual ArchiveKind kind() const = 0;
  virtual bool loaded() const = 0;
  virtual std::string id() const = 0;
  virtual std::string name() const = 0;
  // A column of the item's record by name (without regard to case); Empty when not loaded, 438
  // when the table has no such column.
  virtual automation::Variant column(std::string_view name) const = 0;
};

// Unit group types of inventories.
enum class UnitGroupType { None = 0, Fixed = 1, Floating = 2 };

class InventoryItem : public ArchiveItem {
 public:
  virtual std::int32_t inventoryId() const = 0;  // iID, the key of inventory permissions
  virtual UnitGroupType groupType() const = 0;
  virtual std::string groupCode() const = 0;
  virtual std::string mainUnitCode() const = 0;
  virtual std::string mainUnitName() const = 0;
  virtual std::string stockUnitCode() const = 0;  // "" when the item has no stock unit
  virtual std::string stockUnitName() const = 0;
  // Stock unit to main unit rate for a fixed group; 0 otherwise.
  virtual double fixedRate() const = 0;
  virtual bool batchManaged() const = 0;      // bInvBatch
  virtual bool shelfLifeManaged() const = 0;  // bInvQuality
  // Free items 1..10 in use (bFree1..bFree10).
  virtual bool usesFreeItem(int index) const = 0;
  // The piece-count flag "bNotCheckNum": True when piece counts of this item are not checked
  // against each other (items without a stock unit, or explicitly marked so).
  virtual bool notCheckNum() const = 0;
  // The unit flag the stock selection reads: the item is counted in pieces as well
  // ("bUsePieces": a unit group of type 1 or 2 with a stock unit).
  virtual bool usesPieces() const = 0;
};

class Archive : public automation::Object {
 public:
  virtual ArchiveKind kind() const = 0;
  virtual void setLogin(std::shared_ptr<SessionContext> context) = 0;
  virtual std::shared_ptr<SessionContext> loginContext() const = 0;
  virtual bool load(std::string_view text, ArchiveItem& item, bool byCode, bool byName,
                    bool endLevelOnly = false) = 0;
  // A new, empty item object of this archive's kind.
  virtual std::shared_ptr<ArchiveItem> newItem() const = 0;
};

class WarehouseArchive : public Archive {
 public:
  // True when the warehouse keeps the item: a row of the warehouse-inventory table.
  virtual bool checkWareInv(std::string_view warehouseCode, std::string_view inventoryCode) = 0;
};

// The caption of a kind in failure messages ("仓库", "客户", "部门", "职员", "供应商", "存货").
std::string_view archiveCaption(ArchiveKind kind);

// ProgIDs of the suite's archive and item classes: "Quillon.Suite.WarehouseArchive" and
// "Quillon.Suite.Warehouse", and so on for Customer, Department, Person, Vendor, Inventory.
std::string archiveProgId(ArchiveKind kind);
std::string archiveItemProgId(ArchiveKind kind);

}  // namespace quillon::components
