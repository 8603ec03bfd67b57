// The data-access layer's own door into a Recordset: its cursor and rows. Only src/ado includes
// this; everything outside reads recordsets through their members and RecordsetView.
#pragma once

#include <memory>

#include "ado/recordset.h"

namespace quillon::ado {

class RecordsetInternal {
 public:
  static const std::shared_ptr<RecordsetCore>& core(const Recordset& rs) { return rs.core_; }
};

}  // namespace quillon::ado
