// The archive objects of the suite: Login (Set: the SessionContext), load(sText, oItem,
// [bByCode = True], [bByName = True], [bEndOnly = False]) As Boolean, NewItem. The warehouse
// archive also answers CheckWareInv(sWhCode, sInvCode) As Boolean. What load finds and the
// failure messages it leaves in the error-information object: components/suite/archive_lookup.h.
#pragma once

#include <memory>

#include "components/archive.h"

namespace quillon::components::suite {

class ArchiveObject final : public Archive {
 public:
  explicit ArchiveObject(ArchiveKind kind) : kind_(kind) {}

  ArchiveKind kind() const override { return kind_; }
  void setLogin(std::shared_ptr<SessionContext> context) override { context_ = std::move(context); }
  std::shared_ptr<SessionContext> loginContext() const override { return context_; }
  bool load(std::string_view text, ArchiveItem& item, bool byCode, bool byName,
            bool endLevelOnly = false) override;
  std::shared_ptr<ArchiveItem> newItem() const override;

  const automation::MemberTable& memberTable() const override;

 private:
  ArchiveKind kind_;
  std::shared_ptr<SessionContext> context_;
};

class WarehouseArchiveObject final : public WarehouseArchive {
 public:
  ArchiveKind kind() const override { return ArchiveKind::Warehouse; }
  void setLogin(std::shared_ptr<SessionContext> context) override { context_ = std::move(context); }
  std::shared_ptr<SessionContext> loginContext() const override { return context_; }
  bool load(std::string_view text, ArchiveItem& item, bool byCode, bool byName,
            bool endLevelOnly = false) override;
  std::shared_ptr<ArchiveItem> newItem() const override;
  bool checkWareInv(std::string_view warehouseCode, std::string_view inventoryCode) override;

  const automation::MemberTable& memberTable() const override;

 private:
  std::shared_ptr<SessionContext> context_;
};

std::shared_ptr<Archive> newArchive(ArchiveKind kind);

}  // namespace quillon::components::suite
