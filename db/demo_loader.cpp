#include "db/demo_loader.h"

#include "automation/com_error.h"
#include "sql/database.h"

namespace quillon::db {

namespace {

sql::CellView view(const Cell& v) {
  sql::CellView c;
  switch (v.kind()) {
    case Cell::Kind::Null:
      break;
    case Cell::Kind::Integer:
      c.kind = sql::ValueKind::Integer;
      c.integer = v.integer();
      break;
    case Cell::Kind::Real:
      c.kind = sql::ValueKind::Real;
      c.real = v.real();
      break;
    case Cell::Kind::Text:
      c.kind = sql::ValueKind::Text;
      c.text = v.text();
      break;
  }
  return c;
}

}  // namespace

Loader::~Loader() = default;

void Loader::insert(std::string_view table, std::initializer_list<Field> fields) {
  insertRange(table, fields.begin(), fields.end());
}

void Loader::insert(std::string_view table, const std::vector<Field>& fields) {
  insertRange(table, fields.data(), fields.data() + fields.size());
}

void Loader::insertRange(std::string_view table, const Field* begin, const Field* end) {
  columns_.clear();
  values_.clear();
  for (const Field* f = begin; f != end; ++f) {
    columns_.push_back(f->column);
    values_.push_back(view(f->value));
  }
  try {
    out_->insert(table, columns_, values_);
  } catch (const automation::ComError& e) {
    throw automation::ComError(e.number(), "demo data, " + e.description());
  }
  countRow(table);
}

void Loader::finish() {
  try {
    out_->finish();
  } catch (const automation::ComError& e) {
    throw automation::ComError(e.number(), "demo data, " + e.description());
  }
}

void Loader::countRow(std::string_view table) {
  if (!counts_.empty() && counts_.back().first == table) {
    ++counts_.back().second;
    return;
  }
  for (auto& [name, n] : counts_) {
    if (name == table) {
      ++n;
      return;
    }
  }
  counts_.emplace_back(std::string(table), 1);
}

}  // namespace quillon::db
