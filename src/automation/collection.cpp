#include "automation/collection.h"

#include "automation/text_compare.h"

namespace quillon::automation {
namespace {

std::optional<std::string> keyArgument(const Variant& key) {
  if (key.isMissing() || key.isEmpty()) return std::nullopt;
  if (!key.isString()) throw ComError::typeMismatch();
  return key.asString();
}

}  // namespace

const MemberTable& Collection::memberTable() const {
  static const MemberTable table =
      MemberBuilder<Collection>("Collection")
          .method("Add",
                  {in("Item", "Variant"), opt("Key", "String"), opt("Before", "Variant"),
                   opt("After", "Variant")},
                  "",
                  [](Collection& self, Args& a) -> Variant {
                    self.add(a[0], keyArgument(a[1]), a[2], a[3]);
                    return {};
                  })
          .method("Count", {}, "Long",
                  [](Collection& self, Args&) -> Variant {
                    return static_cast<std::int32_t>(self.count());
                  })
          .method("Item", {in("Index", "Variant")}, "Variant",
                  [](Collection& self, Args& a) -> Variant { return self.item(a[0]); })
          .method("Remove", {in("Index", "Variant")}, "",
                  [](Collection& self, Args& a) -> Variant {
                    self.remove(a[0]);
                    return {};
                  })
          .defaultMember("Item")
          .build();
  return table;
}

void Collection::add(Variant item, std::optional<std::string> key) {
  add(std::move(item), std::move(key), Variant::missing(), Variant::missing());
}

void Collection::add(Variant item, std::optional<std::string> key, const Variant& before,
                     const Variant& after) {
  const bool hasBefore = !before.isMissing() && !before.isEmpty();
  const bool hasAfter = !after.isMissing() && !after.isEmpty();
  if (hasBefore && hasAfter) throw ComError::invalidProcedureCall();
  std::string folded;
  if (key) {
    folded = asciiLower(*key);
    if (byKey_.count(folded)) {
      throw ComError::keyAlreadyExists();
    }
  }
  std::size_t at = entries_.size();
  if (hasBefore) at = positionOf(before);
  if (hasAfter) at = positionOf(after) + 1;
  entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at),
                  Entry{std::move(item), std::move(key)});
  if (at + 1 == entries_.size()) {
    if (entries_.back().key) byKey_.emplace(std::move(folded), at);
  } else {
    reindex();
  }
}

const Variant& Collection::item(const Variant& indexOrKey) const {
  return entries_[positionOf(indexOrKey)].item;
}

const Variant& Collection::item(std::size_t index) const {
  if (index < 1 || index > entries_.size()) throw ComError::invalidProcedureCall();
  return entries_[index - 1].item;
}

const Variant& Collection::item(std::string_view key) const {
  auto it = byKey_.find(asciiLower(key));
  if (it == byKey_.end()) throw ComError::invalidProcedureCall();
  return entries_[it->second].item;
}

bool Collection::contains(std::string_view key) const {
  return byKey_.count(asciiLower(key)) != 0;
}

void Collection::remove(const Variant& indexOrKey) {
  std::size_t pos = positionOf(indexOrKey);
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(pos));
  reindex();
}

void Collection::clear() {
  entries_.clear();
  byKey_.clear();
}

std::vector<std::optional<std::string>> Collection::keys() const {
  std::vector<std::optional<std::string>> out;
  out.reserve(entries_.size());
  for (const Entry& e : entries_) out.push_back(e.key);
  return out;
}

std::size_t Collection::positionOf(const Variant& indexOrKey) const {
  if (indexOrKey.isString()) {
    auto it = byKey_.find(asciiLower(indexOrKey.asString()));
    if (it == byKey_.end()) throw ComError::invalidProcedureCall();
    return it->second;
  }
  if (indexOrKey.isObject()) {
    // An object stands for its default value, which may be a key or an index.
    const ObjectPtr& o = indexOrKey.asObject();
    if (!o) {
      throw ComError::objectNotSet();
    }
    return positionOf(o->value());
  }
  if (!indexOrKey.isNumber()) {
    if (indexOrKey.isNull()) throw ComError::invalidUseOfNull();
    throw ComError::typeMismatch();
  }
  std::int32_t index = indexOrKey.toLong();
  if (index < 1 || static_cast<std::size_t>(index) > entries_.size())
    throw ComError::invalidProcedureCall();
  return static_cast<std::size_t>(index) - 1;
}

void Collection::reindex() {
  byKey_.clear();
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].key) byKey_.emplace(asciiLower(*entries_[i].key), i);
  }
}

}  // namespace quillon::automation
