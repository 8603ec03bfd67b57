#include "sql/type_name.h"

#include <array>
#include <charconv>
#include <string_view>

#include "sql/sql_error.h"
#include "sql/sqlite/declared_type.h"

namespace quillon::sql {

namespace {

struct Synonym {
  std::array<std::string_view, 3> words;  // as written, lower case; unused words empty
  std::string_view base;
};

// Longest first, so that "national character varying" is not read as "national character".
constexpr std::array kSynonyms{
    Synonym{{"national", "character", "varying"}, "nvarchar"},
    Synonym{{"national", "char", "varying"}, "nvarchar"},
    Synonym{{"character", "varying", ""}, "varchar"},
    Synonym{{"char", "varying", ""}, "varchar"},
    Synonym{{"binary", "varying", ""}, "varbinary"},
    Synonym{{"double", "precision", ""}, "float"},
    Synonym{{"national", "character", ""}, "nchar"},
    Synonym{{"national", "char", ""}, "nchar"},
    Synonym{{"national", "text", ""}, "ntext"},
    Synonym{{"character", "", ""}, "char"},
    Synonym{{"integer", "", ""}, "int"},
    Synonym{{"dec", "", ""}, "decimal"},
    Synonym{{"rowversion", "", ""}, "timestamp"},
};

[[noreturn]] void invalid(const TypeName& t, std::string_view rule) {
  throw SqlError::syntax("Type " + t.text() + " is not valid: " + std::string(rule));
}

bool number(const std::string& s, int& out) {
  const auto r = std::from_chars(s.data(), s.data() + s.size(), out);
  return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

// The server's rules for the arguments of each type.
void check(TypeName& t) {
  const std::string& b = t.base;
  const std::size_t n = t.args.size();
  int first = 0;
  const bool firstIsNumber = n > 0 && number(t.args[0], first);
  const bool isMax = n == 1 && t.args[0] == "max";
  if (b == "varchar" || b == "char" || b == "varbinary" || b == "binary" || b == "nvarchar" ||
      b == "nchar") {
    const bool wide = b == "nvarchar" || b == "nchar";
    const bool variable = b == "varchar" || b == "varbinary" || b == "nvarchar";
    if (n > 1 || (n == 1 && !(isMax && variable) &&
                  !(firstIsNumber && first >= 1 && first <= (wide ? 4000 : 8000)))) {
      invalid(t, wide ? (variable ? "the length must be 1 to 4000 or max"
                                  : "the length must be 1 to 4000")
                      : (variable ? "the length must be 1 to 8000 or max"
                                  : "the length must be 1 to 8000"));
    }
  } else if (b == "decimal" || b == "numeric") {
    int scale = 0;
    if (n > 2 || (n >= 1 && !(firstIsNumber && first >= 1 && first <= 38)) ||
        (n == 2 && !(number(t.args[1], scale) && scale >= 0 && scale <= first))) {
      invalid(t, "the precision must be 1 to 38 and the scale 0 to the precision");
    }
  } else if (b == "float") {
    if (n > 1 || (n == 1 && !(firstIsNumber && first >= 1 && first <= 53)))
      invalid(t, "the mantissa must have 1 to 53 bits");
    // float(1) to float(24) is the server's real.
    if (n == 1) {
      if (first <= 24) t.base = "real";
      t.args.clear();
    }
  } else if (b == "time" || b == "datetime2" || b == "datetimeoffset") {
    if (n > 1 || (n == 1 && !(firstIsNumber && first >= 0 && first <= 7)))
      invalid(t, "the fractional seconds precision must be 0 to 7");
  } else if (n > 0) {
    throw SqlError::syntax("Cannot specify a column width on data type " + b + ".");
  }
}

}  // namespace

std::string TypeName::text() const {
  std::string out = base;
  if (args.empty()) return out;
  out += '(';
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (i > 0) out += ',';
    out += args[i];
  }
  return out + ')';
}

TypeName readTypeName(const Tokens& tokens, std::size_t at, std::size_t end, std::size_t& next) {
  TypeName t;
  next = at;
  if (at >= end) return t;
  const auto wordAt = [&](std::size_t i, std::string_view w) {
    return i < end && (tokens[i].kind == TokenKind::Word || tokens[i].kind == TokenKind::Name) &&
           asciiLower(tokens[i].text) == w;
  };
  t.base = asciiLower(tokens[at].text);
  next = at + 1;
  for (const auto& s : kSynonyms) {
    std::size_t i = at;
    bool all = true;
    for (std::string_view w : s.words) {
      if (w.empty()) break;
      if (!wordAt(i, w)) {
        all = false;
        break;
      }
      ++i;
    }
    if (all) {
      t.base = std::string(s.base);
      next = i;
      break;
    }
  }
  if (next < end && tokens[next].isOp("(")) {
    std::size_t i = next + 1;
    bool expectArg = true;
    while (i < end && !tokens[i].isOp(")")) {
      const Token& a = tokens[i];
      if (expectArg && (a.kind == TokenKind::Number || a.kind == TokenKind::Word)) {
        t.args.push_back(asciiLower(a.text));
      } else if (expectArg || !a.isOp(",")) {
        invalid(t, "its arguments are numbers or max");
      }
      expectArg = !expectArg;
      ++i;
    }
    if (i >= end || expectArg) invalid(t, "its arguments are numbers or max");
    next = i + 1;
  }
  t.known = !engineDeclaredType(t.base).empty();
  if (t.known) check(t);
  return t;
}

bool isCharacterType(std::string_view base) {
  return base == "varchar" || base == "nvarchar" || base == "char" || base == "nchar" ||
         base == "text" || base == "ntext" || base == "sysname";
}

bool isBinaryType(std::string_view base) {
  return base == "binary" || base == "varbinary" || base == "image" || base == "timestamp";
}

}  // namespace quillon::sql
