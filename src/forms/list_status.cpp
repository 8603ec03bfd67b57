#include "forms/list_status.h"

namespace quillon::forms {

std::string RowsStatus(int rows, int marked) {
  if (rows == 0) return std::string(kNoMatchingRecords);
  return "共 " + std::to_string(rows) + " 行，已选 " + std::to_string(marked) + " 行";
}

}  // namespace quillon::forms
