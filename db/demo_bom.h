// Product structures of the demo account: which components, and how many per unit, make each
// product and semi-finished part. Production and outsourced orders explode their materials from
// these rows.
#pragma once

#include <span>

namespace quillon::db {

struct BomRow {
  const char* parent;
  const char* component;
  double quantity;  // per parent unit
  int wipType;      // 3 issued by material issue, 1 supplied from the vendor's own stock
};

std::span<const BomRow> demoBom();

// Vendor that processes or supplies an inventory (decided by its class), never null.
const char* processingVendor(const char* product);

}  // namespace quillon::db
