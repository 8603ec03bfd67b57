// Reading what a test needs from the account: one value of a statement, the keys of a recordset.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

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

// Every value of every row of a recordset, row by row, with the field names first: two recordsets
// hold the same when these are equal.
inline std::vector<std::string> allValues(ado::Recordset& rs) {
  std::vector<std::string> out;
  const auto fields = static_cast<std::size_t>(rs.fields()->count());
  for (std::size_t f = 0; f < fields; ++f) {
    out.push_back(rs.field(automation::Variant(static_cast<std::int32_t>(f)))->name());
  }
  if (rs.bof() && rs.eof()) return out;
  for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
    for (std::size_t f = 0; f < fields; ++f) out.push_back(rs.value(f).displayText());
  }
  return out;
}

}  // namespace quillon::test_support
