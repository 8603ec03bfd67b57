// Reads a statement's rows from the engine into a RecordData: one pass, values stored straight
// into their typed columns, the field types taken from the columns' declared T-SQL types.
#pragma once

#include <memory>

#include "ado/record_data.h"
#include "sql/result.h"

namespace quillon::ado {

std::shared_ptr<RecordData> loadRecordData(sql::Cursor& cursor);

}  // namespace quillon::ado
