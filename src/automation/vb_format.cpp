#include "automation/vb_format.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <limits>
#include <optional>
#include <vector>

#include "automation/numeric_text.h"
#include "automation/shown_rounding.h"
#include "automation/text_compare.h"
#include "automation/vb_dates.h"

namespace quillon::automation {
namespace {

// A decimal number as a digit string d1 d2 ... with the point after `point` digits
// (value = 0.d1d2... * 10^point).
struct Decimal {
  std::string digits;
  int point = 0;
};

Decimal toDecimal(double v) {
  Decimal d;
  if (v == 0.0) return d;
  // The shortest text that reads back as v: the decimal value the caller wrote, which is what
  // rounding must work on (2.675 is "2.675" here, not 2.67499999...).
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
  std::string_view s(buf, static_cast<std::size_t>(end - buf));
  std::size_t e = s.find('e');
  for (char c : s.substr(0, e)) {
    if (c >= '0' && c <= '9') d.digits.push_back(c);
  }
  int exp = 0;
  std::from_chars(s.data() + e + 1 + (s[e + 1] == '+' ? 1 : 0), s.data() + s.size(), exp);
  d.point = exp + 1;
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  if (d.digits.empty()) d.point = 0;
  return d;
}

// Keeps `places` digits after the point, rounding half away from zero.
void roundDecimal(Decimal& d, int places) {
  const int keep = d.point + places;
  if (keep < 0) {
    d.digits.clear();
    d.point = 0;
    return;
  }
  if (static_cast<std::size_t>(keep) >= d.digits.size()) return;
  const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
  d.digits.resize(static_cast<std::size_t>(keep));
  if (up) {
    int i = keep - 1;
    while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') {
      d.digits[static_cast<std::size_t>(i)] = '0';
      --i;
    }
    if (i >= 0) {
      ++d.digits[static_cast<std::size_t>(i)];
    } else {
      d.digits.insert(d.digits.begin(), '1');
      ++d.point;
    }
  }
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  if (d.digits.empty()) d.point = 0;
}

// Digit at position k of the number, counting 0 as the first digit after the point, -1 as the
// units digit, and so on.
char digitAt(const Decimal& d, int k) {
  int idx = d.point + k;
  if (idx < 0 || static_cast<std::size_t>(idx) >= d.digits.size()) return '0';
  return d.digits[static_cast<std::size_t>(idx)];
}

struct Literal {
  int slot;  // integer part: placeholders to its right; fraction part: placeholders to its left
  std::string text;
};

struct NumberPattern {
  std::string prefix;
  std::string suffix;
  std::vector<Literal> intLiterals;
  std::vector<Literal> fracLiterals;
  int minInt = 0;    // "0" placeholders in the integer part
  int intSlots = 0;  // all integer placeholders
  bool hasPoint = false;
  std::string fracSpec;  // "0" / "#" per decimal place
  bool grouping = false;
  int scaleThousands = 0;
  int percent = 0;
  // Only digit placeholders, grouping and the point: no literals, "%" or scaling.
  bool digitsOnly = false;
  // A zero shows at least one digit ("0", ".00"); "#" and "#.##" show none.
  bool zeroShowsDigits = false;
  void settle() {
    digitsOnly = intSlots > 0 && prefix.empty() && suffix.empty() && intLiterals.empty() &&
                 fracLiterals.empty() && percent == 0 && scaleThousands == 0;
    zeroShowsDigits = minInt > 0 || fracSpec.find('0') != std::string::npos;
  }
};

bool isPlaceholder(char c) {
  return c == '0' || c == '#';
}

// Reads one literal element at i (quoted text, escaped char or plain char) and advances i.
std::string readLiteral(std::string_view p, std::size_t& i) {
  if (p[i] == '"') {
    std::size_t close = p.find('"', i + 1);
    if (close == std::string_view::npos) close = p.size();
    std::string text(p.substr(i + 1, close - i - 1));
    i = close + 1;
    return text;
  }
  if (p[i] == '\\' && i + 1 < p.size()) {
    i += 2;
    return std::string(1, p[i - 1]);
  }
  return std::string(1, p[i++]);
}

NumberPattern parseNumberPattern(std::string_view p) {
  NumberPattern np;
  std::size_t first = std::string_view::npos;
  std::size_t last = 0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    if (p[i] == '"') {
      std::size_t close = p.find('"', i + 1);
      i = close == std::string_view::npos ? p.size() : close;
      continue;
    }
    if (p[i] == '\\') {
      ++i;
      continue;
    }
    if (isPlaceholder(p[i]) || p[i] == '.') {
      if (first == std::string_view::npos) first = i;
      last = i;
    }
  }
  if (first == std::string_view::npos) {
    // No digits at all: the pattern is only literals.
    for (std::size_t i = 0; i < p.size();) {
      if (p[i] == '%') ++np.percent;
      np.prefix += readLiteral(p, i);
    }
    np.settle();
    return np;
  }
  for (std::size_t i = 0; i < first;) {
    if (p[i] == '%') ++np.percent;
    np.prefix += readLiteral(p, i);
  }
  // A "," right after the last placeholder (or before the point) scales instead of grouping.
  std::size_t i = first;
  std::vector<std::pair<std::string, bool>> intItems;  // literal text or placeholder ("0"/"#")
  for (; i <= last && p[i] != '.';) {
    char c = p[i];
    if (isPlaceholder(c)) {
      intItems.push_back({std::string(1, c), true});
      ++i;
    } else if (c == ',') {
      std::size_t j = i;
      while (j <= last && p[j] == ',') ++j;
      bool beforeMoreDigits = j <= last && isPlaceholder(p[j]);
      bool anyDigitBefore = !intItems.empty();
      if (beforeMoreDigits && anyDigitBefore) {
        np.grouping = true;
      } else if (!beforeMoreDigits) {
        np.scaleThousands += static_cast<int>(j - i);
      }
      i = j;
    } else {
      if (c == '%') ++np.percent;
      intItems.push_back({readLiteral(p, i), false});
    }
  }
  int slots = 0;
  for (auto it = intItems.rbegin(); it != intItems.rend(); ++it) {
    if (it->second) {
      ++slots;
      if (it->first == "0") ++np.minInt;
    } else {
      np.intLiterals.push_back({slots, it->first});
    }
  }
  np.intSlots = slots;
  if (i <= last && p[i] == '.') {
    np.hasPoint = true;
    ++i;
    for (; i <= last;) {
      char c = p[i];
      if (isPlaceholder(c)) {
        np.fracSpec.push_back(c);
        ++i;
      } else {
        if (c == '%') ++np.percent;
        np.fracLiterals.push_back({static_cast<int>(np.fracSpec.size()), readLiteral(p, i)});
      }
    }
  }
  // The trailing commas after the last placeholder were counted above only when before the point.
  for (i = last + 1; i < p.size();) {
    if (p[i] == ',' && np.suffix.empty()) {
      ++np.scaleThousands;
      ++i;
      continue;
    }
    if (p[i] == '%') ++np.percent;
    np.suffix += readLiteral(p, i);
  }
  np.settle();
  return np;
}

