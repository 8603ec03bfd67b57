// Collection: the platform's ordered collection. Items are numbered from 1; an item may carry a
// string key, unique without regard to ASCII case. Late-bound members: Add(item, [key], [before],
// [after]), Item(index or key) (the default member), Count, Remove(index or key).
// Errors: a duplicate key raises 457, an index or key that names no item raises 5; a key that is
// not a text raises 13.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "automation/dispatch.h"

namespace quillon::automation {

class Collection : public Object {
 public:
  struct Entry {
    Variant item;
    std::optional<std::string> key;
  };

  Collection() = default;

  const MemberTable& memberTable() const override;

  // C++ API. add() appends, or with `before` / `after` (an index or key) places the item there.
  void add(Variant item, std::optional<std::string> key = std::nullopt);
  void add(Variant item, std::optional<std::string> key, const Variant& before,
           const Variant& after);
  // By 1-based index (any numeric Variant) or by key (a String Variant).
  const Variant& item(const Variant& indexOrKey) const;
  const Variant& item(std::size_t index) const;     // 1-based
  const Variant& item(std::string_view key) const;  // by key
  const Variant& item(const char* key) const { return item(std::string_view(key)); }
  const Variant& item(const std::string& key) const { return item(std::string_view(key)); }
  bool contains(std::string_view key) const;
  std::size_t count() const { return entries_.size(); }
  void remove(const Variant& indexOrKey);
  void clear();
  // Keys in item order; an item added without a key has std::nullopt.
  std::vector<std::optional<std::string>> keys() const;

  // Items in order, for range-for.
  auto begin() const { return entries_.begin(); }
  auto end() const { return entries_.end(); }

 private:
  std::size_t positionOf(const Variant& indexOrKey) const;  // 0-based; raises 5
  void reindex();

  std::vector<Entry> entries_;
  std::unordered_map<std::string, std::size_t> byKey_;  // folded key -> 0-based position
};

}  // namespace quillon::automation
