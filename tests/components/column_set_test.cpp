#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ado/connection.h"
#include "automation/com_error.h"
#include "components/suite/lists/column_set.h"
#include "demo_sessions.h"
#include "forms/vouch_list.h"
#include "support/silent_ui_host.h"

namespace quillon::components {
namespace {

using suite::ColumnSetObject;
using test_support::connect;

// Answers the settings dialog with a prepared text (or cancels) and keeps what it was shown.
class SettingsHost : public test_support::SilentUiHost {
 public:
  void runModal(forms::Form&) override {}
  std::optional<std::string> columnSettings(const forms::ColumnSettingsRequest& request) override {
    shown.push_back(request.definitions);
    return answer;
  }
  std::optional<std::string> answer;
  std::vector<std::string> shown;
};

std::vector<std::string> namesOf(const std::string& fieldList) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start < fieldList.size()) {
    // Expressions hold commas inside parentheses only; the name follows the last " AS ".
    int depth = 0;
    std::size_t end = start;
    for (; end < fieldList.size(); ++end) {
      if (fieldList[end] == '(') ++depth;
      if (fieldList[end] == ')') --depth;
      if (fieldList[end] == ',' && depth == 0) break;
    }
    const std::string entry = fieldList.substr(start, end - start);
    names.push_back(entry.substr(entry.rfind(" AS ") + 4));
    start = end + 1;
  }
  return names;
}

std::vector<std::string> keysOf(const std::string& definitions) {
  std::vector<std::string> keys;
  for (const auto& c : forms::parseColumnDefinitions(definitions)) keys.push_back(c.key);
  return keys;
}

std::shared_ptr<ColumnSetObject> boundSet(const std::string& user,
                                          const std::shared_ptr<ado::Connection>& conn,
                                          const char* table) {
  auto set = std::make_shared<ColumnSetObject>();
  set->initialise(user, "demo.2026", conn);
  set->bind(table);
  return set;
}

TEST(ColumnSet, TheUsersOwnSetComesBeforeTheAccountDefault) {
  auto conn = connect(testing::demoPath());
  auto head = boundSet("omclerk", conn, "om_productpo");
  EXPECT_EQ(head->tableName(), "OM_ProductPO");
  EXPECT_FALSE(head->ownSet());
  EXPECT_EQ(head->fieldList().rfind("P.ID AS ID,P.cCode AS cCode,P.dDate AS dDate,", 0), 0u);
  // Fields and definitions name the same columns in the same order.
  EXPECT_EQ(namesOf(head->fieldList()), keysOf(head->columnDefinitions()));
  EXPECT_EQ(namesOf(head->fieldList()).size(), 14u);

  auto own = boundSet("omclerk", conn, "OM_PODetails");
  EXPECT_TRUE(own->ownSet());
  EXPECT_EQ(
      own->fieldList().rfind("P.SubID AS SubID,P.MainID AS mainid,P.cInvCode AS cInvCode,"
                             "d.cInvName AS cInvName,FOUT.iCurOutQuantity AS iCurOutQuantity,",
                             0),
      0u);
  const std::string definitions = own->columnDefinitions();
  EXPECT_EQ(
      definitions.rfind("SubID,子件ID,0;mainid,行ID,0;cInvCode,材料编码,1100;cInvName,材料名称,"
                        "1800;iCurOutQuantity,本次领料数量,1200,##0.00;",
                        0),
      0u)
      << definitions;
  // Exchange rates get the account's exchange-rate format; hidden fields width 0.
  EXPECT_NE(definitions.find("iinvexchrate,换算率,800,##0.0000"), std::string::npos);
  EXPECT_NE(definitions.find("cInvStd,规格型号,0"), std::string::npos);
  EXPECT_EQ(namesOf(own->fieldList()), keysOf(definitions));

  auto others = boundSet("demo", conn, "OM_PODetails");
  EXPECT_FALSE(others->ownSet());
  EXPECT_EQ(others->fieldList().rfind("P.SubID AS SubID,P.MainID AS mainid,P.cInvCode AS cInvCode,"
                                      "d.cInvName AS cInvName,d.cInvStd AS cInvStd,",
                                      0),
            0u);
}

TEST(ColumnSet, BadTablesAndCallsOutOfOrderAreRefused) {
  auto conn = connect(testing::demoPath());
  ColumnSetObject set;
  EXPECT_THROW(set.bind("OM_POMain"), automation::ComError);
  set.initialise("demo", "demo.2026", conn);
  EXPECT_THROW(set.fieldList(), automation::ComError);
  set.bind("qm_ncheckvoucher");
  const std::string fields = set.fieldList();
  try {
    set.bind("Inventory; DROP TABLE ColumnSet");
    ADD_FAILURE() << "bound to a table outside the lists";
  } catch (const automation::ComError& e) {
    EXPECT_EQ(e.description(), "没有表[Inventory; DROP TABLE ColumnSet]的栏目设置");
  }
  // A refused bind keeps the set it had.
  EXPECT_EQ(set.tableName(), "qm_ncheckvoucher");
  EXPECT_EQ(set.fieldList(), fields);
  std::shared_ptr<ado::Connection> closed;
  EXPECT_THROW(set.initialise("demo", "", closed), automation::ComError);
}

