#include "automation/vb_strings.h"
#include "automation/text_compare.h"

#include "automation/com_error.h"
#include "automation/utf8.h"

namespace quillon::automation {
namespace {

// Finds `find` in `s` repeatedly; matches start on character boundaries.
class TextSearch {
 public:
  TextSearch(std::string_view s, std::string_view find, CompareMethod compare) : s_(s) {
    if (compare == CompareMethod::Text) {
      // ASCII folding keeps every byte offset, so offsets in the folded text are offsets in s.
      foldedS_ = asciiLower(s);
      foldedF_ = asciiLower(find);
      hay_ = foldedS_;
      needle_ = foldedF_;
    } else {
      hay_ = s;
      needle_ = find;
    }
  }

  TextSearch(const TextSearch&) = delete;
  TextSearch& operator=(const TextSearch&) = delete;

  // Byte offset of the next match at or after byte `from`; npos when none.
  std::size_t next(std::size_t from) const {
    std::size_t pos = hay_.find(needle_, from);
    while (pos != std::string_view::npos && !startsCharacter(pos)) {
      pos = hay_.find(needle_, pos + 1);
    }
    return pos;
  }

 private:
  bool startsCharacter(std::size_t pos) const { return utf8::isBoundary(s_, pos); }

  std::string_view s_;
  std::string foldedS_;
  std::string foldedF_;
  std::string_view hay_;
  std::string_view needle_;
};

}  // namespace

std::int32_t Len(std::string_view s) {
  return static_cast<std::int32_t>(utf8::charCount(s));
}

std::string Left(std::string_view s, std::int32_t length) {
  if (length < 0) throw ComError::invalidProcedureCall();
  return std::string(s.substr(0, utf8::byteOffset(s, static_cast<std::size_t>(length))));
}

std::string Right(std::string_view s, std::int32_t length) {
  if (length < 0) throw ComError::invalidProcedureCall();
  std::size_t count = utf8::charCount(s);
  std::size_t keep = static_cast<std::size_t>(length);
  if (keep >= count) return std::string(s);
  return std::string(s.substr(utf8::byteOffset(s, count - keep)));
}

std::string Mid(std::string_view s, std::int32_t start) {
  if (start < 1) throw ComError::invalidProcedureCall();
  return std::string(s.substr(utf8::byteOffset(s, static_cast<std::size_t>(start) - 1)));
}

std::string Mid(std::string_view s, std::int32_t start, std::int32_t length) {
  if (start < 1 || length < 0) throw ComError::invalidProcedureCall();
  std::string_view rest = s.substr(utf8::byteOffset(s, static_cast<std::size_t>(start) - 1));
  return std::string(rest.substr(0, utf8::byteOffset(rest, static_cast<std::size_t>(length))));
}

std::string LTrim(std::string_view s) {
  std::size_t b = s.find_first_not_of(' ');
  return b == std::string_view::npos ? std::string() : std::string(s.substr(b));
}

std::string RTrim(std::string_view s) {
  std::size_t e = s.find_last_not_of(' ');
  return e == std::string_view::npos ? std::string() : std::string(s.substr(0, e + 1));
}

std::string Trim(std::string_view s) {
  return LTrim(RTrim(s));
}

std::string LCase(std::string_view s) {
  return asciiLower(s);
}
std::string UCase(std::string_view s) {
  return asciiUpper(s);
}

std::int32_t InStr(std::string_view s, std::string_view find, CompareMethod compare) {
  return InStr(1, s, find, compare);
}

std::int32_t InStr(std::int32_t start, std::string_view s, std::string_view find,
                   CompareMethod compare) {
  if (start < 1) throw ComError::invalidProcedureCall();
  const auto first = static_cast<std::size_t>(start) - 1;
  if (s.empty() || first >= utf8::charCount(s)) return 0;
  if (find.empty()) return start;
  std::size_t pos = TextSearch(s, find, compare).next(utf8::byteOffset(s, first));
  if (pos == std::string_view::npos) return 0;
  return static_cast<std::int32_t>(utf8::charIndex(s, pos) + 1);
}

std::string Replace(std::string_view s, std::string_view find, std::string_view with,
                    std::int32_t start, std::int32_t count, CompareMethod compare) {
  if (start < 1 || count < -1) throw ComError::invalidProcedureCall();
  std::string_view rest = s.substr(utf8::byteOffset(s, static_cast<std::size_t>(start) - 1));
  if (find.empty() || count == 0) return std::string(rest);
  std::string out;
  out.reserve(rest.size());
  const TextSearch search(rest, find, compare);
  std::size_t from = 0;
  std::int32_t done = 0;
  while (count == -1 || done < count) {
    std::size_t pos = search.next(from);
    if (pos == std::string_view::npos) break;
    out.append(rest.substr(from, pos - from));
    out.append(with);
    from = pos + find.size();
    ++done;
  }
  out.append(rest.substr(from));
  return out;
}

std::vector<std::string> splitText(std::string_view s, std::string_view delimiter,
                                   std::int32_t limit, CompareMethod compare) {
  if (limit < -1) throw ComError::invalidProcedureCall();
  std::vector<std::string> parts;
  if (s.empty() || limit == 0) return parts;
  if (delimiter.empty()) {
    parts.emplace_back(s);
    return parts;
  }
  const TextSearch search(s, delimiter, compare);
  std::size_t from = 0;
  while (limit == -1 || static_cast<std::int32_t>(parts.size()) < limit - 1) {
    std::size_t pos = search.next(from);
    if (pos == std::string_view::npos) break;
    parts.emplace_back(s.substr(from, pos - from));
    from = pos + delimiter.size();
  }
  parts.emplace_back(s.substr(from));
  return parts;
}

Variant Split(std::string_view s, std::string_view delimiter, std::int32_t limit,
              CompareMethod compare) {
  std::vector<Variant> items;
  for (std::string& part : splitText(s, delimiter, limit, compare)) {
    items.emplace_back(std::move(part));
  }
  return Variant::array(std::move(items), 0);
}

std::string Join(const Variant& array, std::string_view delimiter) {
  const ArrayPtr& a = array.asArray();
  std::string out;
  for (std::size_t i = 0; i < a->items.size(); ++i) {
    if (i) out.append(delimiter);
    out.append(a->items[i].toString());
  }
  return out;
}

std::string Join(const std::vector<std::string>& parts, std::string_view delimiter) {
  std::string out;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i) out.append(delimiter);
    out.append(parts[i]);
  }
  return out;
}

}  // namespace quillon::automation
