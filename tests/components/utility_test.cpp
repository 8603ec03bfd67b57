#include <gtest/gtest.h>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/com_error.h"
#include "automation/error_info.h"
#include "components/suite/session_objects.h"
#include "components/suite_utility.h"
#include "demo_sessions.h"

namespace quillon::components {
namespace {

using automation::ComError;
using automation::Variant;

std::shared_ptr<ado::Recordset> openQuery(SessionContext& context, const std::string& sql) {
  auto rs = std::make_shared<ado::Recordset>();
  rs->open(sql, context.connection());
  return rs;
}

TEST(SuiteUtility, EmptyNumericAndNumberConversions) {
  auto u = suiteUtility();
  EXPECT_EQ(u, suiteUtility());  // one per process
  EXPECT_TRUE(u->isEmptyValue(Variant()));
  EXPECT_TRUE(u->isEmptyValue(Variant::null()));
  EXPECT_TRUE(u->isEmptyValue(Variant("   ")));
  EXPECT_TRUE(u->isEmptyValue(Variant::nothing()));
  EXPECT_FALSE(u->isEmptyValue(Variant(0)));
  EXPECT_FALSE(u->isEmptyValue(Variant(" x ")));

  EXPECT_TRUE(u->isNumericValue(Variant("12.5")));
  EXPECT_FALSE(u->isNumericValue(Variant("12a")));
  EXPECT_FALSE(u->isNumericValue(Variant::null()));

  EXPECT_EQ(u->fieldToNumber(Variant::null()), 0.0);
  EXPECT_EQ(u->fieldToNumber(Variant("")), 0.0);
  EXPECT_EQ(u->fieldToNumber(Variant("1,234.5")), 1234.5);
  EXPECT_EQ(u->fieldToNumber(Variant(std::int32_t{-7})), -7.0);
  EXPECT_THROW(u->fieldToNumber(Variant("abc")), ComError);

  // Rounding on decimal digits, half away from zero, at the pattern's places.
  EXPECT_EQ(u->roundByFormat(2.675, "##0.00"), 2.68);
  EXPECT_EQ(u->roundByFormat(-2.675, "##0.00"), -2.68);
  EXPECT_EQ(u->roundByFormat(2.5, "##0."), 3.0);
  EXPECT_EQ(u->roundByFormat(1.23456, "#,##0.000"), 1.235);
  EXPECT_EQ(u->call("RoundByFormat", {Variant("1.005"), Variant("##0.00")}), Variant(1.01));

  EXPECT_EQ(u->toolbarImage("TLBOK"), 1201);
  EXPECT_EQ(u->toolbarImage("tlbexit"), 1204);
  EXPECT_EQ(u->toolbarImage("tlbnone"), 0);

  u->errorInfo()->setLookupMessage("仓库[x]不存在！");
  EXPECT_EQ(u->get("LastLookupError").toString(), "仓库[x]不存在！");
}

TEST(SuiteUtility, CopiesHaveTheFieldsAndAreIndependentOfTheSource) {
  auto context = testing::sessionFor("demo");
  auto source =
      openQuery(*context, "SELECT cWhCode, cWhName, bWhPos FROM Warehouse ORDER BY cWhCode");
  ASSERT_EQ(source->recordCount(), 7);
  source->setFilter(Variant("bWhPos = 1"));

  auto u = suiteUtility();
  auto empty = u->copyStructure(*source);
  auto rows = u->copyWithRows(*source);
  EXPECT_EQ(empty->recordCount(), 0);
  ASSERT_EQ(empty->fields()->count(), 3);
  EXPECT_EQ(empty->fields()->item(std::size_t{1})->name(), "cWhName");
  EXPECT_EQ(rows->recordCount(), 2);  // the filtered view only
  EXPECT_EQ(rows->value(std::string_view("cWhCode")).toString(), "01");

  // Adding to and changing the copies leaves the source untouched, and the other way round.
  empty->addNew();
  empty->setValue(Variant("cWhCode"), Variant("99"));
  empty->update();
  rows->setValue(Variant("cWhName"), Variant("改名"));
  rows->update();
  source->setFilter(Variant(""));
  EXPECT_EQ(source->recordCount(), 7);
  source->moveFirst();
  EXPECT_EQ(source->value(std::string_view("cWhName")).toString(), "原料仓");
  EXPECT_EQ(empty->recordCount(), 1);
}

TEST(SuiteUtility, ConversionGivesAClientRecordsetWithBookmarksAndBookmarkFilters) {
  auto context = testing::sessionFor("demo");
  auto query = openQuery(*context, "SELECT cInvCode, cInvName FROM Inventory ORDER BY cInvCode");
  const int count = query->recordCount();
  ASSERT_GT(count, 5);

  auto u = suiteUtility();
  Variant stream = u->call("RecordsetToStream", {Variant(automation::ObjectPtr(query))});
  query->close();  // the snapshot does not depend on the source
  auto rs = automation::toObjectAs<ado::Recordset>(u->call("StreamToRecordset", {stream}));
  ASSERT_TRUE(rs);
  EXPECT_EQ(rs->recordCount(), count);
  EXPECT_EQ(rs->cursorLocation(), ado::adUseClient);
  EXPECT_EQ(rs->absolutePosition(), 1);

  rs->setAbsolutePosition(2);
  Variant second = rs->bookmark();
  const std::string secondCode = rs->value(std::string_view("cInvCode")).toString();
  rs->setAbsolutePosition(5);
  Variant fifth = rs->bookmark();
  rs->setFilter(Variant::array({second, fifth}));
  EXPECT_EQ(rs->recordCount(), 2);
  rs->moveFirst();
  EXPECT_EQ(rs->value(std::string_view("cInvCode")).toString(), secondCode);
  rs->setValue(Variant("cInvName"), Variant("本地修改"));
  rs->update();

  // A second conversion from the same stream is a separate recordset.
  auto again = u->fromStream(stream.asObject());
  EXPECT_EQ(again->recordCount(), count);
  again->setAbsolutePosition(2);
  EXPECT_NE(again->value(std::string_view("cInvName")).toString(), "本地修改");

  EXPECT_THROW(u->fromStream(rs), ComError);  // not a stream

  // Handed over in one step, a query's recordset nobody else holds is the copy itself; one that
  // is still held elsewhere, or was sorted, is copied, so its holder keeps what it has.
  auto fresh = openQuery(*context, "SELECT cInvCode, cInvName FROM Inventory ORDER BY cInvCode");
  const ado::Recordset* freshAddress = fresh.get();
  auto through = u->throughStream(std::move(fresh));
  EXPECT_EQ(through.get(), freshAddress);
  EXPECT_EQ(through->recordCount(), count);
  EXPECT_FALSE(through->activeConnection());
  EXPECT_EQ(through->cursorType(), ado::adOpenStatic);
  EXPECT_EQ(through->lockType(), ado::adLockBatchOptimistic);
  auto held = openQuery(*context, "SELECT cInvCode, cInvName FROM Inventory ORDER BY cInvCode");
  held->setSort("cInvName DESC");
  auto copied = u->throughStream(held);
  EXPECT_NE(copied.get(), held.get());
  EXPECT_TRUE(held->activeConnection());
  copied->setValue(Variant("cInvName"), Variant("本地修改"));
  EXPECT_NE(held->value(std::string_view("cInvName")).toString(), "本地修改");
}

}  // namespace
}  // namespace quillon::components
