// PositionSet as a host reaches it: the position service's answers and errors passed through
// unchanged, a refused change that writes nothing, and the batch-position filter with its form.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "automation/com_error.h"
#include "classes/position_set.h"
#include "classes/public_classes.h"
#include "components/filter.h"
#include "components/registration.h"
#include "components/suite/filter/filter_objects.h"
#include "components/suite/filter/filter_where.h"
#include "components/suite/inv_positions.h"
#include "components/suite/login.h"
#include "dialogs/frmBatchPosition/frm_batch_position.h"
#include "forms/app_title.h"
#include "sql/condition.h"
#include "support/demo_account.h"
#include "support/recording_ui_host.h"

namespace quillon::classes {
namespace {

using automation::Args;
using automation::ComError;
using automation::InvokeKind;
using automation::ObjectPtr;
using automation::Variant;

// A position service that answers as it is told and notes how it was called.
class SubstituteService : public automation::Object {
 public:
  struct Call {
    std::string member;
    std::vector<Variant> args;
  };
  static inline std::vector<Call> calls;
  static inline Variant answer{true};
  static inline bool fail = false;

  const automation::MemberTable& memberTable() const override {
    auto op = [](std::string name) {
      return [name](SubstituteService&, Args& a) -> Variant {
        calls.push_back({name, a.values()});
        if (fail) throw ComError(-2147220999, "货位服务拒绝", "Substitute");
        return answer;
      };
    };
    auto params = [] {
      return std::vector<automation::ParamInfo>{
          automation::in("oInvPos", "Object"), automation::opt("rs1", "Recordset"),
          automation::opt("rs2", "Recordset"), automation::opt("oConn", "Connection"),
          automation::optRef("vResult", "Variant")};
    };
    static const automation::MemberTable table =
        automation::MemberBuilder<SubstituteService>("SubstituteService")
            .method("Insert", params(), "Boolean", op("Insert"))
            .method("Update", params(), "Boolean", op("Update"))
            .method("Delete", params(), "Boolean", op("Delete"))
            .build();
    return table;
  }
};

Variant call(automation::Object& object, const char* member, std::vector<Variant> args) {
  return object.invoke(member, InvokeKind::Method, args);
}

class PositionSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test_support::demoAccount(registerAllClasses);
    SubstituteService::calls.clear();
    SubstituteService::answer = Variant(true);
    SubstituteService::fail = false;
    for (auto progId : {components::kInvPositionServiceProgId, components::kFilterDialogProgId}) {
      saved_.push_back(*automation::classRegistry().find(progId));
    }
  }
  // The suite's own classes again for the next test.
  void TearDown() override {
    for (const auto& info : saved_) {
      automation::classRegistry().remove(info.progId);
      automation::classRegistry().add(info.progId, info.clsid, info.factory);
    }
  }
  std::vector<automation::ClassInfo> saved_;
};

TEST_F(PositionSetTest, MembersInOrderAndTheServiceAnswerPassedThrough) {
  auto object = automation::CreateObject("Quillon.PositionSet");
  const auto& members = object->memberTable().members();
  ASSERT_EQ(members.size(), 4u);
  EXPECT_EQ(members[0].name, "Delete");
  EXPECT_EQ(members[1].name, "Insert");
  EXPECT_EQ(members[2].name, "Update");
  EXPECT_EQ(members[3].name, "BatchInvPos");
  EXPECT_EQ(automation::classRegistry().find(kPositionSetClsid)->progId, kPositionSetProgId);

  automation::classRegistry().add<SubstituteService>(
      std::string(components::kInvPositionServiceProgId));
  auto positions = automation::CreateObject("Quillon.PositionSet");
  auto position = automation::CreateObject(components::kInvPositionProgId);
  for (const char* member : {"Delete", "Insert", "Update"}) {
    for (bool answer : {true, false}) {
      SubstituteService::answer = Variant(answer);
      EXPECT_EQ(call(*positions, member, {Variant(position)}), Variant(answer)) << member;
      ASSERT_FALSE(SubstituteService::calls.empty());
      const auto& seen = SubstituteService::calls.back();
      EXPECT_EQ(seen.member, member);
      ASSERT_EQ(seen.args.size(), 5u);
      EXPECT_EQ(automation::toObject(seen.args[0]), position);
      EXPECT_TRUE(seen.args[1].isMissing());
      EXPECT_TRUE(seen.args[2].isMissing());
      EXPECT_EQ(automation::toObject(seen.args[3]), nullptr);
      EXPECT_FALSE(seen.args[4].isMissing()) << "a result of its own";
    }
  }
  // The service's error reaches the host as it was raised.
  SubstituteService::fail = true;
  try {
    call(*positions, "Insert", {Variant(position)});
    ADD_FAILURE() << "no error";
  } catch (const ComError& e) {
    EXPECT_EQ(e.number(), -2147220999);
    EXPECT_EQ(e.description(), "货位服务拒绝");
  }
}

