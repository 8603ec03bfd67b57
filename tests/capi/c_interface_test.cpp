// The C interface as a host sees it: values of every kind, late-bound calls with by-value and
// by-reference arguments, collections and recordsets the library hands back, errors as statuses
// and texts, and handles released in any order.
#include <gtest/gtest.h>
#include <strings.h>

#include <string>
#include <vector>

#include "capi/capi_fixture.h"
#include "quillon.h"

namespace quillon::capi_test {
namespace {

TEST(CInterface, ValuesOfEveryKindReadBackAsMade) {
  Value v;
  ASSERT_EQ(quillon_empty(v.out()), QUILLON_OK);
  EXPECT_EQ(kindOf(v), QUILLON_EMPTY);
  EXPECT_EQ(displayOf(v), "");
  ASSERT_EQ(quillon_null(v.out()), QUILLON_OK);
  EXPECT_EQ(kindOf(v), QUILLON_NULL);
  ASSERT_EQ(quillon_nothing(v.out()), QUILLON_OK);
  EXPECT_EQ(kindOf(v), QUILLON_NOTHING);
  EXPECT_EQ(displayOf(v), "Nothing");
  ASSERT_EQ(quillon_missing(v.out()), QUILLON_OK);
  EXPECT_EQ(kindOf(v), QUILLON_MISSING);

  Value t = text("批号 B2610-01");
  EXPECT_EQ(kindOf(t), QUILLON_TEXT);
  EXPECT_EQ(textOf(t), "批号 B2610-01");

  Value b = boolean(true);
  int flag = 0;
  ASSERT_EQ(quillon_get_bool(b.get(), &flag), QUILLON_OK);
  EXPECT_EQ(flag, 1);
  double d = 0;
  ASSERT_EQ(quillon_get_double(b.get(), &d), QUILLON_OK);
  EXPECT_EQ(d, -1.0);  // an Automation True is -1 as a number
  EXPECT_EQ(displayOf(b), "True");

  Value n = number(-2147483647 - 1);
  int32_t l = 0;
  ASSERT_EQ(quillon_get_long(n.get(), &l), QUILLON_OK);
  EXPECT_EQ(l, -2147483647 - 1);
  EXPECT_EQ(kindOf(n), QUILLON_LONG);

  Value r = real(1851.25);
  EXPECT_EQ(kindOf(r), QUILLON_DOUBLE);
  ASSERT_EQ(quillon_get_double(r.get(), &d), QUILLON_OK);
  EXPECT_EQ(d, 1851.25);

  Value date;
  ASSERT_EQ(quillon_date_text("2026-12-05 13:30:00", date.out()), QUILLON_OK);
  EXPECT_EQ(kindOf(date), QUILLON_DATE);
  ASSERT_EQ(quillon_get_date(date.get(), &d), QUILLON_OK);
  EXPECT_DOUBLE_EQ(d, 46361.5625);
  EXPECT_EQ(displayOf(date), "2026-12-05 13:30:00");
  Value serial;
  ASSERT_EQ(quillon_date(46361.0, serial.out()), QUILLON_OK);
  EXPECT_EQ(displayOf(serial), "2026-12-05");

  Value i;
  ASSERT_EQ(quillon_integer(-32768, i.out()), QUILLON_OK);
  EXPECT_EQ(kindOf(i), QUILLON_INTEGER);
  ASSERT_EQ(quillon_get_long(i.get(), &l), QUILLON_OK);
  EXPECT_EQ(l, -32768);

  // An array holds copies of its items; an object item is the same object.
  Value coll = created("Collection");
  const quillon_value items[] = {n.get(), t.get(), coll.get()};
  Value array;
  ASSERT_EQ(quillon_array(3, items, array.out()), QUILLON_OK);
  EXPECT_EQ(kindOf(array), QUILLON_ARRAY);
  int32_t count = 0;
  ASSERT_EQ(quillon_array_count(array.get(), &count), QUILLON_OK);
  EXPECT_EQ(count, 3);
  Value item;
  ASSERT_EQ(quillon_array_item(array.get(), 1, item.out()), QUILLON_OK);
  EXPECT_EQ(textOf(item), "批号 B2610-01");
  ASSERT_EQ(quillon_array_item(array.get(), 2, item.out()), QUILLON_OK);
  Value added = text("in");
  call(item, "Add", {&added});
  ASSERT_EQ(quillon_collection_count(coll.get(), &count), QUILLON_OK);
  EXPECT_EQ(count, 1);
  EXPECT_TRUE(failedWith(quillon_array_item(array.get(), 3, item.out()), QUILLON_OUT_OF_RANGE,
                         "place 3 of an array of 3 items"));
  EXPECT_TRUE(failedWith(quillon_array_count(t.get(), &count), QUILLON_WRONG_KIND, "not an array"));

  // A copy is a value of its own: releasing the original leaves it.
  Value copy;
  ASSERT_EQ(quillon_copy(t.get(), copy.out()), QUILLON_OK);
  t.reset();
  EXPECT_EQ(textOf(copy), "批号 B2610-01");
}

TEST(CInterface, ReadingAValueAsAnotherKindIsRefusedWithBothKindsNamed) {
  Value t = text("12");
  int32_t l = 0;
  EXPECT_TRUE(failedWith(quillon_get_long(t.get(), &l), QUILLON_WRONG_KIND,
                         "the value is a text, not a Long or an Integer"));
  Value n = number(3);
  const char* s = nullptr;
  EXPECT_TRUE(failedWith(quillon_get_text(n.get(), &s), QUILLON_WRONG_KIND, "a Long, not a text"));
  int flag = 0;
  EXPECT_TRUE(failedWith(quillon_get_bool(n.get(), &flag), QUILLON_WRONG_KIND, "not a Boolean"));
  double d = 0;
  EXPECT_TRUE(failedWith(quillon_get_date(n.get(), &d), QUILLON_WRONG_KIND, "not a date"));
  EXPECT_TRUE(failedWith(quillon_class_name(n.get(), &s), QUILLON_WRONG_KIND, "not an object"));
  int32_t count = 0;
  EXPECT_TRUE(failedWith(quillon_collection_count(n.get(), &count), QUILLON_WRONG_KIND,
                         "not a collection"));
  EXPECT_TRUE(failedWith(quillon_recordset_row_count(n.get(), &count), QUILLON_WRONG_KIND,
                         "not a recordset"));
  Value bad;
  EXPECT_TRUE(failedWith(quillon_date_text("2026-13-45", bad.out()), QUILLON_RAISED,
                         "date \"2026-13-45\": error 13: Type mismatch", 13));
  EXPECT_EQ(bad.get(), 0u);
  // The next call that works clears the last error.
  ASSERT_EQ(quillon_get_long(n.get(), &l), QUILLON_OK);
  EXPECT_EQ(quillon_error_status(), QUILLON_OK);
  EXPECT_EQ(quillon_error_number(), 0);
  EXPECT_STREQ(quillon_error_text(), "");
}

TEST(CInterface, NullPointersAndBadHandlesAreErrorsNamingWhatWasWrong) {
  quillon_value h = 0;
  EXPECT_TRUE(failedWith(quillon_text(nullptr, &h), QUILLON_NULL_POINTER,
                         "quillon_text: utf8 is a null pointer"));
  EXPECT_TRUE(failedWith(quillon_create("Collection", nullptr), QUILLON_NULL_POINTER,
                         "quillon_create: out is a null pointer"));
  EXPECT_TRUE(failedWith(quillon_create(nullptr, &h), QUILLON_NULL_POINTER, "prog_id"));
  Value coll = created("Collection");
  EXPECT_TRUE(failedWith(quillon_call(coll.get(), nullptr, 0, nullptr, nullptr, nullptr),
                         QUILLON_NULL_POINTER, "member is a null pointer"));
  EXPECT_TRUE(failedWith(quillon_call(coll.get(), "Add", 1, nullptr, nullptr, nullptr),
                         QUILLON_NULL_POINTER, "args is a null pointer"));
  EXPECT_TRUE(failedWith(quillon_kind_of(coll.get(), nullptr), QUILLON_NULL_POINTER, "out"));
  EXPECT_TRUE(failedWith(quillon_dialogs_script(nullptr, 0), QUILLON_NULL_POINTER, "dialog_lines"));

  quillon_kind kind;
  EXPECT_TRUE(failedWith(quillon_kind_of(0, &kind), QUILLON_BAD_HANDLE, "0 is no value"));
  EXPECT_TRUE(failedWith(quillon_release(0), QUILLON_BAD_HANDLE, "0 is no value"));
  EXPECT_TRUE(failedWith(quillon_kind_of(0xFFFFFFFFull, &kind), QUILLON_BAD_HANDLE,
                         "value 4294967295 was never given out"));

  Value t = text("gone");
  const quillon_value released = t.take();
  ASSERT_EQ(quillon_release(released), QUILLON_OK);
  const std::string gone = "value " + std::to_string(released) + " was released already";
  EXPECT_TRUE(failedWith(quillon_release(released), QUILLON_BAD_HANDLE, gone));
  const char* s = nullptr;
  EXPECT_TRUE(failedWith(quillon_get_text(released, &s), QUILLON_BAD_HANDLE, gone));
  // A released handle among the arguments stops the call before the member runs.
  const quillon_value args[] = {released};
  EXPECT_TRUE(failedWith(quillon_call(coll.get(), "Add", 1, args, nullptr, nullptr),
                         QUILLON_BAD_HANDLE, gone));
  int32_t count = -1;
  ASSERT_EQ(quillon_collection_count(coll.get(), &count), QUILLON_OK);
  EXPECT_EQ(count, 0);
}

TEST(CInterface, UnknownClassesMembersAndArgumentCountsAreTheRuntimesErrors) {
  quillon_value h = 0;
  EXPECT_TRUE(failedWith(quillon_create("Quillon.NoSuchClass", &h), QUILLON_RAISED,
                         "creating \"Quillon.NoSuchClass\": error 429: ActiveX component can't "
                         "create object",
                         429));
  EXPECT_EQ(h, 0u);
  Value coll = created("Collection");
  EXPECT_TRUE(failedWith(quillon_call(coll.get(), "Shuffle", 0, nullptr, nullptr, nullptr),
                         QUILLON_RAISED, "Collection.Shuffle: error 438", 438));
  EXPECT_TRUE(failedWith(quillon_call(coll.get(), "Add", 0, nullptr, nullptr, nullptr),
                         QUILLON_RAISED, "Collection.Add: error 449: Argument not optional", 449));
  Value a = text("a"), k = text("k"), before = missing(), after = missing(), extra = text("x");
  const quillon_value five[] = {a.get(), k.get(), before.get(), after.get(), extra.get()};
  EXPECT_TRUE(failedWith(quillon_call(coll.get(), "Add", 5, five, nullptr, nullptr), QUILLON_RAISED,
                         "Collection.Add: error 450", 450));
  Value nothing;
  ASSERT_EQ(quillon_nothing(nothing.out()), QUILLON_OK);
  EXPECT_TRUE(failedWith(quillon_call(nothing.get(), "Count", 0, nullptr, nullptr, nullptr),
                         QUILLON_WRONG_KIND, "the value is Nothing, not an object"));
}

TEST(CInterface, AnErrorRaisedInsideTheLibraryComesBackWithItsNumberAndText) {
  Value coll = created("Collection");
  Value item = text("x"), key = text("Parent");
  Value added = call(coll, "Add", {&item, &key});
  Value nope = text("Nope");
  const quillon_value args[] = {nope.get()};
  Value result;
  EXPECT_TRUE(failedWith(quillon_call(coll.get(), "Item", 1, args, nullptr, result.out()),
                         QUILLON_RAISED,
                         "Collection.Item: error 5: Invalid procedure call or argument", 5));
  EXPECT_EQ(result.get(), 0u);
  EXPECT_TRUE(failedWith(
      quillon_call(coll.get(), "Add", 2, std::vector<quillon_value>{item.get(), key.get()}.data(),
                   nullptr, nullptr),
      QUILLON_RAISED, "error 457", 457));

  // The suite's own errors carry their own numbers: a login on a file that is no account.
  Value login = created("Quillon.Suite.Login");
  Value file = text("/nonexistent/account.db"), user = text("demo");
  const quillon_value open[] = {file.get(), user.get()};
  const quillon_status status = quillon_call(login.get(), "Open", 2, open, nullptr, nullptr);
  EXPECT_TRUE(failedWith(status, QUILLON_RAISED, "MarlinLogin.Open: error -2147"));
  EXPECT_TRUE(failedWith(status, QUILLON_RAISED, "/nonexistent/account.db"));
  EXPECT_LT(quillon_error_number(), 0);
}

TEST(CInterface, CollectionsGiveTheirItemsByNumberAndKey) {
  Value coll = created("Collection");
  Value a = text("first"), b = number(2), key = text("Second"), nokey = missing();
  call(coll, "Add", {&a});
  call(coll, "Add", {&b, &key});
  EXPECT_EQ(kindOf(coll), QUILLON_COLLECTION);
  const char* s = nullptr;
  ASSERT_EQ(quillon_class_name(coll.get(), &s), QUILLON_OK);
  EXPECT_STREQ(s, "Collection");

  int32_t count = 0;
  ASSERT_EQ(quillon_collection_count(coll.get(), &count), QUILLON_OK);
  EXPECT_EQ(count, 2);
  Value item;
  ASSERT_EQ(quillon_collection_item(coll.get(), 1, item.out()), QUILLON_OK);
  EXPECT_EQ(textOf(item), "first");
  ASSERT_EQ(quillon_collection_item_by_key(coll.get(), "SECOND", item.out()), QUILLON_OK);
  EXPECT_EQ(displayOf(item), "2");
  ASSERT_EQ(quillon_collection_key(coll.get(), 1, &s), QUILLON_OK);
  EXPECT_STREQ(s, "");
  ASSERT_EQ(quillon_collection_key(coll.get(), 2, &s), QUILLON_OK);
  EXPECT_STREQ(s, "Second");
  EXPECT_TRUE(failedWith(quillon_collection_item(coll.get(), 3, item.out()), QUILLON_OUT_OF_RANGE,
                         "item 3 of a collection of 2 items (items count from 1)"));
  EXPECT_TRUE(
      failedWith(quillon_collection_key(coll.get(), 0, &s), QUILLON_OUT_OF_RANGE, "item 0"));
  EXPECT_TRUE(failedWith(quillon_collection_item_by_key(coll.get(), "Third", item.out()),
                         QUILLON_RAISED, "Collection(\"Third\"): error 5", 5));

  // Count as a property and as a call.
  Value counted;
  ASSERT_EQ(quillon_get_property(coll.get(), "Count", counted.out()), QUILLON_OK);
  EXPECT_EQ(displayOf(counted), "2");
}

TEST(CInterface, PropertiesAreReadAndAssignedLateBound) {
  Value info = created("ErrorInfo");
  Value n = number(3265), d = text("Item cannot be found");
  ASSERT_EQ(quillon_set_property(info.get(), "Number", n.get()), QUILLON_OK)
      << quillon_error_text();
  ASSERT_EQ(quillon_set_property(info.get(), "Description", d.get()), QUILLON_OK);
  Value got;
  ASSERT_EQ(quillon_get_property(info.get(), "Number", got.out()), QUILLON_OK);
  EXPECT_EQ(displayOf(got), "3265");
  ASSERT_EQ(quillon_get_property(info.get(), "Description", got.out()), QUILLON_OK);
  EXPECT_EQ(textOf(got), "Item cannot be found");
  EXPECT_TRUE(failedWith(quillon_get_property(info.get(), "Colour", got.out()), QUILLON_RAISED,
                         "ErrorInfo.Colour: error 438", 438));

  // An object is assigned with Set, and Nothing clears it.
  Value order = created("Quillon.ProduceOrder");
  Value coll = created("Collection");
  Value item = text("kept");
  call(coll, "Add", {&item});
  ASSERT_EQ(quillon_set_property(order.get(), "oCollection", coll.get()), QUILLON_OK)
      << quillon_error_text();
  coll.reset();
  ASSERT_EQ(quillon_get_property(order.get(), "oCollection", got.out()), QUILLON_OK);
  int32_t count = 0;
  ASSERT_EQ(quillon_collection_count(got.get(), &count), QUILLON_OK);
  EXPECT_EQ(count, 1);
  Value nothing;
  ASSERT_EQ(quillon_nothing(nothing.out()), QUILLON_OK);
  ASSERT_EQ(quillon_set_property(order.get(), "oCollection", nothing.get()), QUILLON_OK);
  ASSERT_EQ(quillon_get_property(order.get(), "oCollection", got.out()), QUILLON_OK);
  EXPECT_EQ(kindOf(got), QUILLON_NOTHING);
  // A text is no collection: the property refuses it and keeps what it held.
  EXPECT_EQ(quillon_set_property(order.get(), "oCollection", item.get()), QUILLON_RAISED);
  EXPECT_NE(std::string(quillon_error_text()).find("ProduceOrder.oCollection: error"),
            std::string::npos)
      << quillon_error_text();
  ASSERT_EQ(quillon_get_property(order.get(), "oCollection", got.out()), QUILLON_OK);
  EXPECT_EQ(kindOf(got), QUILLON_NOTHING);
}

// The demo account's production orders pulled by a scripted dialog: by-reference arguments
// receive the collection and the message, the recordsets read by row and field.
class ProductionOrders : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(quillon_dialogs_script(R"(on frmProduceOrder
  click chkAll
  click cmdFilter
  mark lstParent 1
  mark lstSub 1
  click cmdOk
end
)",
                                     0),
              QUILLON_OK)
        << quillon_error_text();
  }
  void TearDown() override { quillon_dialogs_finish(); }

  // Calls load(sProOrderId, oLogin, oCollReurn, ErrMsg, bOI, sVoutype).
  quillon_status load(const Value& order, const Value& login, Value& coll, Value& err,
                      const int* byRef, Value& ok) {
    Value id = text(""), oi = missing(), type = number(11);
    const quillon_value args[] = {id.get(),  login.get(), coll.get(),
                                  err.get(), oi.get(),    type.get()};
    return quillon_call(order.get(), "load", 6, args, byRef, ok.out());
  }
};

