// Units, inventory classes and inventories, warehouses, departments, persons, customers,
// vendors, project items, product structures and bin positions.
#include <array>
#include <cstdio>
#include <string>

#include "db/demo_bom.h"
#include "db/demo_parts.h"
#include "db/demo_words.h"

namespace quillon::db {

namespace {

// clang-format off
constexpr std::array<BomRow, 34> kBom = {{
    {"0301001", "0202001", 1, 3},   {"0301001", "0103001", 1, 3},  {"0301001", "0102001", 8, 3},
    {"0301001", "0102002", 8, 3},   {"0301001", "0104001", 0.5, 3}, {"0301002", "0201001", 1, 3},
    {"0301002", "0201002", 1, 3},   {"0301002", "0103001", 1, 3},  {"0301002", "0102004", 2, 3},
    {"0301002", "0102005", 2, 1},   {"0302001", "0101005", 12.5, 3}, {"0302001", "0103001", 1, 3},
    {"0302001", "0102001", 12, 3},  {"0302001", "0104001", 0.8, 3}, {"0302002", "0101001", 35, 3},
    {"0302002", "0201003", 1, 3},   {"0302002", "0103001", 1, 3},  {"0302002", "0102004", 2, 3},
    {"0303001", "0202002", 1, 3},   {"0303001", "0103002", 3, 3},  {"0303001", "0103003", 15, 3},
    {"0303001", "0103004", 4, 3},   {"0303002", "0101001", 8, 3},  {"0303002", "0103002", 2, 3},
    {"0303002", "0103003", 10, 3},  {"0202001", "0201002", 1, 3},  {"0202001", "0201001", 1, 3},
    {"0202001", "0102004", 2, 3},   {"0202001", "0104003", 0.2, 3}, {"0202002", "0101005", 3.5, 3},
    {"0202002", "0103004", 4, 3},   {"0202002", "0103003", 5, 3},  {"0201001", "0101002", 5.5, 3},
    {"0201003", "0101002", 12, 3},
}};
// clang-format on

std::string pad(long value, int width) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*ld", width, value);
  return buf;
}

std::string digits(DemoRandom& rnd, int count) {
  std::string s;
  for (int i = 0; i < count; ++i) s += static_cast<char>('0' + rnd.between(0, 9));
  return s;
}

std::string personName(DemoRandom& rnd) {
  return std::string(rnd.pick(words::surnames())) + std::string(rnd.pick(words::givenNames()));
}

std::string address(DemoRandom& rnd, const std::string& region) {
  return region + "市" + std::string(rnd.pick(words::streets())) +
         std::to_string(rnd.between(1, 999)) + "号";
}

void writeUnits(DemoContext& ctx) {
  for (const DemoUnitGroup& g : ctx.cat.groups) {
    ctx.out.insert("ComputationGroup",
                   {{"cGroupCode", g.code}, {"cGroupName", g.name}, {"iGroupType", g.type}});
  }
  int number = 1;
  for (const DemoUnit& u : ctx.cat.units) {
    const bool single = u.group == "01";
    ctx.out.insert("ComputationUnit",
                   {{"cComunitCode", u.code},
                    {"cComUnitName", u.name},
                    {"cGroupCode", u.group},
                    {"bMainUnit", u.main},
                    {"iChangRate", single ? Cell() : Cell(u.rate)},
                    {"iNumber", number++},
                    {"cBarCode", "U" + u.code},
                    {"fFloatRate", u.group == "03" || u.group == "05" ? Cell(0.05) : Cell()}});
  }
}

void writeClasses(DemoContext& ctx) {
  struct Class {
    const char* code;
    const char* name;
    int grade;
    bool end;
  };
  constexpr std::array<Class, 14> kClasses = {{
      {"01", "原材料", 1, false},
      {"0101", "金属材料", 2, true},
      {"0102", "标准件", 2, true},
      {"0103", "电气元件", 2, true},
      {"0104", "化工材料", 2, true},
      {"02", "半成品", 1, false},
      {"0201", "机加件", 2, true},
      {"0202", "组件", 2, true},
      {"03", "产成品", 1, false},
      {"0301", "泵类", 2, true},
      {"0302", "风机类", 2, true},
      {"0303", "电控设备", 2, true},
      {"04", "包装物", 1, true},
      {"05", "代销商品", 1, true},
  }};
  for (const Class& c : kClasses) {
    ctx.out.insert("InventoryClass", {{"cInvCCode", c.code},
                                      {"cInvCName", c.name},
                                      {"iInvCGrade", c.grade},
                                      {"bInvCEnd", c.end},
                                      {"cEcoCode", std::string("HS") + c.code}});
  }
}

const char* materialOf(const DemoItem& item) {
  if (item.klass == "0101") return "Q235";
  if (item.klass == "0201") return "45#";
  if (item.kind == ItemKind::Product) return "铸铁";
  return nullptr;
}

void writeInventories(DemoContext& ctx) {
  DemoRandom& rnd = ctx.rnd;
  ctx.cat.forEachItem([&](const DemoItem& item) {
    const bool made = item.kind == ItemKind::Semi || item.kind == ItemKind::Product;
    const bool bought = !made || item.code == "0201002" || item.code == "0202002";
    const char* material = materialOf(item);
    std::vector<Field> f = {
        {"cInvCode", item.code},
        {"iId", item.iid},
        {"cInvAddCode", "A" + item.code},
        {"cInvName", item.name},
        {"cInvStd", item.standard},
        {"cInvCCode", item.klass},
        {"cGroupCode", item.group},
        {"iGroupType", item.groupType},
        {"cComUnitCode", item.mainUnit},
        {"cAssComUnitCode", item.assUnit.empty() ? Cell() : Cell(item.assUnit)},
        {"cSTComUnitCode", item.assUnit.empty() ? item.mainUnit : item.assUnit},
        {"cPUComUnitCode", item.assUnit.empty() ? item.mainUnit : item.assUnit},
        {"cSAComUnitCode", item.mainUnit},
        {"bSale", item.kind == ItemKind::Product || item.kind == ItemKind::Goods},
        {"bPurchase", bought},
        {"bSelf", made},
        {"bComsume", item.kind != ItemKind::Product && item.kind != ItemKind::Goods},
        {"bProducing", made},
        {"bInvEntrust", item.consign},
        {"bInvBatch", item.batch},
        {"bInvQuality", item.shelfDays > 0},
        {"iMassDate", item.shelfDays > 0 ? Cell(item.shelfDays) : Cell()},
        {"cMassUnit", item.shelfDays > 0 ? Cell(3) : Cell()},
        {"bTrack", item.batch && item.kind == ItemKind::Material},
        {"bNotCheckNum", item.groupType == 2},
        {"bFree1", (item.freeItems & 1) != 0},
        {"bFree2", (item.freeItems & 2) != 0},
        {"fInExcess", bought ? Cell(0.1) : Cell()},
        {"fOutExcess", item.kind == ItemKind::Product ? Cell(0.05) : Cell()},
        {"iInvSPrice", item.price * 1.3},
        {"iInvRCost", item.price},
        {"cDefWareHouse", item.warehouses.front()},
        {"iSafeNum", rnd.amount(0, 50)},
        {"iTopSum", rnd.amount(500, 2000)},
        {"iLowSum", rnd.amount(10, 100)},
        {"dSDate", "2026-01-01"},
        {"cInvDefine1", material != nullptr ? Cell(material) : Cell()},
        {"cInvDefine2", made ? Cell("QL-" + item.code) : Cell()},
        {"cInvDefine3", item.kind == ItemKind::Goods ? Cell("浙江义乌") : Cell()},
    };
    ctx.out.insert("Inventory", f);
    for (const std::string& wh : item.warehouses) {
      ctx.out.insert("WhAndInv", {{"cWhCode", wh},
                                  {"cInvCode", item.code},
                                  {"iSafeNum", rnd.amount(0, 20)},
                                  {"iTopSum", rnd.amount(500, 1000)},
                                  {"iLowSum", rnd.amount(5, 50)}});
    }
    if ((item.freeItems & 1) != 0) {
      int n = 1;
      for (const std::string& v : colourValues()) {
        ctx.out.insert("InvFreeValue", {{"cInvCode", item.code},
                                        {"iFreeNo", 1},
                                        {"cValueCode", pad(n, 2)},
                                        {"cValue", v},
                                        {"cBarCode", item.code + "-1-" + pad(n, 2)}});
        ++n;
      }
    }
    if ((item.freeItems & 2) != 0) {
      int n = 1;
      for (const std::string& v : gradeValues()) {
        ctx.out.insert("InvFreeValue", {{"cInvCode", item.code},
                                        {"iFreeNo", 2},
                                        {"cValueCode", pad(n, 2)},
                                        {"cValue", v},
                                        {"cBarCode", item.code + "-2-" + pad(n, 2)}});
        ++n;
      }
    }
  });
}

void writeOrganisation(DemoContext& ctx) {
  DemoRandom& rnd = ctx.rnd;
  for (const DemoDepartment& d : ctx.cat.departments) {
    ctx.out.insert("Department", {{"cDepCode", d.code},
                                  {"cDepName", d.name},
                                  {"iDepGrade", d.grade},
                                  {"bDepEnd", d.end},
                                  {"cDepPhone", "0512-6" + digits(rnd, 7)}});
  }
  for (const DemoPerson& p : ctx.cat.persons) {
    ctx.out.insert("Person", {{"cPersonCode", p.code},
                              {"cPersonName", p.name},
                              {"cDepCode", p.department},
                              {"cPersonPhone", "13" + digits(rnd, 9)}});
  }
  for (const DemoWarehouse& w : ctx.cat.warehouses) {
    ctx.out.insert(
        "Warehouse",
        {{"cWhCode", w.code},
         {"cWhName", w.name},
         {"cDepCode", w.department},
         {"cWhAddress", "苏州工业园区星湖街" + std::to_string(100 + rnd.between(1, 99)) + "号"},
         {"cWhPerson", "吴霞"},
         {"cWhValueStyle", "移动平均法"},
         {"bWhPos", w.positions},
         {"bProxyWh", w.consign}});
  }
  for (const DemoWarehouse& w : ctx.cat.warehouses) {
    if (!w.positions) continue;
    for (const char* zone : {"A", "B"}) {
      const std::string zoneCode = w.code + zone;
      ctx.out.insert("Position", {{"cPosCode", zoneCode},
                                  {"cPosName", w.name + zone + "区"},
                                  {"cWhCode", w.code},
                                  {"iPosGrade", 1},
                                  {"bPosEnd", false}});
      for (int n = 1; n <= 4; ++n) {
        ctx.out.insert("Position",
                       {{"cPosCode", zoneCode + pad(n, 2)},
                        {"cPosName", std::string(zone) + "区" + std::to_string(n) + "号货架"},
                        {"cWhCode", w.code},
                        {"iPosGrade", 2},
                        {"bPosEnd", true},
                        {"cBarCode", "P" + zoneCode + pad(n, 2)},
                        {"iMaxWeight", 2000.0}});
      }
    }
  }
}

void writePartners(DemoContext& ctx) {
  DemoRandom& rnd = ctx.rnd;
  for (int n = 1; n <= ctx.cat.partnerCount(); ++n) {
    const DemoPartner v = ctx.cat.vendor(n);
    ctx.out.insert("Vendor",
                   {{"cVenCode", v.code},
                    {"cVenName", v.name},
                    {"cVenAbbName", v.abbName},
                    {"cVCCode", n <= 4 ? "01" : "02"},
                    {"cDCCode", "0" + std::to_string(1 + n % 3)},
                    {"cTrade", n <= 4 ? "委外加工" : "原材料供应"},
                    {"cVenAddress", address(rnd, v.region)},
                    {"cVenPostCode", "2" + digits(rnd, 5)},
                    {"cVenRegCode", "91320" + digits(rnd, 13)},
                    {"cVenBank", std::string(rnd.pick(words::banks())) + v.region + "分行"},
                    {"cVenAccount", "6222" + digits(rnd, 15)},
                    {"cVenPhone", "0512-6" + digits(rnd, 7)},
                    {"cVenFax", "0512-6" + digits(rnd, 7)},
                    {"cVenEmail", "sales" + pad(n, 3) + "@example.cn"},
                    {"cVenPerson", personName(rnd)},
                    {"cVenDepart", "03"},
                    {"cVenPPerson", "005"},
                    {"dVenDevDate", "2025-0" + std::to_string(1 + n % 9) + "-15"},
                    {"cVenDefine1", n % 3 == 0 ? "B级" : "A级"},
                    {"cVenDefine2", std::to_string(1 + n % 7)}});
  }
  for (int n = 1; n <= ctx.cat.partnerCount(); ++n) {
    const DemoPartner c = ctx.cat.customer(n);
    ctx.out.insert("Customer",
                   {{"cCusCode", c.code},
                    {"cCusName", c.name},
                    {"cCusAbbName", c.abbName},
                    {"cCCCode", n <= 4 ? "01" : "02"},
                    {"cDCCode", "0" + std::to_string(1 + n % 3)},
                    {"cCusAddress", address(rnd, c.region)},
                    {"cCusPostCode", "1" + digits(rnd, 5)},
                    {"cCusPhone", "021-5" + digits(rnd, 7)},
                    {"cCusFax", "021-5" + digits(rnd, 7)},
                    {"cCusPerson", personName(rnd)},
                    {"cCusBank", std::string(rnd.pick(words::banks())) + c.region + "支行"},
                    {"cCusAccount", "6228" + digits(rnd, 15)},
                    {"cCusRegCode", "91310" + digits(rnd, 13)},
                    {"cCusDepart", n % 2 == 0 ? "0401" : "0402"},
                    {"cCusPPerson", n % 2 == 0 ? "007" : "009"},
                    {"dCusDevDate", "2025-1" + std::to_string(n % 3) + "-08"},
                    {"cCusDefine1", n % 4 == 0 ? "B" : "A"},
                    {"cCusDefine2", n % 2 == 0 ? "赵磊" : "周杰"}});
  }
  ctx.cat.forEachItem([&](const DemoItem& item) {
    const char* vendor = processingVendor(item.code.c_str());
    ctx.out.insert("venandinv", {{"cVenCode", vendor},
                                 {"cInvCode", item.code},
                                 {"cVenInvCode", "G-" + item.code},
                                 {"cVenInvName", item.name + "（外协）"},
                                 {"iVenPrice", item.price * 0.9}});
  });
}

void writeProjects(DemoContext& ctx) {
  ctx.out.insert("fitem",
                 {{"cItem_Class", "01"}, {"cItem_Name", "研发项目"}, {"cItemTable", "fitemss"}});
  ctx.out.insert("fitem",
                 {{"cItem_Class", "02"}, {"cItem_Name", "客户订单"}, {"cItemTable", "fitemss"}});
  ctx.out.insert("fitem",
                 {{"cItem_Class", "99"}, {"cItem_Name", "成本对象"}, {"cItemTable", "fitemss99"}});
  ctx.out.insert(
      "fitemss",
      {{"cItem_Class", "01"}, {"cItemCode", "XM001"}, {"cItemName", "高效节能水泵研发"}});
  ctx.out.insert("fitemss",
                 {{"cItem_Class", "01"}, {"cItemCode", "XM002"}, {"cItemName", "低噪声风机改进"}});
  ctx.out.insert(
      "fitemss",
      {{"cItem_Class", "02"}, {"cItemCode", "DD001"}, {"cItemName", "市政供水二期工程"}});
  ctx.out.insert(
      "fitemss",
      {{"cItem_Class", "02"}, {"cItemCode", "DD002"}, {"cItemName", "地铁通风改造项目"}});

  int autoid = 0;
  std::string lastParent;
  for (const BomRow& b : kBom) {
    ++autoid;
    const DemoItem& parent = ctx.cat.item(b.parent);
    const DemoItem& component = ctx.cat.item(b.component);
    ctx.out.insert("productstructure",
                   {{"iautoid", autoid},
                    {"cPSPCode", b.parent},
                    {"cPSCode", b.component},
                    {"iPSQuantity", b.quantity},
                    {"iWasteRate", component.kind == ItemKind::Material ? Cell(0.02) : Cell()},
                    {"iWIPType", b.wipType},
                    {"cWhCode", component.warehouses.front()},
                    {"cDepCode", parent.kind == ItemKind::Product ? "0203" : "0201"},
                    {"dEffDate", "2026-01-01"},
                    {"dExpDate", "2099-12-31"},
                    {"cFree1", ""},
                    {"cFree2", ""}});
    if (lastParent != b.parent) {
      // One cost object per parent product, tied to its first structure row.
      lastParent = b.parent;
      ctx.out.insert("fitemss99", {{"cItemCode", "CB" + parent.code},
                                   {"cItemName", parent.name + "成本"},
                                   {"cItemCCode", parent.klass},
                                   {"cpspcode", parent.code},
                                   {"cautoid", autoid}});
    }
  }
}

}  // namespace

