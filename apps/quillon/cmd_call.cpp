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
#include "components/session_context.h"
#include "components/suite/login.h"
#include "module/session.h"
#include "value_printer.h"

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
  auto context = module::OpenContext(login, true);
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
