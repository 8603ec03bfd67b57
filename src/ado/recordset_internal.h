// The data-access layer's own door into a Recordset: its cursor and rows. Only src/ado includes
// this; everything outside reads recordsets through their members and RecordsetView.
#pragma once

#include <memory>

#include "ado/recordset.h"

namespace quillon::ado {

class RecordsetInternal {
 public:
  // The cursor, the rows of a progressive open read to their end first.
  static const std::shared_ptr<RecordsetCore>& core(const Recordset& rs) { return rs.core(); }
  // The rows of a progressive open while they load; null otherwise.
  static const std::shared_ptr<RowLoad>& load(const Recordset& rs) { return rs.load_; }
};

}  // namespace quillon::ado
