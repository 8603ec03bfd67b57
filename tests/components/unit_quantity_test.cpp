#include <gtest/gtest.h>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/com_error.h"
#include "components/suite/component_errors.h"
#include "components/suite/unit_quantity_object.h"
#include "demo_sessions.h"

namespace quillon::components {
namespace {

using automation::Variant;

// A one-record line as the line grids hand it over.
std::shared_ptr<ado::Recordset> line(SessionContext& context, const std::string& inv,
                                     const std::string& unit, double q, double n, double r) {
  auto rs = std::make_shared<ado::Recordset>();
  rs->open("SELECT cInvCode AS cinvcode, '" + unit + "' AS cinva_unit, " + std::to_string(q) +
               " AS iquantity, " + std::to_string(n) + " AS inum, " + std::to_string(r) +
               " AS iinvexchrate FROM Inventory WHERE cInvCode = '" + inv + "'",
           context.connection());
  return rs;
}

double field(ado::Recordset& rs, std::string_view name) {
  return rs.value(name).toDouble();
}

TEST(UnitQuantity, RecalculatesByUnitGroupType) {
  auto context = testing::sessionFor("demo");
  suite::UnitQuantityObject comp;
  comp.setLogin(context);

  // Fixed group (个/盒/箱): choosing 箱 takes its rate 100; pieces follow the quantity.
  auto rs = line(*context, "0102001", "箱", 500, 50, 10);
  comp.setBody(rs);
  comp.recalculate("cinva_unit");
  EXPECT_EQ(field(*rs, "iinvexchrate"), 100.0);
  EXPECT_EQ(field(*rs, "inum"), 5.0);
  EXPECT_EQ(field(*rs, "iquantity"), 500.0);
  // Pieces edited: the quantity follows.
  rs->setValue(Variant("inum"), Variant(3.0));
  comp.recalculate("inum");
  EXPECT_EQ(field(*rs, "iquantity"), 300.0);

  // Floating group: pieces are kept and the rate follows.
  rs = line(*context, "0101001", "张", 100, 4, 36.8);
  comp.setBody(rs);
  comp.recalculate("iquantity");
  EXPECT_EQ(field(*rs, "iinvexchrate"), 25.0);
  EXPECT_EQ(field(*rs, "inum"), 4.0);
  // No pieces yet: the unit's rate gives them.
  rs = line(*context, "0101001", "0302", 73.6, 0, 0);
  comp.setBody(rs);
  comp.recalculate("cinva_unit");
  EXPECT_EQ(field(*rs, "iinvexchrate"), 36.8);
  EXPECT_EQ(field(*rs, "inum"), 2.0);
  EXPECT_EQ(rs->value(std::string_view("cinva_unit")).toString(), "张");  // code became its name

  // Single unit: nothing changes.
  rs = line(*context, "0103001", "台", 7, 1, 3);
  comp.setBody(rs);
  comp.recalculate("cinva_unit");
  EXPECT_EQ(field(*rs, "inum"), 1.0);
  EXPECT_EQ(field(*rs, "iinvexchrate"), 3.0);
}

TEST(UnitQuantity, RefusesUnitsOfAnotherGroupAndMissingParts) {
  auto context = testing::sessionFor("demo");
  suite::UnitQuantityObject comp;
  EXPECT_THROW(comp.recalculate("iquantity"), automation::ComError);  // no Login yet
  comp.setLogin(context);
  auto rs = line(*context, "0102001", "桶", 10, 1, 10);
  comp.setBody(rs);
  try {
    comp.recalculate("cinva_unit");
    ADD_FAILURE() << "a unit of another group was accepted";
  } catch (const automation::ComError& e) {
    EXPECT_EQ(e.number(), suite::kErrBadUnit);
  }
  EXPECT_EQ(field(*rs, "iquantity"), 10.0);  // the line is left as it was
  // Late-bound, as the grids drive it.
  rs = line(*context, "0102001", "盒", 30, 0, 0);
  comp.set("Body", rs);
  EXPECT_EQ(comp.call("Recalculate", {Variant("cinva_unit")}), Variant(true));
  EXPECT_EQ(field(*rs, "inum"), 3.0);
}

}  // namespace
}  // namespace quillon::components