std::span<const BomRow> demoBom() {
  return kBom;
}

const char* processingVendor(const char* product) {
  const std::string code(product);
  if (code == "0201001" || code == "0201002" || code == "0301002") return "V001";
  if (code == "0201003" || code == "0202001" || code == "0302001") return "V002";
  if (code == "0202002" || code == "0302002") return "V003";
  if (code.rfind("03", 0) == 0) return "V004";
  if (code.rfind("0101", 0) == 0) return "V005";
  if (code.rfind("0102", 0) == 0) return "V006";
  if (code.rfind("0103", 0) == 0) return "V007";
  if (code.rfind("0104", 0) == 0 || code.rfind("04", 0) == 0) return "V008";
  if (code.rfind("05", 0) == 0) return "V006";
  return "V001";
}

void writeArchives(DemoContext& ctx) {
  writeUnits(ctx);
  writeClasses(ctx);
  writeInventories(ctx);
  writeOrganisation(ctx);
  writePartners(ctx);
  writeProjects(ctx);
  ctx.out.insert("SaleType", {{"cSTCode", "01"}, {"cSTName", "批发销售"}});
  ctx.out.insert("SaleType", {{"cSTCode", "02"}, {"cSTName", "零售"}});
  ctx.out.insert("SaleType", {{"cSTCode", "03"}, {"cSTName", "委托代销"}});
  ctx.out.insert("PurchaseType", {{"cPTCode", "01"}, {"cPTName", "原料采购"}});
  ctx.out.insert("PurchaseType", {{"cPTCode", "02"}, {"cPTName", "备件采购"}});
  ctx.out.insert("PurchaseType", {{"cPTCode", "03"}, {"cPTName", "代销采购"}});
}

}  // namespace quillon::db
