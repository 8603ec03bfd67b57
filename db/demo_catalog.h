// The demo account's master data as plain values: units, inventories, warehouses, departments,
// persons, partners. Built deterministically from the scale before anything is written, so that
// every document generator draws its codes from the same catalogue.
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
  std::string spec;
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
  int scale = 1;
  std::vector<DemoUnitGroup> groups;
  std::vector<DemoUnit> units;
  std::vector<DemoItem> items;
  std::vector<DemoWarehouse> warehouses;
  std::vector<DemoDepartment> departments;
  std::vector<DemoPerson> persons;
  std::vector<DemoPartner> vendors;
  std::vector<DemoPartner> customers;

  const DemoItem& item(const std::string& code) const;
  const DemoUnit& unit(const std::string& code) const;
  // Items of the given kinds, in catalogue order.
  std::vector<const DemoItem*> itemsOf(std::initializer_list<ItemKind> kinds) const;
  std::vector<const DemoDepartment*> endDepartments() const;
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
