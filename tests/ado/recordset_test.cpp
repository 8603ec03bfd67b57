// Recordset behaviour on a real result: navigation, positions, bookmarks, sort, local editing,
// clones and copies, the error numbers of misuse, and late-bound access.
#include <gtest/gtest.h>

#include <functional>

#include "ado/ado_errors.h"
#include "ado/fields.h"
#include "automation/com_error.h"
#include "error_number.h"
#include "test_data.h"

namespace quillon::ado {
namespace {

using testing::autoIds;
using testing::errorOf;
using testing::openStock;
using testing::openStockDb;

std::int32_t id(const Recordset& rs) {
  return rs.value("AutoID").toLong();
}

TEST(AdoRecordset, NavigationAndTheEnds) {
  auto cn = openStockDb();
  auto rs = openStock(cn);
  EXPECT_EQ(rs->recordCount(), 5);
  EXPECT_FALSE(rs->bof());
  EXPECT_EQ(rs->absolutePosition(), 1);
  rs->movePrevious();
  EXPECT_TRUE(rs->bof());
  EXPECT_FALSE(rs->eof());
  EXPECT_EQ(rs->absolutePosition(), adPosBOF);
  EXPECT_EQ(errorOf([&] { rs->movePrevious(); }), kErrNoCurrentRecord);
  EXPECT_EQ(errorOf([&] { rs->value("AutoID"); }), kErrNoCurrentRecord);
  rs->moveNext();
  EXPECT_EQ(id(*rs), 1);
  rs->moveLast();
  EXPECT_EQ(id(*rs), 5);
  rs->moveNext();
  EXPECT_TRUE(rs->eof());
  EXPECT_EQ(rs->absolutePosition(), adPosEOF);
  EXPECT_EQ(errorOf([&] { rs->moveNext(); }), kErrNoCurrentRecord);
  EXPECT_EQ(errorOf([&] { rs->bookmark(); }), kErrNoCurrentRecord);
  rs->movePrevious();
  EXPECT_EQ(id(*rs), 5);

  rs->moveFirst();
  rs->move(2);
  EXPECT_EQ(id(*rs), 3);
  rs->move(-1);
  EXPECT_EQ(id(*rs), 2);
  rs->move(-10);
  EXPECT_TRUE(rs->bof());
  rs->move(100);
  EXPECT_TRUE(rs->eof());
  rs->move(-2, Variant(adBookmarkLast));
  EXPECT_EQ(id(*rs), 3);

  rs->setAbsolutePosition(4);
  EXPECT_EQ(id(*rs), 4);
  EXPECT_EQ(rs->absolutePosition(), 4);
  EXPECT_EQ(errorOf([&] { rs->setAbsolutePosition(0); }), kErrArguments);
  EXPECT_EQ(errorOf([&] { rs->setAbsolutePosition(6); }), kErrArguments);
  EXPECT_EQ(id(*rs), 4);
}

TEST(AdoRecordset, EmptyResultIsBothBofAndEof) {
  auto cn = openStockDb();
  auto rs = openStock(cn, "1 = 0");
  EXPECT_EQ(rs->state(), adStateOpen);
  EXPECT_TRUE(rs->bof());
  EXPECT_TRUE(rs->eof());
  EXPECT_EQ(rs->recordCount(), 0);
  EXPECT_EQ(rs->absolutePosition(), adPosUnknown);
  rs->moveFirst();
  rs->moveLast();
  EXPECT_TRUE(rs->bof() && rs->eof());
  EXPECT_EQ(errorOf([&] { rs->moveNext(); }), kErrNoCurrentRecord);
  EXPECT_EQ(errorOf([&] { rs->movePrevious(); }), kErrNoCurrentRecord);
  EXPECT_EQ(errorOf([&] { rs->field(Variant("cInvCode"))->value(); }), kErrNoCurrentRecord);
  EXPECT_EQ(errorOf([&] { rs->deleteRecord(); }), kErrNoCurrentRecord);
  EXPECT_EQ(rs->fields()->count(), 10);
}

TEST(AdoRecordset, SortIsStableAndUnderstandsDesc) {
  auto cn = openStockDb();
  auto rs = openStock(cn);
  rs->setSort("入库日期 Desc ,入库系统编号 Desc");
  EXPECT_EQ(autoIds(*rs), "5,2,4,1,3");
  rs->setSort("入库日期");
  EXPECT_EQ(autoIds(*rs), "3,1,2,4,5");  // the three equal dates keep their order
  rs->setSort("[入库日期] DESC");
  EXPECT_EQ(autoIds(*rs), "5,1,2,4,3");
  rs->setSort("cInvCode");
  EXPECT_EQ(autoIds(*rs), "1,2,3,5,4");  // without regard to case
  rs->setSort("fPrice asc");
  EXPECT_EQ(autoIds(*rs), "3,4,1,2,5");  // Null first
  rs->setSort("bFlag, cInvName DESC");
  EXPECT_EQ(autoIds(*rs), "4,2,5,3,1");
  // The filter applies within the sort order.
  rs->setSort("iQuantity DESC");
  rs->setFilter(Variant("iQuantity >= 0"));
  EXPECT_EQ(autoIds(*rs), "5,1,4,3");
  // Once a key field has been written the order is worked out again, not reused.
  rs->setFilter(Variant(""));
  rs->setAbsolutePosition(4);
  rs->setValue(Variant("iQuantity"), Variant(20));
  rs->update();
  rs->setFilter(Variant("iQuantity >= 0"));
  EXPECT_EQ(autoIds(*rs), "3,5,1,4");
  rs->setFilter(Variant(""));
  EXPECT_EQ(autoIds(*rs), "3,5,1,4,2");
  rs->setSort("");
  EXPECT_EQ(autoIds(*rs), "1,2,3,4,5");

  EXPECT_EQ(errorOf([&] { rs->setSort("nosuch"); }), kErrItemNotFound);
  EXPECT_EQ(errorOf([&] { rs->setSort("cInvCode upward"); }), kErrArguments);
  EXPECT_EQ(errorOf([&] { rs->setSort("cInvCode,"); }), kErrArguments);
  EXPECT_EQ(rs->sort(), "");
}

TEST(AdoRecordset, BookmarksSurviveSortAndFilterAndFilterAnArray) {
  auto cn = openStockDb();
  auto rs = openStock(cn);
  rs->setAbsolutePosition(4);
  const Variant four = rs->bookmark();
  rs->setAbsolutePosition(2);
  const Variant two = rs->bookmark();
  EXPECT_NE(four, two);

  rs->setSort("cInvCode DESC");
  rs->setBookmark(four);
  EXPECT_EQ(id(*rs), 4);
  EXPECT_EQ(rs->absolutePosition(), 1);

  rs->setFilter(Variant::array({four, two}));
  EXPECT_EQ(rs->recordCount(), 2);
  EXPECT_EQ(autoIds(*rs), "4,2");  // in the recordset's order, not the array's
  rs->setSort("");
  EXPECT_EQ(autoIds(*rs), "2,4");
  rs->setBookmark(two);
  EXPECT_EQ(id(*rs), 2);

  rs->setFilter(Variant("AutoID = 1"));
  EXPECT_EQ(errorOf([&] { rs->setBookmark(four); }), kErrArguments);  // filtered out
  EXPECT_EQ(errorOf([&] { rs->setBookmark(Variant(99.0)); }), kErrArguments);
  EXPECT_EQ(errorOf([&] { rs->setBookmark(Variant("x")); }), kErrArguments);
  EXPECT_EQ(errorOf([&] { rs->setFilter(Variant::array({Variant(0.0)})); }), kErrArguments);
  EXPECT_EQ(autoIds(*rs), "1");

  // The way a selection dialog collects rows: by position, then by bookmark array.
  rs->setFilter(Variant(adFilterNone));
  std::vector<Variant> chosen;
  for (const std::int32_t pos : {5, 3}) {
    rs->setAbsolutePosition(pos);
    chosen.push_back(rs->bookmark());
  }
  rs->setFilter(Variant::array(chosen));
  EXPECT_EQ(autoIds(*rs), "3,5");

  // The same by positions: the filter reads back as the array of the records' bookmarks, and a
  // bookmark read at a position names the record there without moving to it.
  rs->setFilter(Variant(adFilterNone));
  rs->setSort("cInvCode DESC");
  rs->setAbsolutePosition(2);
  EXPECT_EQ(rs->bookmarkAt(4), [&] {
    auto other = rs->clone();
    other->setSort("cInvCode DESC");
    other->setAbsolutePosition(4);
    return other->bookmark();
  }());
  EXPECT_EQ(rs->absolutePosition(), 2);
  const Variant atFive = rs->bookmarkAt(5);
  const Variant atThree = rs->bookmarkAt(3);
  rs->setFilterPositions({5, 3});
  EXPECT_EQ(rs->recordCount(), 2);
  EXPECT_EQ(rs->filter(), Variant::array({atFive, atThree}));
  rs->setSort("");
  rs->setFilter(rs->filter());
  EXPECT_EQ(rs->recordCount(), 2);
  EXPECT_EQ(errorOf([&] { rs->setFilterPositions({3}); }), kErrArguments);  // two are in view
  EXPECT_EQ(errorOf([&] { rs->setFilterPositions({}); }), kErrArguments);
  EXPECT_EQ(errorOf([&] { (void)rs->bookmarkAt(0); }), kErrArguments);
}

TEST(AdoRecordset, LocalEditsUpdateCancelAndDelete) {
  auto cn = openStockDb();
  auto rs = openStock(cn);
  rs->setValue(Variant("iQuantity"), Variant(7));
  EXPECT_EQ(rs->editMode(), adEditInProgress);
  EXPECT_DOUBLE_EQ(rs->value("iQuantity").asDouble(), 7.0);
  rs->cancelUpdate();
  EXPECT_EQ(rs->editMode(), adEditNone);
  EXPECT_DOUBLE_EQ(rs->value("iQuantity").asDouble(), 10.0);
  EXPECT_EQ(rs->status(), adRecUnmodified);

  rs->field(Variant("cInvName"))->setValue(Variant("Bolt M8"));
  rs->update();
  EXPECT_EQ(rs->value("cInvName").asString(), "Bolt M8");
  EXPECT_EQ(rs->field(Variant("cInvName"))->originalValue().asString(), "Bolt");
  EXPECT_EQ(rs->status(), adRecModified);

  // A move commits a pending edit.
  rs->setValue(Variant("fPrice"), Variant(9.5));
  rs->moveNext();
  rs->movePrevious();
  EXPECT_DOUBLE_EQ(rs->value("fPrice").asDouble(), 9.5);

  // Delete leaves the cursor on the deleted row until it moves.
  rs->setAbsolutePosition(2);
  rs->deleteRecord();
  EXPECT_EQ(rs->recordCount(), 4);
  EXPECT_FALSE(rs->bof() || rs->eof());
  EXPECT_EQ(errorOf([&] { rs->value("AutoID"); }), kErrNoCurrentRecord);
  rs->moveNext();
  EXPECT_EQ(id(*rs), 3);
  rs->moveLast();
  rs->deleteRecord();
  rs->moveNext();
  EXPECT_TRUE(rs->eof());
  EXPECT_EQ(autoIds(*rs), "1,3,4");

  // AddNew appends a row of Nulls; CancelUpdate takes it back.
  rs->setAbsolutePosition(2);
  rs->addNew();
  EXPECT_EQ(rs->editMode(), adEditAdd);
  EXPECT_EQ(rs->recordCount(), 4);
  EXPECT_TRUE(rs->value("AutoID").isNull());
  rs->cancelUpdate();
  EXPECT_EQ(rs->recordCount(), 3);
  EXPECT_EQ(id(*rs), 3);
  rs->addNew(Variant::array({Variant("AutoID"), Variant("cInvCode")}),
             Variant::array({Variant(6), Variant("N001")}));
  EXPECT_EQ(rs->editMode(), adEditNone);
  EXPECT_EQ(rs->status(), adRecNew);
  rs->setFilter(Variant(adFilterPendingRecords));
  EXPECT_EQ(autoIds(*rs), "1,6");
  rs->setFilter(Variant(""));
  EXPECT_EQ(autoIds(*rs), "1,3,4,6");

  // Nothing reached the database.
  auto fresh = openStock(cn);
  EXPECT_EQ(autoIds(*fresh), "1,2,3,4,5");
  fresh->setAbsolutePosition(1);
  EXPECT_EQ(fresh->value("cInvName").asString(), "Bolt");
}

TEST(AdoRecordset, AddNewOnACopyLeavesTheOriginalUnchanged) {
  auto cn = openStockDb();
  auto rs = openStock(cn);
  rs->setFilter(Variant("AutoID=null"));
  auto copy = rs->copyStructure();
  EXPECT_EQ(copy->recordCount(), 0);
  EXPECT_EQ(copy->fields()->count(), rs->fields()->count());
  EXPECT_EQ(copy->field(Variant("cInvCode"))->definedSize(), 20);
  copy->addNew();
  copy->setValue(Variant("AutoID"), Variant(42));
  copy->setValue(Variant("cInvCode"), Variant("Z9"));
  copy->setValue(Variant("dDate"), Variant("2026-12-05"));
  copy->update();
  EXPECT_EQ(copy->recordCount(), 1);
  EXPECT_EQ(copy->value("cInvCode").asString(), "Z9");
  EXPECT_EQ(rs->recordCount(), 0);
  rs->setFilter(Variant(""));
  EXPECT_EQ(autoIds(*rs), "1,2,3,4,5");

  // A copy with rows takes what the view shows, in its order, and is independent.
  rs->setSort("AutoID DESC");
  rs->setFilter(Variant("iQuantity > 0"));
  auto rows = rs->copyWithRows();
  EXPECT_EQ(autoIds(*rows), "5,4,1");
  rows->moveFirst();
  rows->setValue(Variant("cInvCode"), Variant("changed"));
  rows->update();
  rs->moveFirst();
  EXPECT_EQ(rs->value("cInvCode").asString(), "b002");
  EXPECT_EQ(rows->filter(), Variant(adFilterNone));
}

TEST(AdoRecordset, ClonesShareRowsButNotTheirCursor) {
  auto cn = openStockDb();
  auto rs = openStock(cn);
  rs->setFilter(Variant("iQuantity > 0"));
  auto twin = rs->clone();
  EXPECT_EQ(twin->recordCount(), 5);  // a clone starts unfiltered
  twin->setAbsolutePosition(4);
  twin->setValue(Variant("cInvName"), Variant("shared"));
  twin->update();
  rs->setBookmark(twin->bookmark());
  EXPECT_EQ(rs->value("cInvName").asString(), "shared");

  twin->moveFirst();
  twin->deleteRecord();  // row 1 goes from both views
  EXPECT_EQ(rs->recordCount(), 2);
  EXPECT_EQ(autoIds(*rs), "4,5");
  EXPECT_EQ(twin->recordCount(), 4);
  // A row deleted through one cursor while another stands on it: no current record there, and
  // the next move goes on from its place.
  twin->setAbsolutePosition(3);  // AutoID 4
  rs->moveFirst();
  rs->deleteRecord();
  EXPECT_EQ(errorOf([&] { twin->value("AutoID"); }), kErrNoCurrentRecord);
  EXPECT_FALSE(twin->eof());
  twin->moveNext();
  EXPECT_EQ(id(*twin), 5);
  rs->close();
  EXPECT_EQ(twin->recordCount(), 3);  // the clone keeps the rows alive
}

TEST(AdoRecordset, MisuseGivesThePlatformsErrors) {
  auto cn = openStockDb();
  auto rs = std::make_shared<Recordset>();
  EXPECT_EQ(rs->state(), adStateClosed);
  EXPECT_EQ(errorOf([&] { rs->recordCount(); }), kErrObjectClosed);
  EXPECT_EQ(errorOf([&] { rs->moveNext(); }), kErrObjectClosed);
  EXPECT_EQ(errorOf([&] { rs->eof(); }), kErrObjectClosed);
  EXPECT_EQ(errorOf([&] { rs->setFilter(Variant("a = 1")); }), kErrObjectClosed);
  EXPECT_EQ(errorOf([&] { rs->close(); }), kErrObjectClosed);
  EXPECT_EQ(errorOf([&] { rs->clone(); }), kErrObjectClosed);
  EXPECT_EQ(errorOf([&] { rs->open(Variant("select 1")); }), kErrConnectionInvalid);
  EXPECT_EQ(errorOf([&] { rs->open(Variant()); }), kErrArguments);

  rs->open("select * from stock", cn);
  EXPECT_EQ(errorOf([&] { rs->open("select 1", cn); }), kErrObjectOpen);
  EXPECT_EQ(errorOf([&] { rs->value("nosuch"); }), kErrItemNotFound);
  EXPECT_EQ(errorOf([&] { rs->value(std::size_t{10}); }), kErrItemNotFound);
  EXPECT_EQ(errorOf([&] { rs->field(Variant(-1)); }), kErrItemNotFound);
  EXPECT_EQ(errorOf([&] { rs->fields()->item(Variant(10)); }), kErrItemNotFound);
  EXPECT_EQ(errorOf([&] { rs->setValue(Variant("AutoID"), Variant("many")); }), kErrWrongValueType);
  auto field = rs->field(Variant("cInvCode"));
  rs->close();
  EXPECT_EQ(errorOf([&] { field->value(); }), kErrObjectClosed);
  rs->open("select 1 as x", cn);
  EXPECT_EQ(errorOf([&] { field->value(); }), kErrItemNotFound);  // made for the old rows

  // A statement without rows leaves the recordset closed, without an error.
  auto none = std::make_shared<Recordset>();
  none->open("update stock set fPrice = 1 where AutoID = 0", cn);
  EXPECT_EQ(none->state(), adStateClosed);
}

TEST(AdoRecordset, LateBoundMembers) {
  auto cn = openStockDb();
  automation::ObjectPtr rs = std::make_shared<Recordset>();
  rs->call("Open",
           {Variant("select * from stock order by AutoID"),
            Variant(std::static_pointer_cast<automation::Object>(cn)), Variant(2), Variant(4)});
  EXPECT_EQ(rs->get("RecordCount"), Variant(5));
  EXPECT_EQ(rs->get("EOF"), Variant(false));
  // rs("cInvCode") is the field, whose default member is its value.
  std::vector<Variant> key{Variant("CINVCODE")};
  const Variant field =
      rs->invoke(automation::kDispIdValue, automation::InvokeKind::PropertyGet, key);
  EXPECT_EQ(field.asObject()->value(), Variant("A001"));
  EXPECT_EQ(rs->get("Fields").asObject()->get("Count"), Variant(10));
  EXPECT_EQ(rs->get("Collect", {Variant(1)}), Variant("A001"));
  rs->call("MoveNext");
  EXPECT_EQ(rs->get("AbsolutePosition"), Variant(2));
  rs->let("Filter", Variant("cInvCode LIKE 'b%'"));
  EXPECT_EQ(rs->get("RecordCount"), Variant(2));
  EXPECT_EQ(rs->get("Fields", {Variant("AutoID")}).asObject()->get("Value"), Variant(3));
  const Variant bookmark = rs->get("Bookmark");
  rs->let("Filter", Variant(0));
  rs->let("Bookmark", bookmark);
  EXPECT_EQ(rs->get("AbsolutePosition"), Variant(3));
  rs->call("AddNew", {Variant("cInvCode"), Variant("LB1")});
  EXPECT_EQ(rs->get("RecordCount"), Variant(6));
  const Variant clone = rs->call("Clone");
  EXPECT_EQ(clone.asObject()->get("RecordCount"), Variant(6));
  rs->call("Close");
  EXPECT_EQ(rs->get("State"), Variant(adStateClosed));
  EXPECT_THROW(rs->get("RecordCount"), automation::ComError);
}

TEST(AdoRecordset, RequeryReadsTheSourceAgain) {
  auto cn = openStockDb();
  auto rs = openStock(cn, "iQuantity > 0");
  EXPECT_EQ(rs->source(), "select * from stock where iQuantity > 0 order by AutoID");
  rs->setFilter(Variant("AutoID = 1"));
  cn->execute("insert into stock (AutoID, iQuantity) values (6, 1)");
  rs->requery();
  EXPECT_EQ(autoIds(*rs), "1,4,5,6");
  EXPECT_EQ(rs->activeConnection(), cn);

  auto built = Recordset::fabricate({fieldFromAdoType("n", adInteger, 0)});
  EXPECT_EQ(errorOf([&] { built->requery(); }), kErrOperationNotAllowed);
}

}  // namespace
}  // namespace quillon::ado