TEST_F(ProductionOrders, ByReferenceArgumentsReceiveWhatTheMemberLeft) {
  Value login = demoLogin();
  Value order = created("Quillon.ProduceOrder");
  Value coll, err = text(""), ok;
  ASSERT_EQ(quillon_empty(coll.out()), QUILLON_OK);
  const int byRef[] = {0, 0, 1, 1, 0, 0};
  // Without a login the member traps the error into its message, which comes back.
  Value nothing;
  ASSERT_EQ(quillon_nothing(nothing.out()), QUILLON_OK);
  ASSERT_EQ(load(order, nothing, coll, err, byRef, ok), QUILLON_OK) << quillon_error_text();
  int flag = 1;
  ASSERT_EQ(quillon_get_bool(ok.get(), &flag), QUILLON_OK);
  EXPECT_EQ(flag, 0);
  EXPECT_EQ(textOf(err), "ProduceOrder:load91\r\nObject variable or With block variable not set");
  EXPECT_EQ(kindOf(coll), QUILLON_NOTHING);

  // With the login the dialog's choice comes back in the collection.
  ASSERT_EQ(quillon_text("", err.out()), QUILLON_OK);
  ASSERT_EQ(load(order, login, coll, err, byRef, ok), QUILLON_OK) << quillon_error_text();
  ASSERT_EQ(quillon_get_bool(ok.get(), &flag), QUILLON_OK);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(textOf(err), "");
  ASSERT_EQ(kindOf(coll), QUILLON_COLLECTION);

  Value parent;
  ASSERT_EQ(quillon_collection_item_by_key(coll.get(), "Parent", parent.out()), QUILLON_OK);
  ASSERT_EQ(kindOf(parent), QUILLON_RECORDSET);
  int32_t rows = 0, fields = 0;
  ASSERT_EQ(quillon_recordset_row_count(parent.get(), &rows), QUILLON_OK);
  EXPECT_EQ(rows, 1);
  ASSERT_EQ(quillon_recordset_field_count(parent.get(), &fields), QUILLON_OK);
  ASSERT_GT(fields, 0);
  int32_t codeField = -1;
  for (int32_t i = 0; i < fields; ++i) {
    const char* name = nullptr;
    ASSERT_EQ(quillon_recordset_field_name(parent.get(), i, &name), QUILLON_OK);
    if (strcasecmp(name, "ccode") == 0) codeField = i;
  }
  ASSERT_GE(codeField, 0) << "no field ccode";
  Value code;
  ASSERT_EQ(quillon_recordset_value(parent.get(), 1, codeField, code.out()), QUILLON_OK);
  EXPECT_EQ(textOf(code), "MO26110001");
  ASSERT_EQ(quillon_recordset_value_by_name(parent.get(), 1, "CCODE", code.out()), QUILLON_OK);
  EXPECT_EQ(textOf(code), "MO26110001");

  EXPECT_TRUE(failedWith(quillon_recordset_value(parent.get(), 2, 0, code.out()),
                         QUILLON_OUT_OF_RANGE,
                         "row 2 of a recordset of 1 row (rows count from 1)"));
  EXPECT_TRUE(failedWith(quillon_recordset_value(parent.get(), 1, fields, code.out()),
                         QUILLON_OUT_OF_RANGE, "field " + std::to_string(fields)));
  EXPECT_TRUE(
      failedWith(quillon_recordset_value_by_name(parent.get(), 1, "nosuchfield", code.out()),
                 QUILLON_RAISED, "Recordset(\"nosuchfield\"): error 3265", 3265));

  Value child;
  ASSERT_EQ(quillon_collection_item_by_key(coll.get(), "Child", child.out()), QUILLON_OK);
  ASSERT_EQ(quillon_recordset_row_count(child.get(), &rows), QUILLON_OK);
  EXPECT_EQ(rows, 5);
}

