#include <stdexcept>
#include <string>

#include "sql/result.h"
#include "sql/sql_error.h"

namespace quillon::sql {

void Cursor::checkColumn(std::size_t column, bool hasRow) const {
  if (!hasRow) throw SqlError::noCurrentRow();
  if (column >= columns_.size()) throw SqlError::columnOutOfRange(column);
}

void Cursor::noCurrentRow(std::string_view statementStart) const {
  throw SqlError::noCurrentRowIn(statementStart);
}

void Cursor::checkRowWidth(std::span<CellView> out) const {
  if (out.size() != columns_.size())
    throw std::invalid_argument("readRow needs one cell per column");
}

void CollectingHandler::onResultSet(Cursor& cursor) {
  ResultSet rs;
  rs.columns = cursor.columns();
  while (cursor.next()) {
    std::vector<Value> row(cursor.columnCount());
    for (std::size_t i = 0; i < row.size(); ++i) {
      Value& v = row[i];
      v.kind = cursor.kind(i);
      switch (v.kind) {
        case ValueKind::Integer:
          v.integer = cursor.int64(i);
          break;
        case ValueKind::Real:
          v.real = cursor.real(i);
          break;
        case ValueKind::Text:
          v.text = std::string(cursor.text(i));
          break;
        case ValueKind::Blob: {
          const auto bytes = cursor.blob(i);
          v.text.assign(reinterpret_cast<const char*>(bytes.data()), bytes.size());
          break;
        }
        case ValueKind::Null:
          break;
      }
    }
    rs.rows.push_back(std::move(row));
  }
  results.push_back(std::move(rs));
}

}  // namespace quillon::sql
