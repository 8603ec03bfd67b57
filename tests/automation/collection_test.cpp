#include <gtest/gtest.h>

#include <memory>

#include "automation/collection.h"
#include "test_support.h"

namespace quillon::automation {
namespace {

TEST(Collection, KeysIgnoreAsciiCaseAndMustBeUnique) {
  Collection c;
  c.add("heads", "Parent");
  c.add("lines", "Sub");
  EXPECT_EQ(c.item("parent"), Variant("heads"));
  EXPECT_EQ(c.item("SUB"), Variant("lines"));
  EXPECT_TRUE(c.contains("pArEnT"));
  EXPECT_COM_ERROR(c.add("again", "PARENT"), err::kKeyAlreadyExists);
  EXPECT_EQ(c.count(), 2u);  // the refused item was not added
  c.add("材料", "子件");
  EXPECT_EQ(c.item("子件"), Variant("材料"));
}

TEST(Collection, IndexAndKeyLookupMissesRaise5) {
  Collection c;
  c.add(10);
  c.add(20, "b");
  EXPECT_EQ(c.item(1), Variant(10));
  EXPECT_EQ(c.item(Variant(2.0)), Variant(20));
  EXPECT_COM_ERROR(c.item(std::size_t{0}), err::kInvalidProcedureCall);
  EXPECT_COM_ERROR(c.item(3), err::kInvalidProcedureCall);
  EXPECT_COM_ERROR(c.item("none"), err::kInvalidProcedureCall);
  EXPECT_COM_ERROR(c.item(Variant("1")), err::kInvalidProcedureCall);  // a text is a key
  EXPECT_COM_ERROR(c.item(Variant::null()), err::kInvalidUseOfNull);
}

TEST(Collection, RemoveKeepsOrderAndKeys) {
  Collection c;
  c.add("a", "A");
  c.add("b", "B");
  c.add("c");
  c.add("d", "D");
  c.remove(Variant("b"));
  EXPECT_EQ(c.count(), 3u);
  EXPECT_EQ(c.item(2), Variant("c"));
  EXPECT_EQ(c.item("D"), Variant("d"));
  EXPECT_FALSE(c.contains("B"));
  c.add("b again", "b");  // the key is free again
  c.remove(Variant(1));
  EXPECT_EQ(c.item("d"), Variant("d"));
  std::vector<std::optional<std::string>> keys = c.keys();
  EXPECT_EQ(keys, (std::vector<std::optional<std::string>>{std::nullopt, "D", "b"}));
  EXPECT_COM_ERROR(c.remove(Variant("zzz")), err::kInvalidProcedureCall);
}

TEST(Collection, BeforeAndAfterPlacement) {
  Collection c;
  c.add("x", "X");
  c.add("z", "Z");
  c.add("y", "Y", Variant::missing(), Variant("x"));
  c.add("w", "W", Variant(1), Variant::missing());
  EXPECT_EQ(c.keys(), (std::vector<std::optional<std::string>>{"W", "X", "Y", "Z"}));
  EXPECT_EQ(c.item("z"), Variant("z"));
  EXPECT_COM_ERROR(c.add("v", "V", Variant(1), Variant(2)), err::kInvalidProcedureCall);
}

TEST(Collection, LateBoundMembers) {
  auto c = std::make_shared<Collection>();
  c->call("add", {"first", "K1"});
  c->call("Add", {"second"});
  EXPECT_EQ(c->get("Count"), Variant(2));
  EXPECT_EQ(c->get("item", {"k1"}), Variant("first"));
  std::vector<Variant> args{2};
  EXPECT_EQ(c->invoke(kDispIdValue, InvokeKind::PropertyGet, args), Variant("second"));
  EXPECT_COM_ERROR(c->call("Add", {"x", 5}), err::kTypeMismatch);  // keys are texts
  EXPECT_COM_ERROR(c->call("Add", {"x", "k1"}), err::kKeyAlreadyExists);
  c->call("Remove", {"K1"});
  EXPECT_EQ(c->get("count"), Variant(1));
  // A collection inside a Variant converts through its default member.
  Collection holder;
  holder.add(Variant(std::static_pointer_cast<Object>(c)), "inner");
  EXPECT_TRUE(holder.item("inner").isObject());
}

}  // namespace
}  // namespace quillon::automation
