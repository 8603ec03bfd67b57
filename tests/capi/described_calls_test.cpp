// What the C interface offers hosts that bind by name and read in bulk: the members a class
// declares with their parameters, calls that bring their own dialog lines (and leave the dialogs
// set before as they were), whole recordsets in one call, the account check, and the count of
// live handles.
#include <gtest/gtest.h>

#include <string>

#include "capi/capi_fixture.h"
#include "quillon.h"

namespace quillon::capi_test {
namespace {

constexpr const char* kLinesPickingFirstOrder = R"(on frmProduceOrder
  click chkAll
  click cmdFilter
  mark lstParent 1
  mark lstSub 1
  click cmdOk
end
)";

TEST(DescribedMembers, AClassListsItsMembersWithTheirParameters) {
  Value order = created("Quillon.ProduceOrder");
  int32_t count = 0;
  ASSERT_EQ(quillon_member_count(order.get(), &count), QUILLON_OK);
  ASSERT_GT(count, 8);
  const char* name = nullptr;
  ASSERT_EQ(quillon_member_name(order.get(), 0, &name), QUILLON_OK);
  EXPECT_STREQ(name, "load");
  EXPECT_TRUE(failedWith(quillon_member_name(order.get(), count, &name), QUILLON_OUT_OF_RANGE,
                         "members count from 0"));

  int kinds = 0;
  int32_t params = 0;
  // Without regard to case, as calls find members.
  ASSERT_EQ(quillon_member_info(order.get(), "LOAD", &kinds, &params), QUILLON_OK);
  EXPECT_EQ(kinds, QUILLON_MEMBER_METHOD);
  EXPECT_EQ(params, 6);
  int flags = -1;
  ASSERT_EQ(quillon_member_param(order.get(), "load", 2, &name, &flags), QUILLON_OK);
  EXPECT_STREQ(name, "oCollReurn");
  EXPECT_EQ(flags, QUILLON_PARAM_BY_REF);
  ASSERT_EQ(quillon_member_param(order.get(), "load", 4, &name, &flags), QUILLON_OK);
  EXPECT_STREQ(name, "bOI");
  EXPECT_EQ(flags, QUILLON_PARAM_OPTIONAL);
  ASSERT_EQ(quillon_member_param_type(order.get(), "load", 2, &name), QUILLON_OK);
  EXPECT_STREQ(name, "Collection");
  EXPECT_TRUE(failedWith(quillon_member_param(order.get(), "load", 6, &name, &flags),
                         QUILLON_OUT_OF_RANGE, "parameter 6 of load, which has 6 parameters"));
  ASSERT_EQ(quillon_member_text(order.get(), "load", &name), QUILLON_OK);
  EXPECT_EQ(std::string(name).rfind("Function load(sProOrderId As String, oLogin As Object, "
                                    "ByRef oCollReurn As Collection, ByRef ErrMsg As String",
                                    0),
            0u)
      << name;

  ASSERT_EQ(quillon_member_info(order.get(), "sErrMsg", &kinds, &params), QUILLON_OK);
  EXPECT_EQ(kinds, QUILLON_MEMBER_GET | QUILLON_MEMBER_LET);
  EXPECT_EQ(params, 0);
  EXPECT_TRUE(failedWith(quillon_member_info(order.get(), "Nope", &kinds, &params), QUILLON_RAISED,
                         "ProduceOrder.Nope: error 438", 438));
  Value text_value = text("x");
  EXPECT_TRUE(failedWith(quillon_member_count(text_value.get(), &count), QUILLON_WRONG_KIND,
                         "not an object"));
}

// ProduceOrder.load(sProOrderId, oLogin, oCollReurn, ErrMsg, bOI, sVoutype) with dialog lines;
// the login and the order live as long as the test, so the call's error is the last one.
struct OrderLoad {
  Value login = demoLogin();
  Value order = created("Quillon.ProduceOrder");
  Value id = text(""), oi = missing(), type = number(11);
  Value coll, err, ok;

