#include "db/demo_catalog.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <stdexcept>

#include "automation/calendar.h"
#include "db/demo_words.h"

namespace quillon::db {

namespace {

struct BaseItem {
  const char* code;
  const char* name;
  const char* standard;
  const char* klass;
  ItemKind kind;
  const char* mainUnit;
  const char* assUnit;  // "" for single-unit items
  bool batch;
  int shelfDays;
  bool consign;
  int freeItems;
  double price;
  const char* warehouses;  // codes separated by ','
};

// Unit groups: 01 single units, 02 piece/box/carton (fixed), 03 kilogram/sheet/bar (floating),
// 04 metre/coil (fixed), 05 litre/drum (floating).
// clang-format off
constexpr std::array<BaseItem, 34> kBaseItems = {{
    {"0101001", "冷轧钢板", "1.5mm×1250×2500", "0101", ItemKind::Material, "0301", "0302", true, 0, false, 0, 5.8, "01"},
    {"0101002", "圆钢", "Φ45 45#", "0101", ItemKind::Material, "0301", "0303", true, 0, false, 0, 4.9, "01"},
    {"0101003", "铝锭", "A00 99.7%", "0101", ItemKind::Material, "0103", "", true, 0, false, 0, 18.6, "01"},
    {"0101004", "紫铜管", "Φ12×1", "0101", ItemKind::Material, "0401", "0402", false, 0, false, 0, 62.0, "01"},
    {"0101005", "不锈钢板", "304 2.0mm", "0101", ItemKind::Material, "0301", "0302", true, 0, false, 0, 16.5, "01,05"},
    {"0102001", "六角螺栓", "M8×30 8.8级", "0102", ItemKind::Part, "0201", "0202", false, 0, false, 0, 0.35, "02"},
    {"0102002", "六角螺母", "M8 8级", "0102", ItemKind::Part, "0201", "0203", false, 0, false, 0, 0.12, "02"},
    {"0102003", "平垫圈", "Φ8 镀锌", "0102", ItemKind::Part, "0201", "0202", false, 0, false, 0, 0.05, "02"},
    {"0102004", "深沟球轴承", "6204-2RS", "0102", ItemKind::Part, "0101", "", true, 0, false, 0, 8.5, "02"},
    {"0102005", "O型密封圈", "Φ50×3 丁腈", "0102", ItemKind::Part, "0201", "0202", true, 720, false, 0, 1.2, "02"},
    {"0103001", "三相异步电动机", "Y2-90L-4 1.5kW", "0103", ItemKind::Part, "0102", "", true, 0, false, 2, 980.0, "02,01"},
    {"0103002", "交流接触器", "CJX2-1810", "0103", ItemKind::Part, "0101", "", false, 0, false, 0, 45.0, "02"},
    {"0103003", "控制电缆", "KVV 4×1.5", "0103", ItemKind::Material, "0401", "0402", false, 0, false, 0, 6.8, "01"},
    {"0103004", "按钮开关", "LA38-11", "0103", ItemKind::Part, "0201", "0202", false, 0, false, 0, 12.0, "02"},
    {"0104001", "醇酸磁漆", "C04-42", "0104", ItemKind::Material, "0501", "0502", true, 365, false, 1, 21.0, "01"},
    {"0104002", "环氧树脂胶", "E-44", "0104", ItemKind::Material, "0103", "", true, 180, false, 0, 35.0, "01"},
    {"0104003", "锂基润滑脂", "2# 通用", "0104", ItemKind::Material, "0501", "0502", true, 730, false, 0, 28.0, "01"},
    {"0201001", "泵轴", "Φ30×420 45#", "0201", ItemKind::Semi, "0106", "", false, 0, false, 0, 85.0, "03"},
    {"0201002", "叶轮", "Φ160 HT200", "0201", ItemKind::Semi, "0106", "", true, 0, false, 0, 120.0, "03,05"},
    {"0201003", "电机座", "HT200 90机座", "0201", ItemKind::Semi, "0106", "", false, 0, false, 0, 95.0, "03"},
    {"0202001", "泵体组件", "IS65-50-160", "0202", ItemKind::Semi, "0105", "", true, 0, false, 0, 460.0, "03"},
    {"0202002", "控制面板组件", "XBK-7.5", "0202", ItemKind::Semi, "0105", "", false, 0, false, 0, 380.0, "03"},
    {"0301001", "离心水泵", "IS65-50-160", "0301", ItemKind::Product, "0102", "", true, 0, false, 2, 2650.0, "04"},
    {"0301002", "管道泵", "ISG50-160", "0301", ItemKind::Product, "0102", "", true, 0, false, 0, 1980.0, "04"},
    {"0302001", "轴流风机", "T35-11 No.4", "0302", ItemKind::Product, "0102", "", true, 0, false, 0, 1350.0, "04"},
    {"0302002", "离心风机", "4-72 No.5A", "0302", ItemKind::Product, "0102", "", false, 0, false, 1, 3200.0, "04"},
    {"0303001", "水泵控制柜", "XBK-7.5kW", "0303", ItemKind::Product, "0102", "", false, 0, false, 0, 4200.0, "04"},
    {"0303002", "配电箱", "PZ30-12", "0303", ItemKind::Product, "0102", "", false, 0, false, 0, 560.0, "04"},
    {"04001", "木包装箱", "1000×600×800", "04", ItemKind::Packing, "0101", "", false, 0, false, 0, 150.0, "01"},
    {"04002", "瓦楞纸箱", "五层 600×400×400", "04", ItemKind::Packing, "0201", "0203", false, 0, false, 0, 6.5, "01"},
    {"04003", "缠绕膜", "500mm×20μm", "04", ItemKind::Packing, "0109", "", false, 0, false, 0, 38.0, "01"},
    {"05001", "不锈钢保温杯", "500ml", "05", ItemKind::Goods, "0107", "", false, 0, true, 1, 45.0, "06"},
    {"05002", "LED节能灯", "9W E27", "05", ItemKind::Goods, "0201", "0202", false, 0, true, 0, 12.0, "06"},
    {"05003", "劳保手套", "棉纱 加厚", "05", ItemKind::Goods, "0108", "", true, 0, true, 0, 3.5, "06,04"},
}};
// clang-format on

std::vector<std::string> splitCodes(const char* text) {
  std::vector<std::string> out;
  std::string current;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p == ',') {
      out.push_back(current);
      current.clear();
    } else {
      current += *p;
    }
  }
  if (!current.empty()) out.push_back(current);
  return out;
}

