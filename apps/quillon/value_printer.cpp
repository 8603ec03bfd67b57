#include "value_printer.h"

#include <algorithm>
#include <exception>
#include <ostream>
#include <vector>

#include "ado/recordset.h"
#include "ado/recordset_view.h"
#include "automation/collection.h"
#include "automation/com_error.h"
#include "display_width.h"

namespace quillon::cli {

namespace {

using automation::Variant;

// Collections may hold themselves (directly or through another collection or object), so the
// full form stops opening containers at this depth and shows them in their one-line form.
constexpr int kMaxDepth = 4;

std::string pad(const std::string& text, std::size_t width) {
  std::size_t w = displayWidth(text);
  return text + std::string(width > w ? width - w : 0, ' ');
}

std::string cellText(const Variant& v) {
  if (v.isNull()) return "NULL";
  if (v.isObject()) return v.isNothing() ? "Nothing" : "<" + v.asObject()->className() + ">";
  return oneLine(v.displayText());
}

std::string plural(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + (n == 1 ? one : many);
}

// Other objects show their readable properties: members with a getter and no parameters.
void printObject(std::ostream& out, automation::Object& obj, const std::string& indent, int depth) {
  out << "<" << obj.className() << ">\n";
  if (depth > 2) return;
  for (const auto& m : obj.memberTable().members()) {
    if (!m.get || !m.params.empty()) continue;
    Variant value;
    try {
      value = obj.get(m.name);
    } catch (const std::exception&) {
      continue;  // a property that cannot be read in the object's present state is left out
    }
    out << indent << "  " << m.name << " = ";
    printValue(out, value, indent + "  ", depth + 1);
  }
}

}  // namespace

std::string oneLine(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

void printRecordset(std::ostream& out, ado::Recordset& rs, const std::string& indent) {
  if (!rs.isOpen()) {
    out << indent << "(closed recordset)\n";
    return;
  }
  // The view reads every row without moving the caller's position.
  const ado::RecordsetView view(rs);
  const auto n = static_cast<std::size_t>(view.fieldCount());
  std::vector<std::string> header;
  for (int f = 0; f < view.fieldCount(); ++f) header.push_back(view.fieldName(f));
  std::vector<std::vector<std::string>> rows;
  for (int r = 0; r < view.rowCount(); ++r) {
    std::vector<std::string> row;
    for (int f = 0; f < view.fieldCount(); ++f) row.push_back(cellText(view.value(r, f)));
    rows.push_back(std::move(row));
  }
  std::vector<std::size_t> widths(n, 0);
  for (std::size_t i = 0; i < n; ++i) {
    widths[i] = displayWidth(header[i]);
    for (const auto& r : rows) widths[i] = std::max(widths[i], displayWidth(r[i]));
  }
  auto line = [&](const std::vector<std::string>& cells) {
    std::string s = indent;
    for (std::size_t i = 0; i < n; ++i) s += (i ? " | " : "") + pad(cells[i], widths[i]);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    out << s << '\n';
  };
  line(header);
  std::string sep = indent;
  for (std::size_t i = 0; i < n; ++i) sep += (i ? "-+-" : "") + std::string(widths[i], '-');
  out << sep << '\n';
  for (const auto& r : rows) line(r);
  out << indent << "(" << plural(rows.size(), " row)\n", " rows)\n");
}

void printValue(std::ostream& out, const Variant& v, const std::string& indent, int depth) {
  if (!v.isObject() || v.isNothing() || depth >= kMaxDepth) {
    out << describeValue(v) << '\n';
    return;
  }
  automation::Object& obj = *v.asObject();
  if (auto* rs = dynamic_cast<ado::Recordset*>(&obj)) {
    out << "<Recordset>\n";
    printRecordset(out, *rs, indent + "  ");
    return;
  }
  if (auto* coll = dynamic_cast<automation::Collection*>(&obj)) {
    out << "<Collection> (" << plural(coll->count(), " item)\n", " items)\n");
    auto keys = coll->keys();
    for (std::size_t i = 0; i < coll->count(); ++i) {
      out << indent << "  [" << (i + 1) << "]";
      if (keys[i]) out << " \"" << *keys[i] << "\"";
      out << " = ";
      printValue(out, coll->item(i + 1), indent + "  ", depth + 1);
    }
    return;
  }
  printObject(out, obj, indent, depth);
}

std::string describeValue(const Variant& v) {
  if (v.isString()) return '"' + oneLine(v.asString()) + '"';
  if (v.isMissing()) return "(omitted)";
  if (v.isEmpty()) return "Empty";
  if (v.isNull()) return "Null";
  if (!v.isObject() || v.isNothing()) return cellText(v);
  automation::Object& obj = *v.asObject();
  if (auto* rs = dynamic_cast<ado::Recordset*>(&obj)) {
    if (!rs->isOpen()) return "<Recordset> (closed)";
    return "<Recordset> (" +
           plural(static_cast<std::size_t>(std::max(rs->recordCount(), 0)), " row)", " rows)");
  }
  if (auto* coll = dynamic_cast<automation::Collection*>(&obj)) {
    return "<Collection> (" + plural(coll->count(), " item)", " items)");
  }
  return "<" + obj.className() + ">";
}

}  // namespace quillon::cli
