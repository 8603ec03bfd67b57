// `quillon call --db FILE [--user CODE] PROGID MEMBER [ARG...]`: creates an object by ProgID,
// invokes one member late-bound and prints the result, the by-reference variables after the call,
// and every recordset or collection they hold as tables.
//
// Arguments use the literal syntax of host scripts: "text" (escapes \" \\ \n \r), numbers (12 is a
// Long, 1.5 a Double), true / false, null, nothing, - (an omitted optional argument) and $name (a
// variable, passed by reference, Empty at first). Two variables come filled: $login, the login
// object of the user (default "demo") on FILE, and $context, a session context opened with it.
// new:PROGID passes a new object of that class (an archive item for a lookup, say); sql:TEXT a
// recordset of that query on the session's connection. A bare word
// that is none of these is taken as text, so quote texts that look like numbers ("01").
//
// PROGID may also be $login or $context, to call a member of those two.
// When the object has a settable "Login" member, it is given $context (or $login, when the member
// takes a login) before the call, as the library does before it uses a suite component.
#include <algorithm>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "ado/fields.h"
#include "ado/recordset.h"
#include "args.h"
#include "automation/class_registry.h"
#include "automation/collection.h"
#include "automation/com_error.h"
#include "automation/numeric_text.h"
#include "automation/vb_strings.h"
#include "commands.h"
#include "components/registration.h"
#include "components/suite/login.h"
#include "components/suite/session.h"
#include "display_width.h"

