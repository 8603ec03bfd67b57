// Helpers shared by the document generators: document numbers, piece counts from quantities,
// material explosion and the user-defined fields of heads and lines.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "db/demo_bom.h"
#include "db/demo_parts.h"

namespace quillon::db {

inline double round2(double v) {
  return std::round(v * 100.0) / 100.0;
}

// Pieces for a quantity in the item's auxiliary unit; NULL for single-unit items.
inline Cell piecesOf(const DemoItem& item, double quantity) {
  if (item.groupType == 0 || item.rate == 0.0) return Cell();
  return Cell(round2(quantity / item.rate));
}
inline Cell rateOf(const DemoItem& item) {
  if (item.groupType == 0 || item.rate == 0.0) return Cell();
  return Cell(item.rate);
}

// "WW" + yymm + four-digit running number, e.g. WW26110003.
std::string docNumber(const char* prefix, int day, int seq);

struct Material {
  const DemoItem* item;
  double perUnit;
  int wipType;
};

// Components of a product from the demo structures (empty for purchased inventories).
std::vector<Material> explode(const DemoCatalog& cat, const std::string& product);

// Products and semi-finished parts that have a structure, in catalogue order.
std::vector<const DemoItem*> madeItems(const DemoCatalog& cat);

// The free-item values of a line of this item, numbered by `variant`.
void addFreeItems(std::vector<Field>& row, const DemoItem& item, int variant);

// A few filled header defines (contract number, transport, freight) and line defines.
void addHeadDefines(std::vector<Field>& row, DemoRandom& rnd, int seq);
void addLineDefines(std::vector<Field>& row, DemoRandom& rnd, int day);

}  // namespace quillon::db