// Grids format thousands of cells with the same few patterns: the last few parsed are kept per
// thread, so a cell costs the rendering only.
const NumberPattern& cachedPattern(std::string_view section) {
  struct Entry {
    std::string text;
    NumberPattern pattern;
    bool used = false;
  };
  thread_local Entry entries[4];
  thread_local std::size_t next = 0;
  for (const Entry& e : entries) {
    if (e.used && e.text == section) return e.pattern;
  }
  Entry& e = entries[next];
  next = (next + 1) % 4;
  e.text.assign(section);
  e.pattern = parseNumberPattern(section);
  e.used = true;
  return e.pattern;
}

std::string renderNumber(const Decimal& d, const NumberPattern& np) {
  std::string out = np.prefix;
  // The integer part is built from the units digit leftwards, then turned round. It shows every
  // significant digit (more than the pattern has placeholders, if need be) and at least minInt.
  std::string rev;
  const auto appendReversed = [&rev](const std::string& text) {
    rev.append(text.rbegin(), text.rend());
  };
  std::size_t lit = 0;
  const int shown = std::max(d.point > 0 ? d.point : 0, np.minInt);
  for (int k = 1; k <= shown; ++k) {
    for (; lit < np.intLiterals.size() && np.intLiterals[lit].slot < k; ++lit) {
      appendReversed(np.intLiterals[lit].text);
    }
    if (np.grouping && k > 1 && (k - 1) % 3 == 0) rev.push_back(',');
    rev.push_back(digitAt(d, -k));
  }
  for (; lit < np.intLiterals.size(); ++lit) appendReversed(np.intLiterals[lit].text);
  out.append(rev.rbegin(), rev.rend());
  if (np.hasPoint) {
    // '#' decimals at the end are dropped while they would show a zero.
    int places = static_cast<int>(np.fracSpec.size());
    while (places > 0 && np.fracSpec[static_cast<std::size_t>(places) - 1] == '#' &&
           digitAt(d, places - 1) == '0') {
      --places;
    }
    out += '.';
    std::size_t fl = 0;
    for (int k = 0; k < places; ++k) {
      while (fl < np.fracLiterals.size() && np.fracLiterals[fl].slot <= k) {
        out += np.fracLiterals[fl++].text;
      }
      out += digitAt(d, k);
    }
    while (fl < np.fracLiterals.size()) out += np.fracLiterals[fl++].text;
  }
  out += np.suffix;
  return out;
}

