#include "sql/pg/pg_cursor.h"

#include "sql/pg/pq.h"

#include <charconv>
#include <cstdlib>
#include <string_view>

#include "sql/pg/pg_database.h"
#include "sql/sqlite/declared_type.h"
#include "sql/token.h"

namespace quillon::sql {

namespace {

// The server's type numbers that read other than as text.
constexpr Oid kBool = 16;
constexpr Oid kBytea = 17;
constexpr Oid kInt8 = 20;
constexpr Oid kInt2 = 21;
constexpr Oid kInt4 = 23;
constexpr Oid kOid = 26;
constexpr Oid kFloat4 = 700;
constexpr Oid kFloat8 = 701;
constexpr Oid kTimestamp = 1114;
constexpr Oid kTimestampTz = 1184;
constexpr Oid kNumeric = 1700;

std::int64_t toInteger(std::string_view s) {
  std::int64_t v = 0;
  std::from_chars(s.data(), s.data() + s.size(), v);
  return v;
}

double toReal(std::string_view s) {
  double v = 0.0;
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  if (r.ec != std::errc()) v = std::strtod(std::string(s).c_str(), nullptr);
  return v;
}

}  // namespace

PgCursor::PgCursor(PgDatabase& db, pg_result* result, const Op& op,
                   std::function<pg_result*()> more)
    : result_(result),
      more_(std::move(more)),
      owned_(static_cast<bool>(more_)),
      statementStart_(op.source.substr(0, 120)),
      rows_(pq::PQntuples(result)) {
  const int n = pq::PQnfields(result_);
  std::vector<unsigned int> tables;
  for (int i = 0; i < n; ++i) {
    const Oid table = pq::PQftable(result_, i);
    if (table != InvalidOid) tables.push_back(table);
  }
  if (!tables.empty()) db.describeRelations(tables);

  // The statement's own names, with "*" standing for the columns it expands to.
  std::vector<std::string> names;
  std::size_t stars = 0;
  for (const auto& name : op.columnNames) stars += name == "*" ? 1 : 0;
  if (stars == 0 && op.columnNames.size() == static_cast<std::size_t>(n)) {
    names = op.columnNames;
  } else if (stars == 1 && op.columnNames.size() <= static_cast<std::size_t>(n) + 1) {
    for (const auto& name : op.columnNames) {
      if (name != "*") {
        names.push_back(name);
        continue;
      }
      const std::size_t expanded = static_cast<std::size_t>(n) + 1 - op.columnNames.size();
      names.insert(names.end(), expanded, std::string());
    }
  }
  names.resize(static_cast<std::size_t>(n));

  columns_.reserve(static_cast<std::size_t>(n));
  reads_.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const std::string serverName = pq::PQfname(result_, i);
    ColumnInfo info;
    const Oid table = pq::PQftable(result_, i);
    const PgRelation* rel = table != InvalidOid ? db.relation(table) : nullptr;
    const PgRelation::Column* from = nullptr;
    if (rel != nullptr) {
      const auto c = rel->columns.find(pq::PQftablecol(result_, i));
      if (c != rel->columns.end()) from = &c->second;
    }
    if (from != nullptr) {
      info = describeDeclaredType(from->declaredType);
      info.table = rel->name;
      info.column = from->name;
    }
    std::string& name = names[static_cast<std::size_t>(i)];
    if (name.empty() && from != nullptr && asciiLower(from->name) == serverName) name = from->name;
    info.name = name.empty() ? serverName : name;
    columns_.push_back(std::move(info));
    switch (pq::PQftype(result_, i)) {
      case kInt2:
      case kInt4:
      case kInt8:
      case kOid:
        reads_.push_back(Read::Integer);
        break;
      case kBool:
        reads_.push_back(Read::Boolean);
        break;
      case kFloat4:
      case kFloat8:
        reads_.push_back(Read::Real);
        break;
      case kNumeric:
        reads_.push_back(Read::Numeric);
        break;
      case kTimestamp:
      case kTimestampTz:
        reads_.push_back(Read::Timestamp);
        break;
      case kBytea:
        reads_.push_back(Read::Bytes);
        break;
      default:
        reads_.push_back(Read::Text);
        break;
    }
  }
}

PgCursor::~PgCursor() {
  if (owned_) pq::PQclear(result_);
}