TEST_F(PositionSetTest, RefusedChangesWriteNothingAndNothingIsTheServiceError) {
  const std::string path = test_support::demoAccount().copy("refused");
  auto login = test_support::loginAs("demo", path);
  auto connection = test_support::connect(path);
  auto count = [&](const char* sql) {
    return connection->execute(sql)->value(std::size_t{0}).toDouble();
  };
  const double records = count("select count(*) from InvPosition");
  const double balance = count("select sum(iQuantity) from InvPositionSum");

  auto positions = automation::CreateObject("Quillon.PositionSet");
  auto position = automation::CreateObject(components::kInvPositionProgId);
  std::vector<Variant> open = {Variant(ObjectPtr(login))};
  auto context = automation::CreateObject(components::kSessionContextProgId);
  call(*context, "Init", open);
  position->set("Login", context);
  position->let("cWhCode", Variant("01"));
  position->let("cPosCode", Variant("01A01"));
  position->let("cInvCode", Variant("0101001"));
  position->let("cBatch", Variant("B2610-01"));
  position->let("iQuantity", Variant(100000.0));
  position->let("bRdFlag", Variant(false));
  EXPECT_EQ(call(*positions, "Insert", {Variant(position)}), Variant(false)) << "more than held";
  position->let("cPosCode", Variant("01A"));
  EXPECT_EQ(call(*positions, "Insert", {Variant(position)}), Variant(false)) << "not an end bin";
  position->let("AutoID", Variant(987654));
  EXPECT_EQ(call(*positions, "Update", {Variant(position)}), Variant(false)) << "no such record";
  EXPECT_EQ(call(*positions, "Delete", {Variant(position)}), Variant(false));
  EXPECT_EQ(count("select count(*) from InvPosition"), records);
  EXPECT_EQ(count("select sum(iQuantity) from InvPositionSum"), balance);

  try {
    call(*positions, "Delete", {Variant(ObjectPtr())});
    ADD_FAILURE() << "Nothing";
  } catch (const ComError& e) {
    EXPECT_EQ(e.number(), 91);
  }
}

