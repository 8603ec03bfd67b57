#include "ado/sort_order.h"

#include <algorithm>

#include "ado/ado_errors.h"
#include "automation/text_compare.h"

namespace quillon::ado {

namespace {

std::string_view trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

SortKey parseKey(std::string_view item) {
  item = trim(item);
  SortKey key;
  if (item.empty()) throwArguments("empty sort key");
  std::string_view rest;
  if (item.front() == '[') {
    const std::size_t close = item.find(']');
    if (close == std::string_view::npos) throwArguments("unterminated [name] in sort");
    key.field = std::string(item.substr(1, close - 1));
    rest = trim(item.substr(close + 1));
  } else {
    const std::size_t blank = item.find_first_of(" \t\r\n");
    key.field = std::string(item.substr(0, blank));
    rest = blank == std::string_view::npos ? std::string_view{} : trim(item.substr(blank));
  }
  if (rest.empty() || automation::equalsNoCase(rest, "asc")) return key;
  if (automation::equalsNoCase(rest, "desc")) {
    key.descending = true;
    return key;
  }
  throwArguments("sort direction must be ASC or DESC");
}

// One key's comparison over typed column data; text keys carry a folded eight-byte prefix per
// row so most comparisons never touch the strings.
struct KeyComparer {
  const Column* column;
  bool descending;
  std::vector<std::uint64_t> prefix;  // text keys only, indexed by row

  int compare(std::uint32_t a, std::uint32_t b) const {
    const bool na = column->isNull(a), nb = column->isNull(b);
    if (na || nb) return na == nb ? 0 : (na ? -1 : 1);
    switch (column->kind()) {
      case StorageKind::Int32:
      case StorageKind::Bool: {
        const auto x = column->int32At(a), y = column->int32At(b);
        return x < y ? -1 : (y < x ? 1 : 0);
      }
      case StorageKind::Int64: {
        const auto x = column->int64At(a), y = column->int64At(b);
        return x < y ? -1 : (y < x ? 1 : 0);
      }
      case StorageKind::Double:
      case StorageKind::Date: {
        const double x = column->doubleAt(a), y = column->doubleAt(b);
        return x < y ? -1 : (y < x ? 1 : 0);
      }
      case StorageKind::Text: {
        const std::uint64_t x = prefix[a], y = prefix[b];
        if (x != y) return x < y ? -1 : 1;
        return automation::compareNoCase(column->textAt(a), column->textAt(b));
      }
    }
    return 0;
  }
};

}  // namespace

std::vector<SortKey> parseSortText(std::string_view text) {
  std::vector<SortKey> keys;
  if (trim(text).empty()) return keys;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    keys.push_back(parseKey(text.substr(start, comma - start)));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return keys;
}

void sortRows(const RecordData& data, const std::vector<SortKey>& keys,
              std::vector<std::uint32_t>& rows) {
  std::vector<KeyComparer> comparers;
  comparers.reserve(keys.size());
  for (const SortKey& key : keys) {
    const int index = data.fieldIndex(key.field);
    if (index < 0) throwItemNotFound();
    KeyComparer c{&data.column(static_cast<std::size_t>(index)), key.descending, {}};
    if (c.column->kind() == StorageKind::Text) {
      c.prefix.assign(data.rowCount(), 0);
      for (const std::uint32_t row : rows)
        if (!c.column->isNull(row))
          c.prefix[row] = automation::foldedPrefixKey(c.column->textAt(row));
    }
    comparers.push_back(std::move(c));
  }
  if (comparers.empty()) return;
  std::stable_sort(rows.begin(), rows.end(), [&comparers](std::uint32_t a, std::uint32_t b) {
    for (const KeyComparer& c : comparers) {
      const int r = c.compare(a, b);
      if (r != 0) return c.descending ? r > 0 : r < 0;
    }
    return false;
  });
}

}  // namespace quillon::ado
