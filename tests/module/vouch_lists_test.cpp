#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ado/data_type.h"
#include "ado/recordset.h"
#include "forms/vouch_list.h"
#include "module/vouch_lists.h"

namespace quillon::module {
namespace {

using automation::Variant;

std::shared_ptr<ado::Recordset> lines() {
  std::vector<ado::FieldDef> defs{ado::fieldFromAdoType("MainID", ado::adInteger, 0),
                                  ado::fieldFromAdoType("cInvCode", ado::adVarWChar, 20),
                                  ado::fieldFromAdoType("fQuantity", ado::adDouble, 0),
                                  ado::fieldFromAdoType("cDefine26", ado::adDouble, 0),
                                  ado::fieldFromAdoType("iinvexchrate", ado::adVarWChar, 20)};
  auto rs = ado::Recordset::fabricate(std::move(defs));
  const std::vector<std::vector<Variant>> rows{
      {Variant(1), Variant("0201001"), Variant(1250.5), Variant(3.0), Variant("")},
      {Variant(2), Variant("0201002"), Variant(), Variant(0.25), Variant("12.5")}};
  for (const auto& row : rows) {
    rs->addNew();
    rs->setValue(Variant("MainID"), row[0]);
    rs->setValue(Variant("cInvCode"), row[1]);
    rs->setValue(Variant("fQuantity"), row[2]);
    rs->setValue(Variant("cDefine26"), row[3]);
    rs->setValue(Variant("iinvexchrate"), row[4]);
    rs->update();
  }
  return rs;
}

TEST(VouchLists, FilledFromDefinitionsWithTheFormatsOfColumnsAndFields) {
  forms::MarlinVouchList list("VouchListB");
  const auto rs = lines();
  FillVouchList(list,
                "MainID,行ID,0;cInvCode,产品编码,1100;fQuantity,数量,1000,#,##0.0;"
                "cDefine26,自定义,800;iinvexchrate,换算率,900;cMissing,无此字段,500",
                rs.get(), {{"FQUANTITY", "#,##0.00"}, {"iinvexchrate", "0.000"}}, "0.0000");
  ASSERT_EQ(list.Rows(), 3);
  EXPECT_EQ(list.TextMatrix(0, 2), "产品编码");
  // The field's format wins over the column's; Null and a text that is no number as stored.
  EXPECT_EQ(VouchCell(list, 1, "fQuantity"), "1,250.50");
  EXPECT_EQ(VouchCell(list, 2, "fQuantity"), "");
  EXPECT_EQ(VouchCell(list, 2, "iinvexchrate"), "12.500");
  EXPECT_EQ(VouchCell(list, 1, "iinvexchrate"), "");
  // The numeric user-defined column takes the define format.
  EXPECT_EQ(list.columns()[3].format, "0.0000");
  EXPECT_EQ(VouchCell(list, 2, "cDefine26"), "0.2500");
  EXPECT_EQ(VouchCell(list, 1, "cMissing"), "");
  EXPECT_EQ(VouchCell(list, 1, "nosuchkey"), "");

  // Marks: from code, read back in list order.
  MarkAllRows(list, true);
  EXPECT_EQ(MarkedRows(list), (std::vector<int>{1, 2}));
  list.setMarked(1, false);
  EXPECT_EQ(MarkedCells(list, "MainID"), (std::vector<std::string>{"2"}));
  // A filter on the recordset shows only its rows; a refill drops the marks.
  rs->setFilter(Variant("cInvCode = '0201001'"));
  FillVouchList(list, "MainID,行ID,0;cInvCode,产品编码,1100", rs.get());
  EXPECT_EQ(list.Rows(), 2);
  EXPECT_TRUE(MarkedRows(list).empty());
  // A shown text turns a field's text (a code into its name) in the list, not in the recordset.
  rs->setFilter(Variant(""));
  const VouchFieldTexts texts{{"CINVCODE", [](std::string_view code) {
                                 return code == "0201002" ? std::string("螺栓") : std::string(code);
                               }}};
  FillVouchList(list, "MainID,行ID,0;cInvCode,产品编码,1100", rs.get(), {}, {}, texts);
  EXPECT_EQ(VouchCell(list, 1, "cInvCode"), "0201001");
  EXPECT_EQ(VouchCell(list, 2, "cInvCode"), "螺栓");
  rs->moveLast();
  EXPECT_EQ(rs->value("cInvCode").displayText(), "0201002");
  // Without a recordset only the layout.
  FillVouchList(list, "cInvCode,产品编码,1100", nullptr);
  EXPECT_EQ(list.Rows(), 1);
  EXPECT_EQ(list.Cols(), 2);
}

TEST(VouchLists, NumericDefineFields) {
  for (const char* yes : {"cdefine1", "CDEFINE37", "cinvdefine16", "cVenDefine3", "tdqtyd"}) {
    EXPECT_TRUE(IsNumericDefineField(yes)) << yes;
  }
  for (const char* no : {"cdefine", "cdefinex", "cdefine1a", "define1", "cInvCode", "tdqty"}) {
    EXPECT_FALSE(IsNumericDefineField(no)) << no;
  }
}

}  // namespace
}  // namespace quillon::module