std::string pad(int value, int width) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*d", width, value);
  return buf;
}

void addUnits(DemoCatalog& c) {
  c.groups = {{"01", "单计量单位", 0},
              {"02", "个盒箱", 1},
              {"03", "千克张根", 2},
              {"04", "米卷", 1},
              {"05", "升桶", 2}};
  c.units = {{"0101", "个", "01", true, 1.0},    {"0102", "台", "01", true, 1.0},
             {"0103", "千克", "01", true, 1.0},  {"0104", "米", "01", true, 1.0},
             {"0105", "套", "01", true, 1.0},    {"0106", "件", "01", true, 1.0},
             {"0107", "只", "01", true, 1.0},    {"0108", "双", "01", true, 1.0},
             {"0109", "卷", "01", true, 1.0},    {"0201", "个", "02", true, 1.0},
             {"0202", "盒", "02", false, 10.0},  {"0203", "箱", "02", false, 100.0},
             {"0301", "千克", "03", true, 1.0},  {"0302", "张", "03", false, 36.8},
             {"0303", "根", "03", false, 75.0},  {"0401", "米", "04", true, 1.0},
             {"0402", "卷", "04", false, 100.0}, {"0501", "升", "05", true, 1.0},
             {"0502", "桶", "05", false, 18.0}};
}

void finishItem(DemoCatalog& c, DemoItem& item) {
  const DemoUnit& main = c.unit(item.mainUnit);
  item.group = main.group;
  for (const DemoUnitGroup& g : c.groups) {
    if (g.code == item.group) item.groupType = g.type;
  }
  item.rate = item.assUnit.empty() ? 0.0 : c.unit(item.assUnit).rate;
}

void addItems(DemoCatalog& c) {
  for (const BaseItem& b : kBaseItems) {
    DemoItem item;
    item.code = b.code;
    item.name = b.name;
    item.standard = b.standard;
    item.klass = b.klass;
    item.kind = b.kind;
    item.mainUnit = b.mainUnit;
    item.assUnit = b.assUnit;
    item.batch = b.batch;
    item.shelfDays = b.shelfDays;
    item.consign = b.consign;
    item.freeItems = b.freeItems;
    item.price = b.price;
    item.warehouses = splitCodes(b.warehouses);
    finishItem(c, item);
    c.items.push_back(std::move(item));
  }

  int iid = 1;
  for (DemoItem& item : c.items) item.iid = iid++;
}