bool PgCursor::next() {
  bytes_.clear();
  if (row_ < rows_) ++row_;
  if (row_ < rows_ || !more_) return row_ < rows_;
  // The batch is read: the next one takes its place.
  pg_result* batch = more_();
  if (batch == nullptr) {
    more_ = nullptr;
    return false;
  }
  pq::PQclear(result_);
  result_ = batch;
  rows_ = pq::PQntuples(result_);
  row_ = 0;
  if (rows_ == 0) more_ = nullptr;
  return row_ < rows_;
}

CellView PgCursor::cell(std::size_t column) const {
  CellView c;
  const int col = static_cast<int>(column);
  if (pq::PQgetisnull(result_, row_, col)) return c;
  const std::string_view s(pq::PQgetvalue(result_, row_, col),
                           static_cast<std::size_t>(pq::PQgetlength(result_, row_, col)));
  switch (reads_[column]) {
    case Read::Integer:
      c.kind = ValueKind::Integer;
      c.integer = toInteger(s);
      break;
    case Read::Boolean:
      c.kind = ValueKind::Integer;
      c.integer = !s.empty() && s[0] == 't' ? 1 : 0;
      break;
    case Read::Real:
      c.kind = ValueKind::Real;
      c.real = toReal(s);
      break;
    case Read::Numeric:
      // Sums of integers come back as numerics: whole ones stay integers.
      if (s.find_first_of(".eEN") == std::string_view::npos && s.size() < 19) {
        c.kind = ValueKind::Integer;
        c.integer = toInteger(s);
      } else {
        c.kind = ValueKind::Real;
        c.real = toReal(s);
      }
      break;
    case Read::Timestamp:
      // A date without a time of day reads as the date alone, as the library writes dates.
      c.kind = ValueKind::Text;
      c.text = s.size() == 19 && s.ends_with(" 00:00:00") ? s.substr(0, 10) : s;
      break;
    case Read::Bytes: {
      std::size_t length = 0;
      unsigned char* raw =
          pq::PQunescapeBytea(reinterpret_cast<const unsigned char*>(s.data()), &length);
      c.kind = ValueKind::Blob;
      if (raw != nullptr) {
        bytes_.emplace_back(raw, pq::functions().PQfreemem);
        c.text = std::string_view(reinterpret_cast<const char*>(raw), length);
      }
      break;
    }
    case Read::Text:
      c.kind = ValueKind::Text;
      c.text = s;
      break;
  }
  return c;
}

ValueKind PgCursor::kind(std::size_t column) const {
  checkColumn(column, row_ >= 0 && row_ < rows_);
  return cell(column).kind;
}

std::int64_t PgCursor::int64(std::size_t column) const {
  checkColumn(column, row_ >= 0 && row_ < rows_);
  const CellView c = cell(column);
  switch (c.kind) {
    case ValueKind::Integer:
      return c.integer;
    case ValueKind::Real:
      return static_cast<std::int64_t>(c.real);
    case ValueKind::Text:
      return toInteger(c.text);
    default:
      return 0;
  }
}

double PgCursor::real(std::size_t column) const {
  checkColumn(column, row_ >= 0 && row_ < rows_);
  const CellView c = cell(column);
  switch (c.kind) {
    case ValueKind::Integer:
      return static_cast<double>(c.integer);
    case ValueKind::Real:
      return c.real;
    case ValueKind::Text:
      return toReal(c.text);
    default:
      return 0.0;
  }
}

std::string_view PgCursor::text(std::size_t column) const {
  checkColumn(column, row_ >= 0 && row_ < rows_);
  const int col = static_cast<int>(column);
  if (pq::PQgetisnull(result_, row_, col)) return {};
  const CellView c = cell(column);
  if (c.kind == ValueKind::Text || c.kind == ValueKind::Blob) return c.text;
  return {pq::PQgetvalue(result_, row_, col),
          static_cast<std::size_t>(pq::PQgetlength(result_, row_, col))};
}

std::span<const std::byte> PgCursor::blob(std::size_t column) const {
  const std::string_view t = text(column);
  return {reinterpret_cast<const std::byte*>(t.data()), t.size()};
}

void PgCursor::readRow(std::span<CellView> out) const {
  if (row_ < 0 || row_ >= rows_) noCurrentRow(statementStart_);
  checkRowWidth(out);
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = cell(i);
}

}  // namespace quillon::sql