  quillon_status operator()(const char* lines) {
    EXPECT_EQ(quillon_empty(coll.out()), QUILLON_OK);
    err = text("");
    ok.reset();
    const quillon_value args[] = {id.get(),  login.get(), coll.get(),
                                  err.get(), oi.get(),    type.get()};
    const int byRef[] = {0, 0, 1, 1, 0, 0};
    return quillon_call_dialogs(order.get(), "load", 6, args, byRef, lines, 0, ok.out());
  }
};

std::string lastTranscript() {
  const char* text = nullptr;
  EXPECT_EQ(quillon_call_dialogs_transcript(&text), QUILLON_OK);
  return text ? text : "";
}

TEST(CallDialogs, TheLinesAnswerOneCallAndTheDialogsSetBeforeComeBack) {
  // Lines set for the calls that follow stay set around a call with lines of its own.
  ASSERT_EQ(quillon_dialogs_script("on frmRefSelect\n  toolbar ok\nend\n", 0), QUILLON_OK);
  OrderLoad load;
  ASSERT_EQ(load(kLinesPickingFirstOrder), QUILLON_OK) << quillon_error_text();
  int32_t count = 0;
  ASSERT_EQ(quillon_collection_count(load.coll.get(), &count), QUILLON_OK);
  EXPECT_EQ(count, 3);
  EXPECT_NE(lastTranscript().find("frmProduceOrder"), std::string::npos) << lastTranscript();
  const char* text = nullptr;
  ASSERT_EQ(quillon_dialogs_transcript(&text), QUILLON_OK);
  EXPECT_STREQ(text, "");  // the earlier lines saw nothing of the call
  // Their block was never used: they are still the ones installed.
  EXPECT_TRUE(failedWith(quillon_dialogs_finish(), QUILLON_SCRIPT_FAILED, "line 1"));
}

TEST(CallDialogs, LinesThatFailGiveTheResultWithTheFailure) {
  OrderLoad load;
  EXPECT_TRUE(failedWith(load("on frmProduceOrder\n  click cmdNoSuchButton\nend\n"),
                         QUILLON_SCRIPT_FAILED, "cmdNoSuchButton"));
  // The member ran and returned: its result and by-reference values are there.
  int flag = 0;
  ASSERT_EQ(quillon_get_bool(load.ok.get(), &flag), QUILLON_OK);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(kindOf(load.coll), QUILLON_NOTHING);
  EXPECT_NE(lastTranscript().find("frmProduceOrder"), std::string::npos);

  // Lines that are no dialog lines: the member is never called.
  EXPECT_TRUE(failedWith(load("login user=demo\n"), QUILLON_SCRIPT_FAILED, "a host line"));
  EXPECT_EQ(load.ok.get(), 0u);
  EXPECT_EQ(lastTranscript(), "");
  EXPECT_EQ(quillon_dialogs_finish(), QUILLON_OK);  // nothing was left installed
}

TEST(CallDialogs, AMemberThatRaisesKeepsItsErrorAndSaysTheLinesFailed) {
  Value coll = created("Collection");
  Value key = text("k"), ok;
  const quillon_value args[] = {key.get()};
  EXPECT_TRUE(failedWith(
      quillon_call_dialogs(coll.get(), "Item", 1, args, nullptr, "answer yes\n", 0, ok.out()),
      QUILLON_RAISED, "the dialog lines failed as well", 5));
  EXPECT_EQ(quillon_dialogs_finish(), QUILLON_OK);
}

TEST(Recordsets, RowsComeInOneCallAsArraysInFieldOrder) {
  OrderLoad load;
  ASSERT_EQ(load(kLinesPickingFirstOrder), QUILLON_OK) << quillon_error_text();
  Value child;
  ASSERT_EQ(quillon_collection_item_by_key(load.coll.get(), "Child", child.out()), QUILLON_OK);
  int32_t rows = 0, fields = 0;
  ASSERT_EQ(quillon_recordset_row_count(child.get(), &rows), QUILLON_OK);
  ASSERT_EQ(quillon_recordset_field_count(child.get(), &fields), QUILLON_OK);
  ASSERT_EQ(rows, 5);

  Value taken;
  ASSERT_EQ(quillon_recordset_rows(child.get(), 2, 3, taken.out()), QUILLON_OK)
      << quillon_error_text();
  int32_t count = 0;
  ASSERT_EQ(quillon_array_count(taken.get(), &count), QUILLON_OK);
  ASSERT_EQ(count, 3);
  for (int32_t i = 0; i < 3; ++i) {
    Value row;
    ASSERT_EQ(quillon_array_item(taken.get(), i, row.out()), QUILLON_OK);
    ASSERT_EQ(quillon_array_count(row.get(), &count), QUILLON_OK);
    ASSERT_EQ(count, fields);
    // Each value is the one the single reads give for that row and field.
    for (int32_t f = 0; f < fields; ++f) {
      Value bulk, single;
      ASSERT_EQ(quillon_array_item(row.get(), f, bulk.out()), QUILLON_OK);
      ASSERT_EQ(quillon_recordset_value(child.get(), i + 2, f, single.out()), QUILLON_OK);
      EXPECT_EQ(displayOf(bulk), displayOf(single)) << "row " << i + 2 << ", field " << f;
    }
  }
  ASSERT_EQ(quillon_recordset_rows(child.get(), 6, 0, taken.out()), QUILLON_OK);
  ASSERT_EQ(quillon_array_count(taken.get(), &count), QUILLON_OK);
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(failedWith(quillon_recordset_rows(child.get(), 4, 3, taken.out()),
                         QUILLON_OUT_OF_RANGE, "3 rows from row 4 of a recordset of 5 rows"));
  EXPECT_TRUE(failedWith(quillon_recordset_rows(child.get(), 0, 1, taken.out()),
                         QUILLON_OUT_OF_RANGE, "rows count from 1"));
  EXPECT_TRUE(failedWith(quillon_recordset_rows(child.get(), 1, -1, taken.out()),
                         QUILLON_OUT_OF_RANGE, "-1 rows"));
}

TEST(Accounts, TheCheckReportsASoundAccountAndRefusesAMissingOne) {
  int clean = 0;
  const char* report = nullptr;
  ASSERT_EQ(quillon_check_account(demoAccount().c_str(), &clean, &report), QUILLON_OK)
      << quillon_error_text();
  EXPECT_EQ(clean, 1);
  EXPECT_NE(std::string(report).find("account checks passed"), std::string::npos) << report;
  const std::string missing = (demoAccount().parent_path() / "no-such-account.db").string();
  EXPECT_TRUE(failedWith(quillon_check_account(missing.c_str(), &clean, &report), QUILLON_RAISED,
                         "checking \"" + missing + "\""));
  EXPECT_TRUE(failedWith(quillon_check_account(nullptr, &clean, &report), QUILLON_NULL_POINTER,
                         "db is a null pointer"));
}

TEST(Handles, TheCountFollowsEveryHandleGivenOutAndBack) {
  size_t before = 0, during = 0, after = 0;
  ASSERT_EQ(quillon_value_count(&before), QUILLON_OK);
  {
    Value a = text("a"), b = number(2);
    Value copy;
    ASSERT_EQ(quillon_copy(a.get(), copy.out()), QUILLON_OK);
    ASSERT_EQ(quillon_value_count(&during), QUILLON_OK);
    EXPECT_EQ(during, before + 3);
  }
  ASSERT_EQ(quillon_value_count(&after), QUILLON_OK);
  EXPECT_EQ(after, before);
}

}  // namespace
}  // namespace quillon::capi_test