constexpr double kPowersOfTen[] = {1,   1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// The value times 10^places as a whole number, when the value's written decimal has no more
// places than that: then no rounding happens and the digits are those of the whole number. The
// nearest number of `places` places is the value, and the product stays below 2^52, where no two
// such numbers share a double.
std::optional<std::uint64_t> exactScaled(double magnitude, int places) {
  if (places >= static_cast<int>(std::size(kPowersOfTen))) return std::nullopt;
  const double scale = kPowersOfTen[places];
  const double scaled = magnitude * scale;
  if (!(scaled < 4503599627370496.0)) return std::nullopt;
  const auto whole = static_cast<double>(static_cast<std::int64_t>(scaled + 0.5));
  if (whole / scale != magnitude) return std::nullopt;
  return static_cast<std::uint64_t>(whole);
}

// renderNumber for a digits-only pattern and a value held as digits * 10^-places.
std::string renderScaled(std::uint64_t digits, int places, const NumberPattern& np) {
  // The whole part, written from its last digit; a pattern may ask for any number of zeros.
  std::string whole;
  std::uint64_t integer = digits;
  int fraction[16] = {};
  for (int k = places - 1; k >= 0; --k) {
    fraction[k] = static_cast<int>(integer % 10);
    integer /= 10;
  }
  int shown = 0;
  while (integer > 0 || shown < np.minInt) {
    if (np.grouping && shown > 0 && shown % 3 == 0) whole += ',';
    whole += static_cast<char>('0' + integer % 10);
    integer /= 10;
    ++shown;
  }
  std::string out(whole.rbegin(), whole.rend());
  if (np.hasPoint) {
    int kept = places;
    while (kept > 0 && np.fracSpec[static_cast<std::size_t>(kept) - 1] == '#' &&
           fraction[kept - 1] == 0) {
      --kept;
    }
    out += '.';
    for (int k = 0; k < kept; ++k) out += static_cast<char>('0' + fraction[k]);
  }
  return out;
}

// A number pattern's sections (positive;negative;zero;null). Held in place: formatting a grid cell
// should not allocate for them.
struct Sections {
  std::array<std::string_view, 4> part;
  std::size_t count = 0;
  std::size_t size() const { return count; }
  std::string_view operator[](std::size_t i) const { return part[i]; }
  void push_back(std::string_view section) {
    if (count < part.size()) part[count++] = section;
  }
};

Sections splitSections(std::string_view pattern) {
  Sections sections;
  std::size_t start = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '"') {
      std::size_t close = pattern.find('"', i + 1);
      i = close == std::string_view::npos ? pattern.size() - 1 : close;
    } else if (pattern[i] == '\\') {
      ++i;
    } else if (pattern[i] == ';') {
      sections.push_back(pattern.substr(start, i - start));
      start = i + 1;
    }
  }
  sections.push_back(pattern.substr(start));
  return sections;
}

bool isDatePattern(std::string_view pattern) {
  bool letters = false;
  for (char c : pattern) {
    switch (c) {
      case 'y':
      case 'Y':
      case 'm':
      case 'M':
      case 'd':
      case 'D':
      case 'h':
      case 'H':
      case 'n':
      case 'N':
      case 's':
      case 'S':
        letters = true;
        break;
      case '0':
      case '#':
        return false;
      default:
        break;
    }
  }
  return letters;
}

std::string twoDigits(int v) {
  std::string s = std::to_string(v);
  return s.size() < 2 ? "0" + s : s;
}

}  // namespace