// Each further scale step adds twenty batch-managed materials and parts, spread over the material
// classes, so that stock and documents have fresh inventories to draw on. Item k of a block is in
// class k mod 4 and is that class's (k / 4)-th of the block.
constexpr std::array<const char*, 4> kBulkClasses = {"0101", "0102", "0103", "0104"};
constexpr int kBulkPerClass = DemoCatalog::kItemsPerBlock / static_cast<int>(kBulkClasses.size());
constexpr int kFirstBulkNumber = 101;

DemoRandom bulkRandom(std::uint64_t salt, int block, int k) {
  return DemoRandom(salt + static_cast<std::uint64_t>(block) * 1000 + static_cast<std::uint64_t>(k));
}

}  // namespace

std::string DemoCatalog::bulkItemCode(int block, int k) const {
  const auto cls = static_cast<std::size_t>(k) % kBulkClasses.size();
  return std::string(kBulkClasses[cls]) +
         pad(kFirstBulkNumber + (block - 1) * kBulkPerClass + k / 4, 3);
}

DemoItem DemoCatalog::bulkItem(int block, int k) const {
  static constexpr std::array<const char*, 5> kBulkUnits = {"0301", "0201", "0103", "0401", "0501"};
  DemoRandom rnd = bulkRandom(0x51C0'1000'0000ULL, block, k);
  const auto nouns = words::materialNouns();
  const auto prefixes = words::materialPrefixes();
  const std::size_t cls = static_cast<std::size_t>(k) % kBulkClasses.size();
  DemoItem item;
  item.code = bulkItemCode(block, k);
  item.iid = static_cast<int>(items.size()) + (block - 1) * kItemsPerBlock + k + 1;
  item.name = std::string(rnd.pick(prefixes)) + std::string(rnd.pick(nouns));
  item.standard = "QL-" + pad(rnd.between(10, 999), 3) + "-" + pad(block, 2);
  item.klass = kBulkClasses[cls];
  item.kind = cls == 1 ? ItemKind::Part : ItemKind::Material;
  const std::string unit = kBulkUnits[static_cast<std::size_t>(rnd.between(0, 4))];
  item.mainUnit = unit;
  if (unit == "0301") item.assUnit = "0302";
  if (unit == "0201") item.assUnit = "0202";
  if (unit == "0401") item.assUnit = "0402";
  if (unit == "0501") item.assUnit = "0502";
  item.batch = true;
  item.shelfDays = cls == 3 ? 365 : 0;
  item.price = rnd.amount(1, 500, 2);
  item.warehouses = {cls == 1 ? "02" : "01", "05"};
  const DemoUnit& main = this->unit(item.mainUnit);
  item.group = main.group;
  for (const DemoUnitGroup& g : groups) {
    if (g.code == item.group) item.groupType = g.type;
  }
  item.rate = item.assUnit.empty() ? 0.0 : this->unit(item.assUnit).rate;
  return item;
}

