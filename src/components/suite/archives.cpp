#include "components/suite/archives.h"

#include "ado/connection.h"
#include "automation/error_info.h"
#include "components/suite/archive_items.h"
#include "components/suite/archive_lookup.h"
#include "components/suite/component_errors.h"
#include "components/suite/session_objects.h"
#include "components/suite_utility.h"
#include "sql/sql_text.h"

namespace quillon::components::suite {

using automation::Args;
using automation::in;
using automation::opt;
using automation::Variant;

namespace {

SessionContext& requireContext(const std::shared_ptr<SessionContext>& context) {
  if (!context) raise(kErrNoSession, "档案对象的Login尚未设置");
  return *context;
}

bool loadInto(ArchiveKind kind, const std::shared_ptr<SessionContext>& context,
              std::string_view text, ArchiveItem& item, bool byCode, bool byName, bool endOnly) {
  auto* target = dynamic_cast<FillableItem*>(&item);
  if (target == nullptr || item.kind() != kind) {
    throw automation::ComError::typeMismatch();
  }
  SessionContext& ctx = requireContext(context);
  LookupResult found = lookupArchive(kind, ctx, text, byCode, byName, endOnly);
  if (!found.found) {
    suiteUtility()->errorInfo()->setLookupMessage(found.message);
    return false;
  }
  target->fillFrom(std::move(found.record), ctx);
  return true;
}

// The members every archive class shares; Self is the archive class.
template <class Self>
automation::MemberBuilder<Self>& commonMembers(automation::MemberBuilder<Self>& b) {
  return b
      .property(
          "Login", "SessionContext",
          [](Self& self, Args&) -> Variant {
            return Variant(automation::ObjectPtr(self.loginContext()));
          },
          nullptr,
          [](Self& self, Args& a) -> Variant {
            self.setLogin(automation::toObjectAs<SessionContext>(a.value()));
            return {};
          })
      .method(
          "load",
          {in("sText", "String"), in("oItem", "Object"), opt("bByCode", "Boolean", true),
           opt("bByName", "Boolean", true), opt("bEndOnly", "Boolean", false)},
          "Boolean",
          [](Self& self, Args& a) -> Variant {
            auto item = a.objectAs<ArchiveItem>(1);
            if (!item) {
              throw automation::ComError::objectNotSet();
            }
            return Variant(self.load(a.str(0), *item, a.boolean(2), a.boolean(3), a.boolean(4)));
          })
      .method("NewItem", {}, "Object", [](Self& self, Args&) -> Variant {
        return Variant(automation::ObjectPtr(self.newItem()));
      });
}

}  // namespace

bool ArchiveObject::load(std::string_view text, ArchiveItem& item, bool byCode, bool byName,
                         bool endLevelOnly) {
  return loadInto(kind_, context_, text, item, byCode, byName, endLevelOnly);
}

std::shared_ptr<ArchiveItem> ArchiveObject::newItem() const {
  return newArchiveItem(kind_);
}

const automation::MemberTable& ArchiveObject::memberTable() const {
  static const automation::MemberTable table = [] {
    automation::MemberBuilder<ArchiveObject> b("Archive");
    return commonMembers(b).build();
  }();
  return table;
}

bool WarehouseArchiveObject::load(std::string_view text, ArchiveItem& item, bool byCode,
                                  bool byName, bool endLevelOnly) {
  return loadInto(ArchiveKind::Warehouse, context_, text, item, byCode, byName, endLevelOnly);
}

std::shared_ptr<ArchiveItem> WarehouseArchiveObject::newItem() const {
  return newArchiveItem(ArchiveKind::Warehouse);
}

bool WarehouseArchiveObject::checkWareInv(std::string_view warehouseCode,
                                          std::string_view inventoryCode) {
  sql::Database& db = sessionConnection(requireContext(context_)).database();
  Rows rows = queryRows(
      db, "SELECT COUNT(*) AS n FROM WhAndInv WHERE cWhCode = " + sql::literal(warehouseCode) +
              " AND cInvCode = " + sql::literal(inventoryCode));
  return !rows.empty() && rows.at(0, "n").toLong() > 0;
}

const automation::MemberTable& WarehouseArchiveObject::memberTable() const {
  static const automation::MemberTable table = [] {
    automation::MemberBuilder<WarehouseArchiveObject> b("WarehouseArchive");
    commonMembers(b).method("CheckWareInv", {in("sWhCode", "String"), in("sInvCode", "String")},
                            "Boolean", [](WarehouseArchiveObject& self, Args& a) -> Variant {
                              return Variant(self.checkWareInv(a.str(0), a.str(1)));
                            });
    return b.build();
  }();
  return table;
}

std::shared_ptr<Archive> newArchive(ArchiveKind kind) {
  if (kind == ArchiveKind::Warehouse) return std::make_shared<WarehouseArchiveObject>();
  return std::make_shared<ArchiveObject>(kind);
}

}  // namespace quillon::components::suite