namespace {

// A pattern's sections as the formatting below reads them: count(), present(i) (section i is
// given and not empty) and pattern(i) (section i parsed).
struct SplitPattern {
  Sections split;
  std::size_t count() const { return split.size(); }
  bool present(std::size_t i) const { return i < split.size() && !split[i].empty(); }
  const NumberPattern& pattern(std::size_t i) const { return cachedPattern(split[i]); }
};

template <class Patterns>
std::string formatIn(double value, const Patterns& s) {
  if (!std::isfinite(value)) return formatGeneralNumber(value);
  const bool negative = value < 0;
  const bool ownNegativeSection = negative && s.present(1);
  const NumberPattern& np = s.pattern(ownNegativeSection ? 1 : 0);
  if (np.digitsOnly && s.count() == 1) {
    const int places = static_cast<int>(np.fracSpec.size());
    if (const auto scaled = exactScaled(std::fabs(value), places)) {
      std::string text = renderScaled(*scaled, places, np);
      return negative && *scaled != 0 ? '-' + text : text;
    }
  }

  Decimal d = toDecimal(std::fabs(value));
  if (!d.digits.empty()) d.point += 2 * np.percent - 3 * np.scaleThousands;
  roundDecimal(d, static_cast<int>(np.fracSpec.size()));

  if (d.digits.empty() && s.count() > 2 && s.present(2)) {
    return renderNumber(Decimal{}, s.pattern(2));
  }
  std::string text = renderNumber(d, np);
  // A value that rounds to zero shows no sign.
  if (negative && !ownNegativeSection && !d.digits.empty()) return '-' + text;
  return text;
}

// The number a value's text reads as, NaN where the text is not a number. A plain double: an
// optional returned from the several paths here went through memory on every call.
constexpr double kNoNumber = std::numeric_limits<double>::quiet_NaN();

template <class Patterns>
double shownIn(double value, const Patterns& s) {
  if (!std::isfinite(value) || s.count() != 1) return kNoNumber;
  const NumberPattern& np = s.pattern(0);
  if (!np.digitsOnly) return kNoNumber;
  const int places = static_cast<int>(np.fracSpec.size());
  // A zero shown without a single digit ("" for "#", "." for "#.##") is not a number.
  const bool zeroShowsDigits = np.zeroShowsDigits;
  // A value the text shows in full reads back as itself (+ 0.0: never -0).
  if (const auto scaled = exactScaled(std::fabs(value), places)) {
    if (*scaled == 0 && !zeroShowsDigits) return kNoNumber;
    return value + 0.0;
  }
  // A value well away from a tie rounds as its binary product does: the shortest decimal of the
  // value and the product differ by a few units in the last place, far less than the margin,
  // and whole / 10^places is the double the rounded text reads as.
  if (places < static_cast<int>(std::size(kPowersOfTen))) {
    const double scale = kPowersOfTen[places];
    const double scaled = std::fabs(value) * scale;
    if (scaled < 1e9) {
      const double floor = std::floor(scaled);
      const double fraction = scaled - floor;
      if (std::fabs(fraction - 0.5) > 1e-6) {
        const double whole = fraction < 0.5 ? floor : floor + 1;
        if (whole == 0) return zeroShowsDigits ? 0.0 : kNoNumber;
        return value < 0 ? -(whole / scale) : whole / scale;
      }
    }
  }
  // Otherwise the rounded decimal, read as the text would be.
  Decimal d = toDecimal(std::fabs(value));
  roundDecimal(d, places);
  if (d.digits.empty()) return zeroShowsDigits ? 0.0 : kNoNumber;
  const std::string text = "0." + d.digits + "e" + std::to_string(d.point);
  double magnitude = 0;
  std::from_chars(text.data(), text.data() + text.size(), magnitude);
  return value < 0 ? -magnitude : magnitude;
}

std::optional<double> asShown(double shown) {
  if (std::isnan(shown)) return std::nullopt;
  return shown;
}

}  // namespace

std::string formatNumber(double value, std::string_view pattern) {
  return formatIn(value, SplitPattern{splitSections(pattern)});
}

std::optional<double> formattedNumberValue(double value, std::string_view pattern) {
  return asShown(shownIn(value, SplitPattern{splitSections(pattern)}));
}

