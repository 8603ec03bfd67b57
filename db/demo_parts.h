// The parts of the demo generator, each writing one area of the account in a fixed order.
#pragma once

#include "db/demo_catalog.h"
#include "db/demo_loader.h"
#include "db/demo_random.h"

namespace quillon::db {

struct DemoContext {
  Loader& out;
  const DemoCatalog& cat;
  DemoRandom rnd;
};

void writeSettings(DemoContext& ctx);     // parameters, defines, users, rights, column sets
void writeArchives(DemoContext& ctx);     // units, classes, inventories, partners, positions
void writeProduction(DemoContext& ctx);   // production orders
void writeOutsourcing(DemoContext& ctx);  // outsourced orders and their inspection
void writeTrade(DemoContext& ctx);        // purchase orders, arrival notes, delivery notes
void writeStock(DemoContext& ctx);        // current stock, receipts and issues, bin positions
void writeClassGrades(DemoContext& ctx);  // a third class grade and its two inventories

// Rows of generated documents per scale block beyond the hand-made cases of scale 1.
inline int bulkBlocks(const DemoCatalog& cat) {
  return cat.scale - 1;
}

}  // namespace quillon::db
