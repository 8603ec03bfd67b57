// The demo account's master data as plain values: units, inventories, warehouses, departments,
// persons, partners. Built deterministically from the scale before anything is written, so that
// every document generator draws its codes from the same catalogue. What each scale step adds
// (twenty inventories, two vendors, two customers) is made on demand from its block and place
// alone, so the catalogue takes the same memory at every scale.
#pragma once

#include <string>
#include <vector>

#include "db/demo_random.h"

namespace quillon::db {

enum class ItemKind { Material, Part, Semi, Product, Packing, Goods };

struct DemoUnit {
  std::string code;
  std::string name;
  std::string group;
  bool main = false;
  double rate = 1.0;  // into the group's main unit
};

struct DemoUnitGroup {
  std::string code;
  std::string name;
  int type = 0;  // 0 single unit, 1 fixed rate, 2 floating rate
};

struct DemoItem {
  std::string code;
  int iid = 0;
  std::string name;
  std::string standard;
  std::string klass;  // inventory class code
  ItemKind kind = ItemKind::Material;
  std::string group;
  int groupType = 0;
  std::string mainUnit;
  std::string assUnit;  // empty for group type 0
  double rate = 0.0;    // nominal rate of assUnit; 0 for group type 0
  bool batch = false;
  int shelfDays = 0;  // 0: no shelf life
  bool consign = false;
  int freeItems = 0;  // bit 0: free item 1 (colour), bit 1: free item 2 (grade)
  double price = 0.0;
  std::vector<std::string> warehouses;  // kept in these warehouses, first is the default
};

struct DemoWarehouse {
  std::string code;
  std::string name;
  std::string department;
  bool positions = false;
  bool consign = false;
};

struct DemoDepartment {
  std::string code;
  std::string name;
  int grade = 1;
  bool end = true;
};

struct DemoPerson {
  std::string code;
  std::string name;
  std::string department;
};

struct DemoPartner {
  std::string code;
  std::string name;
  std::string abbName;
  std::string region;  // province/city used for the address
};

struct DemoCatalog {
  static constexpr int kItemsPerBlock = 20;
  static constexpr int kBasePartners = 8;

  int scale = 1;
  std::vector<DemoUnitGroup> groups;
  std::vector<DemoUnit> units;
  std::vector<DemoItem> items;  // the inventories of scale 1
  std::vector<DemoWarehouse> warehouses;
  std::vector<DemoDepartment> departments;
  std::vector<DemoPerson> persons;
  std::vector<DemoPartner> vendors;  // the partners of scale 1
  std::vector<DemoPartner> customers;

  // Scale steps beyond the first: blocks 1 to scale - 1, each with kItemsPerBlock batch-managed
  // materials and parts (item k of a block, k from 0).
  int blocks() const { return scale - 1; }
  DemoItem bulkItem(int block, int k) const;
  std::string bulkItemCode(int block, int k) const;
  std::size_t itemCount() const {
    return items.size() + static_cast<std::size_t>(kItemsPerBlock * blocks());
  }
  // Every inventory in catalogue order: those of scale 1, then block by block.
  template <class F>
  void forEachItem(F&& f) const {
    for (const DemoItem& i : items) f(i);
    for (int block = 1; block <= blocks(); ++block) {
      for (int k = 0; k < kItemsPerBlock; ++k) f(bulkItem(block, k));
    }
  }
  // An inventory by code, of scale 1 or of a block; std::out_of_range for an unknown code.
  DemoItem item(const std::string& code) const;
  const DemoItem& baseItem(const std::string& code) const;  // scale 1 only
  const DemoUnit& unit(const std::string& code) const;
  // Inventories of scale 1 of the given kinds, in catalogue order.
  std::vector<const DemoItem*> itemsOf(std::initializer_list<ItemKind> kinds) const;
  std::vector<const DemoDepartment*> endDepartments() const;

  // Partners by number from 1: the first kBasePartners of each kind are those of scale 1, every
  // block adds two.
  int partnerCount() const { return kBasePartners + 2 * blocks(); }
  DemoPartner vendor(int n) const;
  DemoPartner customer(int n) const;
};

// Builds the catalogue of the given scale; the same scale always gives the same catalogue.
DemoCatalog buildCatalog(int scale);

// Text of the day `offset` days after 2026-01-01, as "YYYY-MM-DD".
std::string demoDate(int offset);
// Day offsets of a few fixed days of the demo year.
inline constexpr int kLoginDay = 338;  // 2026-12-05, the demo login date

// Free-item values offered by the demo account.
const std::vector<std::string>& colourValues();
const std::vector<std::string>& gradeValues();

}  // namespace quillon::db
