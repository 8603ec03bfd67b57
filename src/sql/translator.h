// Translator: T-SQL batches in, engine programs out, with a bounded cache of recent translations.
//
// A batch is tokenized, split into statements and each statement rewritten for the engine the
// translator writes for (its Dialect, dialect.h). The result depends on the text and, for an
// engine that reads its schema's column types into the translation (readSchemaWith), on the types
// of the tables the batch names; so it is cached by the batch text with those tables: a statement
// that the library runs again (the same list query, the same work-table batch) costs one lookup
// while its tables keep their columns' types. A construct that cannot be translated raises ComError
// -2147217900 naming the construct.
#pragma once

#include <cstddef>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "sql/column_types.h"
#include "sql/program.h"

namespace quillon::sql {

class Translator {
 public:
  explicit Translator(std::size_t capacity = 512, Engine engine = Engine::SQLite);

  std::shared_ptr<const Program> translate(std::string_view batch);
  // Without the cache.
  static Program translateUncached(std::string_view batch, Engine engine = Engine::SQLite);

  Engine engine() const { return engine_; }

  // The engine's column types as they are now, asked for before each batch is translated or
  // taken from the cache (null: none known). The schema it gives stays valid until the next call.
  void readSchemaWith(std::function<const SchemaTypes*()> schema) { schema_ = std::move(schema); }

  void clearCache();
  std::size_t cacheSize() const { return map_.size(); }
  std::size_t capacity() const { return capacity_; }

  // Batches longer than this are translated afresh each time rather than kept.
  static constexpr std::size_t kLongestCachedBatch = 64 * 1024;

 private:
  struct Entry {
    std::string batch;
    std::shared_ptr<const Program> program;
    // The tables the translation read the types of, as they were (null: absent).
    std::vector<std::pair<std::string, SchemaTypes::Table>> read;
  };
  std::size_t capacity_;
  Engine engine_;
  std::function<const SchemaTypes*()> schema_;
  std::list<Entry> lru_;  // most recent first
  std::unordered_map<std::string_view, std::list<Entry>::iterator> map_;
};

}  // namespace quillon::sql
