#include "db/demo_docs.h"

#include <array>
#include <cstdio>

namespace quillon::db {

std::string docNumber(const char* prefix, int day, int seq) {
  const std::string date = demoDate(day);  // YYYY-MM-DD
  char buf[48];
  std::snprintf(buf, sizeof buf, "%s%s%s%04d", prefix, date.substr(2, 2).c_str(),
                date.substr(5, 2).c_str(), seq);
  return buf;
}

std::vector<Material> explode(const DemoCatalog& cat, const std::string& product) {
  std::vector<Material> out;
  for (const BomRow& b : demoBom()) {
    if (product == b.parent) out.push_back({&cat.baseItem(b.component), b.quantity, b.wipType});
  }
  return out;
}

std::vector<const DemoItem*> madeItems(const DemoCatalog& cat) {
  std::vector<const DemoItem*> out;
  for (const DemoItem& i : cat.items) {
    for (const BomRow& b : demoBom()) {
      if (i.code == b.parent) {
        out.push_back(&i);
        break;
      }
    }
  }
  return out;
}

void addFreeItems(std::vector<Field>& row, const DemoItem& item, int variant) {
  const auto v = static_cast<std::size_t>(variant);
  row.push_back({"cFree1", (item.freeItems & 1) != 0
                               ? Cell(colourValues()[v % colourValues().size()])
                               : Cell("")});
  row.push_back({"cFree2", (item.freeItems & 2) != 0 ? Cell(gradeValues()[v % gradeValues().size()])
                                                     : Cell("")});
}

void addHeadDefines(std::vector<Field>& row, DemoRandom& rnd, int seq) {
  static constexpr std::array<const char*, 3> kTransport = {"汽运", "铁路", "自提"};
  row.push_back({"cDefine1", "HT2026-" + std::to_string(1000 + seq)});
  row.push_back({"cDefine2", kTransport[static_cast<std::size_t>(seq) % kTransport.size()]});
  if (rnd.chance(50)) row.push_back({"cDefine7", rnd.amount(100, 2000)});
}

void addLineDefines(std::vector<Field>& row, DemoRandom& rnd, int day) {
  if (rnd.chance(40)) row.push_back({"cDefine22", "木箱包装"});
  if (rnd.chance(30)) row.push_back({"cDefine23", "L" + std::to_string(rnd.between(1000, 9999))});
  row.push_back({"cDefine36", demoDate(day + 20)});
}

}  // namespace quillon::db