struct NumberFormat::Compiled {
  std::string text;
  std::vector<NumberPattern> parts;
  std::vector<bool> given;
  std::size_t count() const { return parts.size(); }
  bool present(std::size_t i) const { return i < given.size() && given[i]; }
  const NumberPattern& pattern(std::size_t i) const { return parts[i]; }
};

NumberFormat::NumberFormat() : NumberFormat(std::string_view()) {}

NumberFormat::NumberFormat(std::string_view pattern) {
  auto compiled = std::make_shared<Compiled>();
  compiled->text.assign(pattern);
  const Sections sections = splitSections(compiled->text);
  for (std::size_t i = 0; i < sections.size(); ++i) {
    compiled->parts.push_back(parseNumberPattern(sections[i]));
    compiled->given.push_back(!sections[i].empty());
  }
  compiled_ = std::move(compiled);
}

const std::string& NumberFormat::pattern() const {
  return compiled_->text;
}

std::string NumberFormat::format(double value) const {
  return formatIn(value, *compiled_);
}

std::optional<double> NumberFormat::shownValue(double value) const {
  return asShown(shownNumber(value));
}

double NumberFormat::shownNumber(double value) const {
  return shownIn(value, *compiled_);
}

ShownRounding::ShownRounding(const NumberFormat& format) : format_(&format) {
  // The test shownIn makes first, with the pattern's figures looked up once.
  const Sections sections = splitSections(format.pattern());
  if (sections.size() != 1) return;
  const NumberPattern np = parseNumberPattern(sections[0]);
  if (!np.digitsOnly || np.fracSpec.size() >= std::size(kPowersOfTen)) return;
  scale_ = kPowersOfTen[np.fracSpec.size()];
  zeroShowsDigits_ = np.zeroShowsDigits;
}

std::string formatDate(DateValue value, std::string_view pattern) {
  DateParts p = fromSerial(value);
  std::string out;
  bool lastWasHour = false;
  for (std::size_t i = 0; i < pattern.size();) {
    char c = foldAscii(pattern[i]);
    std::size_t run = 1;
    while (i + run < pattern.size() && foldAscii(pattern[i + run]) == c) ++run;
    switch (c) {
      case 'y':
        if (run >= 3) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "%04d", p.year);
          out += buf;
        } else {
          out += twoDigits(p.year % 100);
        }
        break;
      case 'm': {
        // "mm" right after an hour or right before seconds is minutes, as on the platform.
        std::size_t next = i + run;
        while (next < pattern.size() && !std::isalpha(static_cast<unsigned char>(pattern[next]))) {
          ++next;
        }
        bool beforeSeconds = next < pattern.size() && foldAscii(pattern[next]) == 's';
        int v = (lastWasHour || beforeSeconds) ? p.minute : p.month;
        out += run >= 2 ? twoDigits(v) : std::to_string(v);
        break;
      }
      case 'd':
        out += run >= 2 ? twoDigits(p.day) : std::to_string(p.day);
        break;
      case 'h':
        out += run >= 2 ? twoDigits(p.hour) : std::to_string(p.hour);
        break;
      case 'n':
        out += run >= 2 ? twoDigits(p.minute) : std::to_string(p.minute);
        break;
      case 's':
        out += run >= 2 ? twoDigits(p.second) : std::to_string(p.second);
        break;
      default:
        if (pattern[i] == '"' || pattern[i] == '\\') {
          std::size_t j = i;
          out += readLiteral(pattern, j);
          i = j;
          continue;
        }
        out.append(pattern.substr(i, run));
        break;
    }
    if (std::isalpha(static_cast<unsigned char>(c))) lastWasHour = c == 'h';
    i += run;
  }
  return out;
}

std::string Format(const Variant& value, std::string_view pattern) {
  if (value.isNull() || value.isEmpty() || value.isMissing()) return {};
  if (pattern.empty()) return value.toString();
  if (isDatePattern(pattern)) {
    if (value.isString()) {
      auto d = parseDateText(value.asString());
      if (!d) {
        auto n = parseNumericText(value.asString());
        if (!n) return value.asString();
        return formatDate(DateValue{*n}, pattern);
      }
      return formatDate(*d, pattern);
    }
    return formatDate(value.toDate(), pattern);
  }
  if (value.isString()) {
    auto n = parseNumericText(value.asString());
    if (!n) return value.asString();
    return formatNumber(*n, pattern);
  }
  return formatNumber(value.toDouble(), pattern);
}

}  // namespace quillon::automation
