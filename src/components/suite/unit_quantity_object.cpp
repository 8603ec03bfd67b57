#include "components/suite/unit_quantity_object.h"

#include <cmath>

#include "ado/fields.h"
#include "ado/recordset.h"
#include "ado/recordset_view.h"
#include "automation/text_compare.h"
#include "automation/vb_strings.h"
#include "components/suite/component_errors.h"
#include "components/suite/rows.h"
#include "components/suite/session_objects.h"
#include "components/suite/suite_utility_object.h"
#include "components/suite_utility.h"
#include "sql/sql_text.h"

namespace quillon::components::suite {

using automation::Args;
using automation::in;
using automation::Variant;

namespace {

enum class Changed { Unit, Quantity, Pieces, Rate };

Changed classify(std::string_view field) {
  using automation::equalsNoCase;
  if (equalsNoCase(field, "iquantity")) return Changed::Quantity;
  if (equalsNoCase(field, "inum")) return Changed::Pieces;
  if (equalsNoCase(field, "iinvexchrate")) return Changed::Rate;
  return Changed::Unit;  // cinva_unit, cassunit, and any other edit of the line
}

std::string textOf(ado::Recordset& rs, std::string_view name) {
  return hasField(rs, name) ? rs.value(name).displayText() : std::string();
}

double numberOf(ado::Recordset& rs, std::string_view name) {
  return hasField(rs, name) ? suiteUtility()->fieldToNumber(rs.value(name)) : 0.0;
}

double kept(double v) {
  return suiteUtility()->roundByFormat(v, "0.000000");
}

}  // namespace

void UnitQuantityObject::recalculate(std::string_view changedField) {
  if (!context_) raise(kErrNoSession, "计量单位组件的会话上下文尚未设置");
  if (!body_) raise(kErrBadArgument, "计量单位组件的Body尚未设置");
  ado::Recordset& rs = *body_;
  if ((rs.bof() || rs.eof()) && rs.recordCount() > 0) rs.moveFirst();

  sql::Database& db = sessionConnection(*context_).database();
  const std::string invCode = automation::Trim(textOf(rs, "cinvcode"));
  Rows inv = queryRows(db,
                       "SELECT i.cGroupCode, isnull(g.iGroupType, i.iGroupType) AS iGroupType, "
                       "i.cSTComUnitCode, i.cAssComUnitCode FROM Inventory i LEFT JOIN "
                       "ComputationGroup g ON g.cGroupCode = i.cGroupCode WHERE i.cInvCode = " +
                           sql::literal(invCode));
  if (inv.empty()) raise(kErrBadArgument, "存货[" + invCode + "]不存在");

  int groupType = inv.at(0, "iGroupType").isNull() ? 0 : inv.at(0, "iGroupType").toLong();
  if (hasField(rs, "igrouptype") && !rs.value(std::string_view("igrouptype")).isNull()) {
    groupType = rs.value(std::string_view("igrouptype")).toLong();
  }
  if (groupType != 1 && groupType != 2) return;

  const Changed changed = classify(changedField);
  const std::string group = inv.text(0, "cGroupCode");

  // The unit the line names now: the edited unit text, else the unit code, else the item's own.
  std::string unitText;
  if (changed == Changed::Unit && !automation::equalsNoCase(changedField, "cassunit")) {
    unitText = automation::Trim(textOf(rs, "cinva_unit"));
  }
  if (unitText.empty()) unitText = automation::Trim(textOf(rs, "cassunit"));
  if (unitText.empty()) unitText = automation::Trim(textOf(rs, "cinva_unit"));
  if (unitText.empty()) unitText = inv.text(0, "cSTComUnitCode");
  if (unitText.empty()) unitText = inv.text(0, "cAssComUnitCode");

  Rows unit =
      queryRows(db,
                "SELECT cComunitCode, cComUnitName, iChangRate FROM ComputationUnit WHERE "
                "cGroupCode = " +
                    sql::literal(group) + " AND (cComunitCode = " + sql::literal(unitText) +
                    " OR cComUnitName = " + sql::literal(unitText) + ") ORDER BY cComunitCode");
  if (unit.empty()) {
    raise(kErrBadUnit, "计量单位[" + unitText + "]不属于存货[" + invCode + "]的计量单位组");
  }
  const double unitRate =
      unit.at(0, "iChangRate").isNull() ? 1.0 : unit.at(0, "iChangRate").toDouble();

  double q = numberOf(rs, "iquantity");
  double n = numberOf(rs, "inum");
  double r = numberOf(rs, "iinvexchrate");

  if (groupType == 1) {
    r = unitRate;
    if (changed == Changed::Pieces) {
      q = n * r;
    } else {
      n = r != 0 ? q / r : 0;
    }
  } else {
    switch (changed) {
      case Changed::Unit:
        if (n != 0) {
          r = q / n;
        } else {
          r = unitRate;
          n = r != 0 ? q / r : 0;
        }
        break;
      case Changed::Quantity:
      case Changed::Pieces:
        if (n != 0) {
          r = q / n;
        } else if (r != 0) {
          n = q / r;
        }
        break;
      case Changed::Rate:
        if (n != 0) {
          q = n * r;
        } else if (r != 0) {
          n = q / r;
        }
        break;
    }
  }

  if (hasField(rs, "cassunit")) rs.setValue(Variant("cassunit"), unit.at(0, "cComunitCode"));
  if (hasField(rs, "cinva_unit")) rs.setValue(Variant("cinva_unit"), unit.at(0, "cComUnitName"));
  if (hasField(rs, "iinvexchrate")) rs.setValue(Variant("iinvexchrate"), Variant(kept(r)));
  if (hasField(rs, "iquantity")) rs.setValue(Variant("iquantity"), Variant(kept(q)));
  if (hasField(rs, "inum")) rs.setValue(Variant("inum"), Variant(kept(n)));
  rs.update();
}

const automation::MemberTable& UnitQuantityObject::memberTable() const {
  using Self = UnitQuantityObject;
  static const automation::MemberTable table =
      automation::MemberBuilder<Self>("UnitQuantity")
          .property("Login", "SessionContext", nullptr, nullptr,
                    [](Self& self, Args& a) -> Variant {
                      self.setLogin(automation::toObjectAs<SessionContext>(a.value()));
                      return {};
                    })
          .property(
              "Body", "Recordset",
              [](Self& self, Args&) -> Variant {
                return Variant(automation::ObjectPtr(self.body()));
              },
              nullptr,
              [](Self& self, Args& a) -> Variant {
                self.setBody(automation::toObjectAs<ado::Recordset>(a.value()));
                return {};
              })
          .method("Recalculate", {automation::opt("sField", "String", "")}, "Boolean",
                  [](Self& self, Args& a) -> Variant {
                    self.recalculate(a.str(0));
                    return Variant(true);
                  })
          .build();
  return table;
}

}  // namespace quillon::components::suite