namespace {


void addOrganisation(DemoCatalog& c) {
  c.warehouses = {
      {"01", "原料仓", "05", true, false},      {"02", "标准件仓", "05", false, false},
      {"03", "半成品仓", "0203", false, false}, {"04", "成品仓", "05", true, false},
      {"05", "委外仓", "03", false, false},     {"06", "代销商品仓", "0401", false, true},
      {"07", "不良品仓", "06", false, false}};
  c.departments = {
      {"01", "总经理办公室", 1, true}, {"02", "生产部", 1, false},    {"0201", "机加车间", 2, true},
      {"0202", "铸造车间", 2, true},   {"0203", "装配车间", 2, true}, {"03", "采购部", 1, true},
      {"04", "销售部", 1, false},      {"0401", "销售一部", 2, true}, {"0402", "销售二部", 2, true},
      {"05", "仓储部", 1, true},       {"06", "质检部", 1, true},     {"07", "财务部", 1, true}};
  c.persons = {{"001", "张伟", "01"},   {"002", "王芳", "0201"}, {"003", "李娜", "0202"},
               {"004", "刘洋", "0203"}, {"005", "陈静", "03"},   {"006", "杨帆", "03"},
               {"007", "赵磊", "0401"}, {"008", "黄敏", "0401"}, {"009", "周杰", "0402"},
               {"010", "吴霞", "05"},   {"011", "徐明", "06"},   {"012", "孙丽", "07"}};
}

DemoPartner makePartner(DemoRandom& rnd, const std::string& code, bool vendor) {
  const auto cores = words::companyCores();
  const auto trades = words::companyTrades();
  const auto regions = words::regions();
  DemoPartner p;
  p.code = code;
  p.region = std::string(rnd.pick(regions));
  const std::string core(rnd.pick(cores));
  const std::string trade(vendor ? rnd.pick(trades)
                                 : trades[static_cast<std::size_t>(rnd.between(0, 3))]);
  p.abbName = core + trade;
  p.name = p.region + core + trade + (vendor ? "有限公司" : "股份有限公司");
  return p;
}

// Abbreviations are filtered on, so the number keeps them unique.
DemoPartner numberedPartner(DemoRandom& rnd, int n, bool vendor) {
  DemoPartner p = makePartner(rnd, (vendor ? "V" : "C") + pad(n, 3), vendor);
  p.abbName += pad(n, 2);
  return p;
}

void addPartners(DemoCatalog& c) {
  DemoRandom rnd(0x51C0'0001ULL);
  for (int i = 1; i <= DemoCatalog::kBasePartners; ++i) c.vendors.push_back(numberedPartner(rnd, i, true));
  for (int i = 1; i <= DemoCatalog::kBasePartners; ++i) {
    c.customers.push_back(numberedPartner(rnd, i, false));
  }
}

}  // namespace

const DemoItem& DemoCatalog::baseItem(const std::string& code) const {
  for (const DemoItem& i : items) {
    if (i.code == code) return i;
  }
  throw std::out_of_range("demo catalogue has no inventory " + code);
}

DemoItem DemoCatalog::item(const std::string& code) const {
  // A block's code: a material class and a number from 101 (see bulkItemCode).
  if (code.size() >= 7) {
    for (std::size_t cls = 0; cls < kBulkClasses.size(); ++cls) {
      if (code.compare(0, 4, kBulkClasses[cls]) != 0) continue;
      int number = 0;
      const auto [end, ec] = std::from_chars(code.data() + 4, code.data() + code.size(), number);
      if (ec != std::errc() || end != code.data() + code.size() || number < kFirstBulkNumber) break;
      const int place = number - kFirstBulkNumber;
      const int block = place / kBulkPerClass + 1;
      const int k = (place % kBulkPerClass) * static_cast<int>(kBulkClasses.size()) +
                    static_cast<int>(cls);
      if (block > blocks()) break;
      return bulkItem(block, k);
    }
  }
  return baseItem(code);
}

const DemoUnit& DemoCatalog::unit(const std::string& code) const {
  for (const DemoUnit& u : units) {
    if (u.code == code) return u;
  }
  throw std::out_of_range("demo catalogue has no unit " + code);
}

std::vector<const DemoItem*> DemoCatalog::itemsOf(std::initializer_list<ItemKind> kinds) const {
  std::vector<const DemoItem*> out;
  for (const DemoItem& i : items) {
    for (ItemKind k : kinds) {
      if (i.kind == k) {
        out.push_back(&i);
        break;
      }
    }
  }
  return out;
}

std::vector<const DemoDepartment*> DemoCatalog::endDepartments() const {
  std::vector<const DemoDepartment*> out;
  for (const DemoDepartment& d : departments) {
    if (d.end) out.push_back(&d);
  }
  return out;
}

DemoPartner DemoCatalog::vendor(int n) const {
  if (n <= kBasePartners) return vendors.at(static_cast<std::size_t>(n - 1));
  DemoRandom rnd = bulkRandom(0x51C0'2000'0000ULL, n, 0);
  return numberedPartner(rnd, n, true);
}

DemoPartner DemoCatalog::customer(int n) const {
  if (n <= kBasePartners) return customers.at(static_cast<std::size_t>(n - 1));
  DemoRandom rnd = bulkRandom(0x51C0'3000'0000ULL, n, 0);
  return numberedPartner(rnd, n, false);
}

DemoCatalog buildCatalog(int scale) {
  DemoCatalog c;
  c.scale = scale;
  addUnits(c);
  addItems(c);
  addOrganisation(c);
  addPartners(c);
  return c;
}

std::string demoDate(int offset) {
  // Offsets count from 2026-01-01.
  static const std::int64_t kFirstDay = automation::calendar::dayNumber(2026, 1, 1);
  const automation::calendar::CivilDate c = automation::calendar::civilDate(kFirstDay + offset);
  char buf[48];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", c.year, c.month, c.day);
  return buf;
}

const std::vector<std::string>& colourValues() {
  static const std::vector<std::string> v = {"红色", "灰色", "蓝色"};
  return v;
}

const std::vector<std::string>& gradeValues() {
  static const std::vector<std::string> v = {"IP44", "IP55"};
  return v;
}

}  // namespace quillon::db
