// Reading what a test needs from the account: one value of a statement, the keys of a recordset.
#pragma once

#include <cstddef>
#include <memory>
#include <set>
#include <string>

#include "ado/connection.h"
#include "ado/recordset.h"

namespace quillon::test_support {

// The first field of the statement's first row, as a number.
inline double scalar(const std::shared_ptr<ado::Connection>& conn, const std::string& sql) {
  auto rs = conn->execute(sql);
  return rs->value(std::size_t{0}).toDouble();
}

// The field's values over every row of the recordset, as whole numbers.
inline std::set<int> keys(ado::Recordset& rs, const char* field) {
  std::set<int> out;
  if (rs.bof() && rs.eof()) return out;
  for (rs.moveFirst(); !rs.eof(); rs.moveNext()) out.insert(rs.value(field).toLong());
  return out;
}

}  // namespace quillon::test_support
