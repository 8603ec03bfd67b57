#include "components/suite/filter/filter_where.h"

#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

#include "components/suite/component_errors.h"
#include "sql/condition.h"
#include "sql/sql_text.h"

namespace quillon::components::suite {

namespace {

std::string_view trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

bool isNumberType(std::string_view dataType) {
  const std::string type = lower(trimmed(dataType));
  for (std::string_view t : {"number", "int", "integer", "decimal", "float", "money", "numeric"}) {
    if (type == t) return true;
  }
  return false;
}

// The operators a filter item may carry; anything else never reaches SQL.
bool isKnownOperator(std::string_view op) {
  static constexpr std::array<std::string_view, 7> kOperators = {"=",  "<>", "<",   ">",
                                                                 "<=", ">=", "like"};
  for (std::string_view known : kOperators) {
    if (op == known) return true;
  }
  return false;
}

// The value as a literal of the field's type.
std::string valueLiteral(const forms::FilterField& field, std::string_view value) {
  if (!isNumberType(field.dataType)) return sql::literal(value);
  double number = 0;
  const char* end = value.data() + value.size();
  const auto [ptr, ec] = std::from_chars(value.data(), end, number);
  if (ec != std::errc() || ptr != end || !std::isfinite(number)) {
    raise(kErrBadArgument, notANumberText(field.caption, std::string(value)));
  }
  return sql::literal(number);
}

}  // namespace

std::string notANumberText(const std::string& caption, const std::string& value) {
  return caption + "：“" + value + "”不是数字";
}

std::string filterWhereText(const std::vector<forms::FilterField>& fields,
                            const std::vector<forms::FilterValue>& values,
                            std::string_view freeCondition) {
  std::string where;
  const auto add = [&](const std::string& name, std::string_view op, const std::string& value) {
    if (!where.empty()) where += " and ";
    where += name;
    where += ' ';
    where += op;
    where += ' ';
    where += value;
  };
  for (std::size_t i = 0; i < fields.size() && i < values.size(); ++i) {
    const forms::FilterField& field = fields[i];
    const std::string_view from = trimmed(values[i].from);
    const std::string_view to = field.range ? trimmed(values[i].to) : std::string_view();
    if (from.empty() && to.empty()) continue;
    const std::string name = sql::identifier(field.field);
    if (name.empty()) raise(kErrBadArgument, "过滤条件“" + field.caption + "”没有字段");
    if (field.range) {
      if (!from.empty()) add(name, ">=", valueLiteral(field, from));
      if (!to.empty()) add(name, "<=", valueLiteral(field, to));
      continue;
    }
    const std::string op = lower(trimmed(field.op));
    if (!isKnownOperator(op)) {
      raise(kErrBadArgument, "过滤条件“" + field.caption + "”的运算符“" + field.op + "”无效");
    }
    if (op == "like" && !isNumberType(field.dataType)) {
      const bool wildcard = from.find_first_of("%_") != std::string_view::npos;
      add(name, op, sql::literal(wildcard ? std::string(from) : "%" + std::string(from) + "%"));
    } else {
      add(name, op, valueLiteral(field, from));
    }
  }
  const std::string_view free = trimmed(freeCondition);
  if (free.empty()) return where;
  // Checked on its own: "a) or (b" would read as one expression once put in parentheses.
  sql::checkCondition(free);
  if (where.empty()) return std::string(free);
  return where + " and (" + std::string(free) + ")";
}

}  // namespace quillon::components::suite
