#include <gtest/gtest.h>

#include <memory>

#include "automation/class_registry.h"
#include "automation/collection.h"
#include "automation/dispatch.h"
#include "test_support.h"

namespace quillon::automation {
namespace {

// A small class declared the way the library's public classes declare theirs.
class Voucher : public Object {
 public:
  std::string sErrMsg;
  std::int32_t eVouchType = 0;
  std::shared_ptr<Collection> oCollection;
  int loads = 0;

  const MemberTable& memberTable() const override {
    static const MemberTable table =
        MemberBuilder<Voucher>("Voucher")
            .method("load",
                    {in("sCode", "String"), ref("ErrMsg", "String"), opt("bOI", "Boolean", false),
                     opt("sVoutype", "Long")},
                    "Boolean",
                    [](Voucher& self, Args& a) -> Variant {
                      ++self.loads;
                      a[1] = "code=" + a.str(0) + " bOI=" + a[2].toString() +
                             (a.omitted(3) ? " type=none" : " type=" + a.str(3));
                      a[0] = "changed";  // by value: the caller must not see this
                      return true;
                    })
            .method("Refer", {ref("sReturnErr", "String")}, "Boolean",
                    [](Voucher&, Args& a) -> Variant {
                      a[0] = "partly done";
                      throw ComError(-2147217865, "Invalid object name 'PC_01__CurrentS'.");
                    })
            .method("Reset", {}, "",
                    [](Voucher& self, Args&) -> Variant {
                      self.loads = 0;
                      return 99;  // a Sub's result is dropped
                    })
            .field("sErrMsg", "String", &Voucher::sErrMsg)
            .field("eVouchType", "Long", &Voucher::eVouchType)
            .objectField("oCollection", "Collection", &Voucher::oCollection)
            .getter("Loads", "Long", [](Voucher& self, Args&) -> Variant { return self.loads; })
            .defaultMember("sErrMsg")
            .build();
    return table;
  }
};

TEST(Dispatch, NamesIgnoreCaseAndDispIdsFollowDeclarationOrder) {
  auto v = std::make_shared<Voucher>();
  EXPECT_EQ(v->idOfName("load"), 1);
  EXPECT_EQ(v->idOfName("LOAD"), 1);
  EXPECT_EQ(v->idOfName("reset"), 3);
  EXPECT_EQ(v->idOfName("Loads"), 7);
  EXPECT_EQ(v->idOfName("nope"), kDispIdUnknown);
  v->let("SERRMSG", "hello");
  EXPECT_EQ(v->sErrMsg, "hello");
  std::vector<Variant> none;
  EXPECT_EQ(v->invoke(4, InvokeKind::PropertyGet, none), Variant("hello"));
  EXPECT_EQ(v->invoke(kDispIdValue, InvokeKind::PropertyGet, none), Variant("hello"));
  EXPECT_EQ(Variant(std::static_pointer_cast<Object>(v)).toString(), "hello");
  EXPECT_COM_ERROR(v->invoke(8, InvokeKind::Method, none), err::kMemberNotFound);
  EXPECT_COM_ERROR(v->call("Unload"), err::kMemberNotFound);
}

TEST(Dispatch, OptionalDefaultAndByRefArguments) {
  auto v = std::make_shared<Voucher>();
  std::vector<Variant> args{"A01", Variant(), Variant::missing()};
  EXPECT_EQ(v->invoke("load", InvokeKind::Method, args), Variant(true));
  EXPECT_EQ(args[1], Variant("code=A01 bOI=False type=none"));  // by reference: written back
  EXPECT_EQ(args[0], Variant("A01"));                           // by value: untouched
  EXPECT_TRUE(args[2].isMissing());

  std::vector<Variant> all{"B", Variant(), true, 12};
  v->invoke("load", InvokeKind::Method, all);
  EXPECT_EQ(all[1], Variant("code=B bOI=True type=12"));

  // What a member wrote into a by-reference argument before raising stays written.
  std::vector<Variant> refer{""};
  EXPECT_COM_ERROR(v->invoke("Refer", InvokeKind::Method, refer), -2147217865);
  EXPECT_EQ(refer[0], Variant("partly done"));

  // Omitting a required by-reference argument is refused like any other required one.
  std::vector<Variant> omittedRef{"C", Variant::missing()};
  EXPECT_COM_ERROR(v->invoke("load", InvokeKind::Method, omittedRef), err::kArgumentNotOptional);
}

TEST(Dispatch, ArgumentCountErrors) {
  auto v = std::make_shared<Voucher>();
  EXPECT_COM_ERROR(v->call("load", {"A"}), err::kArgumentNotOptional);
  EXPECT_COM_ERROR(v->call("load"), err::kArgumentNotOptional);
  EXPECT_COM_ERROR(v->call("load", {"A", "", false, 1, "extra"}), err::kWrongNumberOfArguments);
  EXPECT_COM_ERROR(v->call("Reset", {1}), err::kWrongNumberOfArguments);
  EXPECT_EQ(v->loads, 0);  // refused calls never reach the member
  std::vector<Variant> noValue;
  EXPECT_COM_ERROR(v->invoke("sErrMsg", InvokeKind::PropertyLet, noValue),
                   err::kWrongNumberOfArguments);
}

TEST(Dispatch, PropertiesAndKinds) {
  auto v = std::make_shared<Voucher>();
  v->call("load", {"A", ""});
  EXPECT_EQ(v->get("loads"), Variant(1));
  EXPECT_EQ(v->call("Loads"), Variant(1));  // a late-bound call reads a property too
  EXPECT_TRUE(v->call("Reset").isEmpty());
  EXPECT_EQ(v->loads, 0);
  EXPECT_COM_ERROR(v->let("Loads", 5), err::kMemberNotFound);  // read-only

  v->let("eVouchType", "39");
  EXPECT_EQ(v->eVouchType, 39);
  EXPECT_COM_ERROR(v->let("eVouchType", "x"), err::kTypeMismatch);
  EXPECT_EQ(v->eVouchType, 39);

  auto coll = std::make_shared<Collection>();
  v->set("oCollection", coll);
  EXPECT_EQ(v->oCollection, coll);
  EXPECT_EQ(v->get("oCollection").asObject(), coll);
  v->set("oCollection", nullptr);
  EXPECT_TRUE(v->get("oCollection").isNothing());
  // Setting an object of another class into a typed slot is a type mismatch.
  EXPECT_COM_ERROR(v->set("oCollection", std::make_shared<Voucher>()), err::kTypeMismatch);
  EXPECT_COM_ERROR(v->let("oCollection", "text"), err::kMemberNotFound);
}

TEST(Dispatch, DescribesMembers) {
  Voucher v;
  const std::string text = describeMembers(v.memberTable());
  EXPECT_NE(text.find("1 Function load(sCode As String, ByRef ErrMsg As String, Optional bOI As "
                      "Boolean = False, Optional sVoutype As Long) As Boolean\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("3 Sub Reset()\n"), std::string::npos) << text;
  EXPECT_NE(text.find("4 Property Get/Let sErrMsg As String [default]\n"), std::string::npos)
      << text;
  EXPECT_NE(text.find("6 Property Get/Set oCollection As Collection\n"), std::string::npos) << text;
}

TEST(Dispatch, TablesRejectConflictingDeclarations) {
  MemberTable t("T");
  MemberInfo m;
  m.name = "Value";
  m.get = [](Object&, Args&) -> Variant { return 1; };
  t.add(m);
  MemberInfo let;
  let.name = "VALUE";
  let.let = [](Object&, Args&) -> Variant { return {}; };
  EXPECT_EQ(t.add(let).dispId, 1);  // a property declared in pieces is one member
  EXPECT_THROW(t.add(m), std::logic_error);
  EXPECT_THROW(t.setDefault("Other"), std::logic_error);
}

class Dynamic : public Object {
 public:
  std::optional<Variant> invokeDynamic(std::string_view name, InvokeKind,
                                       std::span<Variant>) override {
    if (name == "QuanDecDgt") return Variant(2);
    return std::nullopt;
  }
};

TEST(Dispatch, DynamicMembers) {
  auto d = std::make_shared<Dynamic>();
  EXPECT_EQ(d->get("QuanDecDgt"), Variant(2));
  EXPECT_COM_ERROR(d->get("Other"), err::kMemberNotFound);
  EXPECT_COM_ERROR(d->value(), err::kMemberNotFound);
}

TEST(ClassRegistry, CreatesByProgIdOrClsidWithoutCase) {
  ClassRegistry r;
  r.add<Voucher>("Quillon.Voucher", "{44D5F505-DDB2-476F-95C5-AD368DD8711D}");
  registerAutomationClasses(r);
  EXPECT_NE(std::dynamic_pointer_cast<Voucher>(r.create("quillon.voucher")), nullptr);
  EXPECT_NE(std::dynamic_pointer_cast<Voucher>(r.create("{44d5f505-ddb2-476f-95c5-ad368dd8711d}")),
            nullptr);
  EXPECT_NE(r.create("Quillon.Voucher"), r.create("Quillon.Voucher"));  // a new object each time
  EXPECT_NE(std::dynamic_pointer_cast<Collection>(r.create("Collection")), nullptr);
  EXPECT_COM_ERROR(r.create("TermMisc.Terminal"), err::kCantCreateObject);
  EXPECT_COM_ERROR(r.create("{00000000-0000-0000-0000-000000000000}"), err::kCantCreateObject);
  EXPECT_COM_ERROR(r.create(""), err::kCantCreateObject);

  EXPECT_THROW(r.add<Voucher>("Other", "{44D5F505-DDB2-476F-95C5-AD368DD8711D}"),
               std::invalid_argument);
  EXPECT_THROW(r.add<Voucher>("Bad", "44D5F505-DDB2"), std::invalid_argument);
  r.add<Collection>("QUILLON.VOUCHER", "{44D5F505-DDB2-476F-95C5-AD368DD8711D}");  // replaces
  EXPECT_NE(std::dynamic_pointer_cast<Collection>(r.create("Quillon.Voucher")), nullptr);
  EXPECT_TRUE(r.remove("quillon.voucher"));
  EXPECT_COM_ERROR(r.create("Quillon.Voucher"), err::kCantCreateObject);

  r.add("Quillon.Empty", "", [] { return ObjectPtr{}; });
  EXPECT_COM_ERROR(r.create("Quillon.Empty"), err::kCantCreateObject);
}

}  // namespace
}  // namespace quillon::automation