TEST(ColumnSet, SettingsAreSavedForTheUserAlone) {
  const std::string path = testing::demoCopy("column-settings");
  auto conn = connect(path);
  auto host = std::make_shared<SettingsHost>();
  forms::ScopedUiHost scoped(host);

  auto set = boundSet("demo", conn, "OM_POMain");
  const std::string before = set->fieldList();
  EXPECT_FALSE(set->showSettings());  // cancelled: nothing saved
  ASSERT_EQ(host->shown.size(), 1u);
  EXPECT_EQ(host->shown[0], set->columnDefinitions());
  EXPECT_FALSE(boundSet("demo", conn, "OM_POMain")->ownSet());

  // The person moves the quantity first, renames it, hides the unit and leaves out the rest.
  host->answer = "fQuantity,数量,900,##0.00;cInvCode,产品编码,1200;cComUnitName,计量单位,0";
  EXPECT_TRUE(set->showSettings());
  EXPECT_TRUE(set->ownSet());
  const std::vector<std::string> names = namesOf(set->fieldList());
  ASSERT_EQ(names.size(), namesOf(before).size());
  EXPECT_EQ((std::vector<std::string>(names.begin(), names.begin() + 3)),
            (std::vector<std::string>{"fQuantity", "cInvCode", "cComUnitName"}));
  EXPECT_EQ(set->fieldList().rfind("OM_POMain.fQuantity AS fQuantity,", 0), 0u);
  const auto columns = forms::parseColumnDefinitions(set->columnDefinitions());
  EXPECT_EQ(columns[0].caption, "数量");
  EXPECT_EQ(columns[0].width, 900);
  EXPECT_EQ(columns[2].width, 0);
  for (std::size_t i = 3; i < columns.size(); ++i) EXPECT_EQ(columns[i].width, 0) << columns[i].key;

  // Another list of the same user, and the same list of another user, keep theirs.
  EXPECT_TRUE(boundSet("demo", conn, "OM_POMain")->ownSet());
  EXPECT_FALSE(boundSet("demo", conn, "OM_PODetails")->ownSet());
  EXPECT_EQ(boundSet("clerk", conn, "OM_POMain")->fieldList(), before);

  // Showing a hidden field again gives it back its width.
  host->answer = "cComUnitName,计量单位,800;fQuantity,数量,900";
  EXPECT_TRUE(set->showSettings());
  EXPECT_EQ(forms::parseColumnDefinitions(set->columnDefinitions())[0].width, 800);

  // An edited text naming a field the set lacks, or one field twice, saves nothing.
  const std::string saved = set->fieldList();
  host->answer = "fQuantity,数量,900;nosuchfield,x,100";
  EXPECT_THROW(set->showSettings(), automation::ComError);
  host->answer = "fQuantity,数量,900;FQUANTITY,数量,900";
  EXPECT_THROW(set->showSettings(), automation::ComError);
  EXPECT_EQ(boundSet("demo", conn, "OM_POMain")->fieldList(), saved);

  // Without a user the account default cannot be overwritten.
  auto nobody = boundSet("", conn, "OM_POMain");
  host->answer = "fQuantity,数量,900";
  EXPECT_THROW(nobody->showSettings(), automation::ComError);
  EXPECT_EQ(boundSet("clerk", conn, "OM_POMain")->fieldList(), before);
}

TEST(ColumnSet, AWidthThePersonDraggedBecomesPartOfHisOwnSet) {
  const std::string path = testing::demoCopy("column-widths");
  auto conn = connect(path);
  auto set = boundSet("demo", conn, "OM_POMain");
  const std::string fields = set->fieldList();
  auto widthOf = [](ColumnSetObject& s, const std::string& key) {
    for (const auto& c : forms::parseColumnDefinitions(s.columnDefinitions())) {
      if (c.key == key) return c.width;
    }
    return -1;
  };
  set->keepWidth("CINVNAME", 2100);  // names compare without regard to case
  EXPECT_TRUE(set->ownSet());
  EXPECT_EQ(widthOf(*set, "cInvName"), 2100);
  // The set is read back so: his own, with the same fields and the others' widths as they were.
  auto again = boundSet("demo", conn, "OM_POMain");
  EXPECT_TRUE(again->ownSet());
  EXPECT_EQ(again->fieldList(), fields);
  EXPECT_EQ(widthOf(*again, "cInvName"), 2100);
  EXPECT_EQ(widthOf(*again, "cInvCode"),
            widthOf(*boundSet("clerk", conn, "OM_POMain"), "cInvCode"));

  // A field the set lacks, a hidden one, a width below 1, or no user, keep nothing.
  set->keepWidth("nosuchfield", 900);
  set->keepWidth("MainID", 900);
  set->keepWidth("cInvCode", 0);
  EXPECT_EQ(boundSet("demo", conn, "OM_POMain")->columnDefinitions(), again->columnDefinitions());
  auto nobody = boundSet("", conn, "OM_POMain");
  nobody->keepWidth("cInvName", 3000);
  EXPECT_FALSE(nobody->ownSet());
  EXPECT_EQ(widthOf(*boundSet("clerk", conn, "OM_POMain"), "cInvName"), 1600);
}

TEST(ColumnSet, LateBound) {
  auto conn = connect(testing::demoPath());
  ColumnSetObject set;
  std::vector<automation::Variant> init{
      automation::Variant("omclerk"), automation::Variant("demo.2026"),
      automation::Variant(std::static_pointer_cast<automation::Object>(conn))};
  set.invoke("Init", automation::InvokeKind::Method, init);
  std::vector<automation::Variant> table{automation::Variant("OM_PODetails")};
  set.invoke("Bind", automation::InvokeKind::Method, table);
  std::vector<automation::Variant> none;
  EXPECT_EQ(set.invoke("FieldList", automation::InvokeKind::PropertyGet, none).toString(),
            set.fieldList());
  EXPECT_EQ(set.invoke("TableName", automation::InvokeKind::PropertyGet, none).toString(),
            "OM_PODetails");
}

}  // namespace
}  // namespace quillon::components
