// A third inventory-class grade: class 06 over the non-end grade-2 class 0601, whose grade-3
// classes are 060101 (two inventories) and 060102 (none). The inventories have no rights, stock
// or documents, and nothing else refers to them, so the rest of the account is as before.
#include <array>
#include <string>

#include "db/demo_parts.h"

namespace quillon::db {

void writeClassGrades(DemoContext& ctx) {
  Loader& out = ctx.out;
  out.insert("GradeDef", {{"cKeyWord", "inventoryclass"}, {"iGrade", 3}, {"iCodeLen", 2}});
  struct Class {
    const char* code;
    const char* name;
    int grade;
    bool end;
  };
  constexpr std::array<Class, 4> kClasses = {{
      {"06", "设备备件", 1, false},
      {"0601", "传动件", 2, false},
      {"060101", "轴承", 3, true},
      {"060102", "齿轮", 3, true},
  }};
  for (const Class& c : kClasses) {
    out.insert("InventoryClass", {{"cInvCCode", c.code},
                                  {"cInvCName", c.name},
                                  {"iInvCGrade", c.grade},
                                  {"bInvCEnd", c.end},
                                  {"cEcoCode", std::string("HS") + c.code}});
  }
  struct Item {
    const char* code;
    const char* name;
    const char* standard;  // cInvStd
  };
  constexpr std::array<Item, 2> kItems = {{
      {"060101001", "备用深沟球轴承", "6205-2Z"},
      {"060101002", "备用圆锥滚子轴承", "30206"},
  }};
  // Numbers after the catalogue's, which are 1 to the number of its items.
  int iid = static_cast<int>(ctx.cat.itemCount());
  for (const Item& i : kItems) {
    out.insert("Inventory", {{"cInvCode", i.code},
                             {"iId", ++iid},
                             {"cInvAddCode", std::string("A") + i.code},
                             {"cInvName", i.name},
                             {"cInvStd", i.standard},
                             {"cInvCCode", "060101"},
                             {"cGroupCode", "01"},
                             {"iGroupType", 0},
                             {"cComUnitCode", "0107"},
                             {"cSTComUnitCode", "0107"},
                             {"cPUComUnitCode", "0107"},
                             {"cSAComUnitCode", "0107"},
                             {"bPurchase", true}});
  }
}

}  // namespace quillon::db