TEST_F(PositionSetTest, BatchInvPosFilterThenForm) {
  auto host = std::make_shared<test_support::RecordingUiHost>();
  forms::ScopedUiHost scoped(host);
  int dialogsMade = 0;
  automation::classRegistry().add(std::string(components::kFilterDialogProgId), {}, [&] {
    ++dialogsMade;
    return ObjectPtr(std::make_shared<components::suite::FilterDialogObject>());
  });
  std::vector<std::string> formsShown;
  host->onModal = [&](forms::Form& form) {
    formsShown.push_back(form.Name());
    auto& shown = dynamic_cast<dialogs::frmBatchPosition&>(form);
    EXPECT_EQ(shown.VouchList1.Rows(), 1) << "captions only";
    EXPECT_EQ(forms::AppTitle(), "");
  };
  auto object = automation::CreateObject("Quillon.PositionSet");
  auto login = ObjectPtr(test_support::loginAs("demo"));

  // Cancelled: the host's text stays as it was, the form shows all the same.
  std::vector<Variant> args = {Variant(login), Variant("批次货位"), Variant("cWhCode = '04'")};
  host->filters = {std::nullopt};
  object->invoke("BatchInvPos", InvokeKind::Method, args);
  EXPECT_EQ(args[2], Variant("cWhCode = '04'"));
  ASSERT_EQ(host->filterRequests.size(), 1u);
  EXPECT_EQ(host->filterRequests[0].filterName, "批次货位");
  EXPECT_EQ(host->filterRequests[0].subsystem, "ST");
  // The filter's items, in their order, for the dialog to show as fields.
  const auto& fields = host->filterRequests[0].fields;
  ASSERT_EQ(fields.size(), 5u);
  EXPECT_EQ(fields[0].caption, "仓库");
  EXPECT_EQ(fields[1].op, "like");
  EXPECT_EQ(fields[2].field, "cInvCode");
  EXPECT_TRUE(fields[2].range);
  EXPECT_FALSE(fields[3].range);
  EXPECT_EQ(fields[4].dataType, "number");
  EXPECT_EQ(formsShown, std::vector<std::string>{"frmBatchPosition"});

  // Confirmed: the WHERE text comes back, and the second call had a filter dialog of its own.
  host->filters = {std::string("cWhCode = '01' and cPosCode like '01A%'")};
  object->invoke("BatchInvPos", InvokeKind::Method, args);
  EXPECT_EQ(args[2], Variant("cWhCode = '01' and cPosCode like '01A%'"));
  EXPECT_EQ(dialogsMade, 2);
  EXPECT_EQ(formsShown.size(), 2u);

  // An unknown name: the error names it, no form is shown and the text stays.
  std::vector<Variant> unknown = {Variant(login), Variant("货位盘点"), Variant("x = 1")};
  try {
    object->invoke("BatchInvPos", InvokeKind::Method, unknown);
    ADD_FAILURE() << "unknown filter";
  } catch (const ComError& e) {
    EXPECT_EQ(e.description(), components::suite::unknownFilterText("货位盘点"));
  }
  EXPECT_EQ(unknown[2], Variant("x = 1"));
  EXPECT_EQ(formsShown.size(), 2u);
  EXPECT_EQ(host->filterRequests.size(), 2u);

  // A confirmed WHERE text that is not one expression never reaches the host, which puts it into
  // statements of its own: the call fails, no form is shown and the host's text stays.
  for (const char* where :
       {"cWhCode = '01') delete from CurrentStock --", "1=1; drop table x", "cWhCode = '01' --"}) {
    host->filters = {std::string(where)};
    std::vector<Variant> kept = {Variant(login), Variant("批次货位"), Variant("x = 1")};
    try {
      object->invoke("BatchInvPos", InvokeKind::Method, kept);
      ADD_FAILURE() << "handed back: " << where;
    } catch (const ComError& e) {
      EXPECT_EQ(e.description().rfind(std::string(sql::kConditionRefusedText), 0), 0u)
          << e.description();
    }
    EXPECT_EQ(kept[2], Variant("x = 1"));
  }
  EXPECT_EQ(formsShown.size(), 2u);
  // The next call has a filter dialog of its own again.
  host->filters = {std::string("cWhCode = '01'")};
  object->invoke("BatchInvPos", InvokeKind::Method, args);
  EXPECT_EQ(args[2], Variant("cWhCode = '01'"));
  EXPECT_EQ(formsShown.size(), 3u);

  // Not a login: the call's error, before anything is shown.
  std::vector<Variant> bad = {Variant(ObjectPtr()), Variant("批次货位"), Variant("")};
  EXPECT_THROW(object->invoke("BatchInvPos", InvokeKind::Method, bad), ComError);
  EXPECT_EQ(formsShown.size(), 3u);
}

