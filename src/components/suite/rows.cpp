#include "components/suite/rows.h"

#include "automation/com_error.h"
#include "automation/text_compare.h"
#include "automation/vb_dates.h"
#include "automation/vb_strings.h"

namespace quillon::components::suite {

using automation::Variant;

namespace {

Variant toVariant(const sql::Value& v, const sql::ColumnInfo& col) {
  const std::string& base = col.baseType;
  switch (v.kind) {
    case sql::ValueKind::Null:
      return Variant::null();
    case sql::ValueKind::Integer:
      if (base == "bit") return Variant(v.integer != 0);
      if (base == "decimal" || base == "numeric" || base == "money" || base == "float" ||
          base == "real") {
        return Variant(static_cast<double>(v.integer));
      }
      if (v.integer >= INT32_MIN && v.integer <= INT32_MAX) {
        return Variant(static_cast<std::int32_t>(v.integer));
      }
      return Variant(static_cast<double>(v.integer));
    case sql::ValueKind::Real:
      return Variant(v.real);
    case sql::ValueKind::Text:
    case sql::ValueKind::Blob:
      if (base == "datetime" || base == "smalldatetime" || base == "date") {
        if (auto d = automation::parseDateText(v.text)) return Variant(*d);
      }
      return Variant(v.text);
  }
  return Variant::null();
}

}  // namespace

Rows::Rows(const sql::ResultSet& result) {
  columns_.reserve(result.columns.size());
  for (const auto& c : result.columns) columns_.push_back(c.name);
  rows_.reserve(result.rows.size());
  for (const auto& r : result.rows) {
    std::vector<Variant> values;
    values.reserve(r.size());
    for (std::size_t i = 0; i < r.size() && i < result.columns.size(); ++i) {
      values.push_back(toVariant(r[i], result.columns[i]));
    }
    rows_.push_back(std::move(values));
  }
}

std::optional<std::size_t> Rows::column(std::string_view name) const {
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    if (automation::equalsNoCase(columns_[i], name)) return i;
  }
  return std::nullopt;
}

const Variant& Rows::at(std::size_t i, std::string_view name) const {
  auto c = column(name);
  if (!c) {
    throw automation::ComError(3265,
                               "Item cannot be found in the collection corresponding to the "
                               "requested name or ordinal.");
  }
  return rows_.at(i).at(*c);
}

std::string Rows::text(std::size_t i, std::string_view name) const {
  return at(i, name).displayText();
}

Rows queryRows(sql::Database& db, std::string_view statement) {
  auto results = db.query(statement);
  if (results.empty()) return Rows{};
  return Rows(results.front());
}

}  // namespace quillon::components::suite