namespace quillon::cli {

namespace {

using automation::ObjectPtr;
using automation::Variant;

struct Argument {
  Variant value;
  std::optional<std::string> variable;  // $name
};

std::string unescape(const std::string& token) {
  std::string out;
  for (std::size_t i = 1; i + 1 < token.size(); ++i) {
    char c = token[i];
    if (c == '"') throw UsageError("a quote inside " + token + " must be written \\\"");
    if (c != '\\') {
      out.push_back(c);
      continue;
    }
    if (++i + 1 >= token.size()) throw UsageError("unfinished escape in " + token);
    switch (token[i]) {
      case '"':
        out.push_back('"');
        break;
      case '\\':
        out.push_back('\\');
        break;
      case 'n':
        out.push_back('\n');
        break;
      case 'r':
        out.push_back('\r');
        break;
      default:
        throw UsageError("unknown escape \\" + std::string(1, token[i]) + " in " + token);
    }
  }
  return out;
}

bool looksNumeric(const std::string& token) {
  if (token.empty()) return false;
  std::size_t i = token[0] == '-' || token[0] == '+' ? 1 : 0;
  bool digits = false;
  bool point = false;
  for (; i < token.size(); ++i) {
    if (token[i] >= '0' && token[i] <= '9') {
      digits = true;
    } else if (token[i] == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digits;
}

Variant parseNumber(const std::string& token) {
  double v = *automation::parseNumericText(token);
  if (token.find('.') == std::string::npos && v >= INT32_MIN && v <= INT32_MAX) {
    return Variant(static_cast<std::int32_t>(v));
  }
  return Variant(v);
}

Argument parseArgument(const std::string& token, std::map<std::string, Variant>& variables,
                       const std::shared_ptr<ado::Connection>& connection) {
  if (token.size() >= 2 && token.front() == '"' && token.back() == '"') {
    return {Variant(unescape(token)), std::nullopt};
  }
  if (!token.empty() && token.front() == '"') throw UsageError("unterminated text " + token);
  if (token == "-") return {Variant::missing(), std::nullopt};
  if (token == "true") return {Variant(true), std::nullopt};
  if (token == "false") return {Variant(false), std::nullopt};
  if (token == "null") return {Variant::null(), std::nullopt};
  if (token == "nothing") return {Variant::nothing(), std::nullopt};
  if (token.size() > 1 && token.front() == '$') {
    return {variables[token], token};
  }
  if (token.rfind("new:", 0) == 0) {
    return {Variant(automation::CreateObject(token.substr(4))), std::nullopt};
  }
  if (token.rfind("sql:", 0) == 0) {
    auto rs = std::make_shared<ado::Recordset>();
    rs->open(token.substr(4), connection);
    return {Variant(ObjectPtr(rs)), std::nullopt};
  }
  if (looksNumeric(token)) return {parseNumber(token), std::nullopt};
  return {Variant(token), std::nullopt};
}

// --- printing

std::string pad(const std::string& text, std::size_t width) {
  std::size_t w = displayWidth(text);
  return text + std::string(width > w ? width - w : 0, ' ');
}

std::string oneLine(const std::string& text) {
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

std::string cellText(const Variant& v) {
  if (v.isNull()) return "NULL";
  if (v.isObject()) return v.isNothing() ? "Nothing" : "<" + v.asObject()->className() + ">";
  return oneLine(v.displayText());
}

void printRecordset(std::ostream& out, ado::Recordset& rs, const std::string& indent) {
  if (!rs.isOpen()) {
    out << indent << "(closed recordset)\n";
    return;
  }
  // A clone reads every row of the view without moving the caller's position.
  auto view = rs.clone();
  view->setFilter(rs.filter());
  view->setSort(rs.sort());
  const std::size_t n = view->core()->fieldCount();
  std::vector<std::string> header;
  for (std::size_t i = 0; i < n; ++i) header.push_back(view->core()->fieldDef(i).name);
  std::vector<std::vector<std::string>> rows;
  if (view->recordCount() > 0) {
    for (view->moveFirst(); !view->eof(); view->moveNext()) {
      std::vector<std::string> row;
      for (std::size_t i = 0; i < n; ++i) row.push_back(cellText(view->value(i)));
      rows.push_back(std::move(row));
    }
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
  out << indent << "(" << rows.size() << (rows.size() == 1 ? " row)\n" : " rows)\n");
}

void printValue(std::ostream& out, const Variant& v, const std::string& indent, int depth);

// Other objects show their readable properties: members with a getter and no parameters.
void printObject(std::ostream& out, automation::Object& obj, const std::string& indent, int depth) {
  out << "<" << obj.className() << ">\n";
  if (depth > 2) return;
  for (const auto& m : obj.memberTable().members()) {
    if (!m.get || !m.params.empty()) continue;
    try {
      Variant value = obj.get(m.name);
      out << indent << "  " << m.name << " = ";
      printValue(out, value, indent + "  ", depth + 1);
    } catch (const automation::ComError&) {
      // A property that cannot be read in the object's present state is left out.
    }
  }
}

void printValue(std::ostream& out, const Variant& v, const std::string& indent, int depth) {
  if (!v.isObject() || v.isNothing()) {
    if (v.isString()) {
      out << '"' << oneLine(v.asString()) << "\"\n";
    } else if (v.isMissing()) {
      out << "(omitted)\n";
    } else if (v.isEmpty()) {
      out << "Empty\n";
    } else {
      out << cellText(v) << '\n';
    }
    return;
  }
  automation::Object& obj = *v.asObject();
  if (auto* rs = dynamic_cast<ado::Recordset*>(&obj)) {
    out << "<Recordset>\n";
    printRecordset(out, *rs, indent + "  ");
    return;
  }
  if (auto* coll = dynamic_cast<automation::Collection*>(&obj)) {
    out << "<Collection> (" << coll->count() << (coll->count() == 1 ? " item)\n" : " items)\n");
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

void registerSuiteClasses() {
  automation::ClassRegistry& registry = automation::classRegistry();
  if (registry.find(components::kLoginProgId) == nullptr) components::registerClasses(registry);
  if (registry.find("ADODB.Recordset") == nullptr) ado::registerAdoClasses(registry);
}

// Gives the object the session as the library would before using it.
void giveLogin(automation::Object& obj, const Variant& login, const Variant& context) {
  const automation::MemberInfo* m = obj.memberTable().find("Login");
  if (m == nullptr || (!m->set && !m->let)) return;
  obj.set("Login", (m->returnType == "MarlinLogin" ? login : context).asObject());
}

}  // namespace

int cmdCall(std::span<const std::string> args) {
  ParsedArgs parsed = parseArgs(args, OptionSpec{{"--db", "--user"}, {}});
  const std::string db = parsed.required("--db");
  const std::string user = parsed.option("--user").value_or("demo");
  const auto& positional = parsed.positional();
  if (positional.size() < 2) throw UsageError("PROGID and MEMBER are required");
  const std::string& progId = positional[0];
  const std::string& member = positional[1];

  registerSuiteClasses();

  std::map<std::string, Variant> variables;
  auto login = components::suite::Login::open(db, user);
  auto context = std::make_shared<components::suite::SuiteSessionContext>();
  context->initialise(login);
  auto profile = std::make_shared<components::suite::SuiteSessionProfile>();
  components::suite::SuiteSessionContextBuilder builder;
  builder.setContext(context);
  builder.fillProfile(login->firstIdentity(), login->secondIdentity(), *profile);
  context->setProfile(profile);
  variables["$login"] = Variant(ObjectPtr(login));
  variables["$context"] = Variant(ObjectPtr(context));

  std::vector<Argument> arguments;
  for (std::size_t i = 2; i < positional.size(); ++i) {
    arguments.push_back(parseArgument(positional[i], variables, context->connection()));
  }

  ObjectPtr object;
  if (progId == "$login" || progId == "$context") {
    object = variables[progId].asObject();
  } else {
    object = automation::CreateObject(progId);
    giveLogin(*object, variables["$login"], variables["$context"]);
  }
  std::vector<Variant> values;
  for (const auto& a : arguments) values.push_back(a.value);
  Variant result = object->invoke(member, automation::InvokeKind::Method, values);

  std::ostream& out = std::cout;
  out << "result = ";
  printValue(out, result, "", 0);
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const auto& name = arguments[i].variable;
    if (name) {
      if (*name == "$login" || *name == "$context") continue;
      out << *name << " = ";
    } else if (positional[i + 2].rfind("new:", 0) == 0) {
      out << "arg" << (i + 1) << " = ";  // an object made for the call, as the call left it
    } else {
      continue;
    }
    printValue(out, values[i], "", 0);
  }
  return 0;
}

}  // namespace quillon::cli