// The WHERE text made of the values typed into the filter's fields (仓库 =, 货位 like, 存货编码 a
// range, 批号 like, 结存数量 a number >) and the free condition, run on the account file.
TEST_F(PositionSetTest, BatchInvPosMakesTheWhereTextFromTheFields) {
  const std::string path = test_support::demoAccount().copy("filter-fields");
  auto host = std::make_shared<test_support::RecordingUiHost>();
  forms::ScopedUiHost scoped(host);
  auto object = automation::CreateObject("Quillon.PositionSet");
  auto login = ObjectPtr(test_support::loginAs("demo", path));
  auto connection = test_support::connect(path);
  auto rows = [&](const Variant& where) {
    return connection->execute("select count(*) from InvPositionSum where " + where.toString())
        ->value(std::size_t{0})
        .toDouble();
  };
  auto filter = [&](std::vector<forms::FilterValue> values, std::string freeCondition) {
    host->filters = {std::move(freeCondition)};
    host->filterValues = {std::move(values)};
    std::vector<Variant> args = {Variant(login), Variant("批次货位"), Variant("kept")};
    object->invoke("BatchInvPos", InvokeKind::Method, args);
    return args[2];
  };

  const Variant all =
      filter({{"01", ""}, {"01A", ""}, {"0101", "0199"}, {"", ""}, {"0.5", ""}}, "iNum >= 0");
  EXPECT_EQ(all, Variant("cWhCode = N'01' and cPosCode like N'%01A%' and cInvCode >= N'0101' and "
                         "cInvCode <= N'0199' and iQuantity > 0.5 and (iNum >= 0)"));
  const double held = connection
                          ->execute(
                              "select count(*) from InvPositionSum where cWhCode = '01' and "
                              "cPosCode like '%01A%' and cInvCode between '0101' and '0199' "
                              "and iQuantity > 0.5")
                          ->value(std::size_t{0})
                          .toDouble();
  EXPECT_GT(held, 0) << "the demo account holds such rows";
  EXPECT_EQ(rows(all), held);

  // A value's quotes stay inside its literal: the condition matches nothing, it adds no "or".
  const Variant quoted = filter({{"01' or '1'='1", ""}}, "");
  EXPECT_EQ(quoted, Variant("cWhCode = N'01'' or ''1''=''1'"));
  EXPECT_EQ(rows(quoted), 0);

  // A like value with a wildcard of its own is taken as it is; a range with one end; blanks are
  // no condition; the free condition alone stands as typed.
  EXPECT_EQ(filter({{"", ""}, {"01A%", ""}, {"", "0199"}, {"  ", ""}}, ""),
            Variant("cPosCode like N'01A%' and cInvCode <= N'0199'"));
  EXPECT_EQ(filter({{" ", ""}}, "cWhCode = '02'"), Variant("cWhCode = '02'"));
  EXPECT_EQ(filter({}, ""), Variant(""));

  // A number field's value that is no number is refused before it reaches SQL, and the host's
  // text stays as it was; so is a free condition that is not one expression.
  host->filters = {std::string()};
  host->filterValues = {{{}, {}, {}, {}, {"12; drop table x", ""}}};
  std::vector<Variant> args = {Variant(login), Variant("批次货位"), Variant("kept")};
  try {
    object->invoke("BatchInvPos", InvokeKind::Method, args);
    ADD_FAILURE() << "not a number";
  } catch (const ComError& e) {
    EXPECT_EQ(e.description(), components::suite::notANumberText("结存数量", "12; drop table x"));
  }
  EXPECT_EQ(args[2], Variant("kept"));
  host->filters = {std::string("1=1) or (1=1")};
  host->filterValues = {{{"01", ""}}};
  EXPECT_THROW(object->invoke("BatchInvPos", InvokeKind::Method, args), ComError);
  EXPECT_EQ(args[2], Variant("kept"));
}

}  // namespace
}  // namespace quillon::classes
