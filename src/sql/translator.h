// Translator: T-SQL batches in, engine programs out, with a bounded cache of recent translations.
//
// A batch is tokenized, split into statements and each statement rewritten for the engine the
// translator writes for (its Dialect, dialect.h). The result depends on the text alone, so it is
// cached by the batch text: a statement that the library runs again (the same list query, the same
// work-table batch) costs one lookup. A construct that cannot be translated raises ComError
// -2147217900 naming the construct.
#pragma once

#include <cstddef>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "sql/program.h"

namespace quillon::sql {

class Translator {
 public:
  explicit Translator(std::size_t capacity = 512, Engine engine = Engine::SQLite);

  std::shared_ptr<const Program> translate(std::string_view batch);
  // Without the cache.
  static Program translateUncached(std::string_view batch, Engine engine = Engine::SQLite);

  Engine engine() const { return engine_; }

  void clearCache();
  std::size_t cacheSize() const { return map_.size(); }
  std::size_t capacity() const { return capacity_; }

  // Batches longer than this are translated afresh each time rather than kept.
  static constexpr std::size_t kLongestCachedBatch = 64 * 1024;

 private:
  using Entry = std::pair<std::string, std::shared_ptr<const Program>>;
  std::size_t capacity_;
  Engine engine_;
  std::list<Entry> lru_;  // most recent first
  std::unordered_map<std::string_view, std::list<Entry>::iterator> map_;
};

}  // namespace quillon::sql