TEST_F(ProductionOrders, ArgumentsPassedByValueNeverChange) {
  Value login = demoLogin();
  Value order = created("Quillon.ProduceOrder");
  Value coll, err = text("stale"), ok;
  ASSERT_EQ(quillon_empty(coll.out()), QUILLON_OK);
  ASSERT_EQ(load(order, login, coll, err, nullptr, ok), QUILLON_OK) << quillon_error_text();
  EXPECT_EQ(kindOf(coll), QUILLON_EMPTY);
  EXPECT_EQ(textOf(err), "stale");
  // What the member set is still reachable through the object.
  Value held;
  ASSERT_EQ(quillon_get_property(order.get(), "oCollection", held.out()), QUILLON_OK)
      << quillon_error_text();
  EXPECT_EQ(kindOf(held), QUILLON_COLLECTION);
}

TEST_F(ProductionOrders, HandlesMayBeReleasedInAnyOrder) {
  quillon_value login = demoLogin().take();
  quillon_value order = created("Quillon.ProduceOrder").take();
  Value coll, err = text(""), ok;
  ASSERT_EQ(quillon_empty(coll.out()), QUILLON_OK);
  {
    Value l(login), o(order);
    const int byRef[] = {0, 0, 1, 1, 0, 0};
    ASSERT_EQ(load(o, l, coll, err, byRef, ok), QUILLON_OK) << quillon_error_text();
    l.take();
    o.take();
  }
  quillon_value parent = 0, sub = 0, child = 0;
  ASSERT_EQ(quillon_collection_item_by_key(coll.get(), "Parent", &parent), QUILLON_OK);
  ASSERT_EQ(quillon_collection_item_by_key(coll.get(), "Sub", &sub), QUILLON_OK);
  ASSERT_EQ(quillon_collection_item_by_key(coll.get(), "Child", &child), QUILLON_OK);
  // The login and the object that made the collection go first, then the collection: the
  // recordsets still read.
  ASSERT_EQ(quillon_release(login), QUILLON_OK);
  ASSERT_EQ(quillon_release(order), QUILLON_OK);
  coll.reset();
  int32_t rows = 0;
  ASSERT_EQ(quillon_recordset_row_count(child, &rows), QUILLON_OK);
  EXPECT_EQ(rows, 5);
  Value code;
  ASSERT_EQ(quillon_recordset_value_by_name(sub, 1, "cinvcode", code.out()), QUILLON_OK);
  EXPECT_EQ(textOf(code), "0301001");
  // The recordsets in the opposite order of their making.
  ASSERT_EQ(quillon_release(child), QUILLON_OK);
  ASSERT_EQ(quillon_release(parent), QUILLON_OK);
  ASSERT_EQ(quillon_release(sub), QUILLON_OK);
  EXPECT_TRUE(failedWith(quillon_release(order), QUILLON_BAD_HANDLE, "was released already"));
}

TEST(CInterface, VersionNamesTheVersionAndTheCommit) {
  const std::string version = quillon_version();
  EXPECT_EQ(version.rfind("1.", 0), 0u) << version;
  EXPECT_NE(version.find(" (commit "), std::string::npos) << version;
  EXPECT_EQ(version.back(), ')');
}

}  // namespace
}  // namespace quillon::capi_test
