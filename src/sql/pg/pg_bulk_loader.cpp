// Bulk loads on the server: the rows of each table and column list gathered as COPY text and
// sent with COPY … FROM STDIN, table after table in the order their first rows came.
#include "sql/pg/pq.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <string>
#include <vector>

#include "automation/text_escape.h"
#include "sql/pg/pg_database.h"
#include "sql/sql_error.h"
#include "sql/sql_text.h"
#include "sql/token.h"

namespace quillon::sql {

namespace {

// What is held back before it goes to the server.
constexpr std::size_t kFlushBytes = 32u << 20;

void appendCopyText(std::string& out, std::string_view text) {
  for (char c : text) {
    if (!automation::appendBackslashEscape(out, c, false)) out += c;
  }
}

class PgBulkLoader final : public BulkLoader {
 public:
  explicit PgBulkLoader(PgDatabase& db) : db_(db) {}

  void insert(std::string_view table, std::span<const std::string_view> columns,
              std::span<const CellView> values) override {
    key_.assign(table);
    for (std::string_view c : columns) {
      key_ += ',';
      key_ += c;
    }
    auto it = index_.find(key_);
    if (it == index_.end()) {
      Batch batch;
      batch.table = std::string(table);
      batch.copy = "COPY " + quoteName(asciiLower(table)) + " (";
      for (std::size_t i = 0; i < columns.size(); ++i)
        batch.copy += (i > 0 ? ", " : "") + quoteName(asciiLower(columns[i]));
      batch.copy += ") FROM STDIN";
      it = index_.emplace(key_, batches_.size()).first;
      batches_.push_back(std::move(batch));
    }
    std::string& out = batches_[it->second].rows;
    const std::size_t before = out.size();
    char number[32];
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (i > 0) out += '\t';
      const CellView& v = values[i];
      switch (v.kind) {
        case ValueKind::Null:
          out += "\\N";
          break;
        case ValueKind::Integer: {
          const auto r = std::to_chars(number, number + sizeof number, v.integer);
          out.append(number, r.ptr);
          break;
        }
        case ValueKind::Real: {
          const auto r = std::to_chars(number, number + sizeof number, v.real);
          out.append(number, r.ptr);
          break;
        }
        case ValueKind::Text:
          appendCopyText(out, v.text);
          break;
        case ValueKind::Blob: {
          out += "\\\\x";
          static constexpr char kHex[] = "0123456789abcdef";
          for (unsigned char c : v.text) {
            out += kHex[c >> 4];
            out += kHex[c & 15];
          }
          break;
        }
      }
    }
    out += '\n';
    held_ += out.size() - before;
    if (held_ > kFlushBytes) flush();
  }

  void finish() override {
    flush();
    // Rows may have brought their identities along: the next identity follows the largest.
    std::string tables;
    for (const Batch& b : batches_)
      tables += (tables.empty() ? "" : ",") + quoteLiteral(quoteName(asciiLower(b.table)));
    if (!tables.empty())
      db_.exec(
          "SELECT tsql.sync_identity(t::regclass) FROM unnest(ARRAY[" + tables + "]::text[]) AS t",
          "bulk load");
  }

 private:
  struct Batch {
    std::string table;
    std::string copy;
    std::string rows;
  };

  void flush() {
    pg_conn* conn = db_.connection();
    for (Batch& b : batches_) {
      if (b.rows.empty()) continue;
      PGresult* start = pq::PQexec(conn, b.copy.c_str());
      const bool copying = pq::PQresultStatus(start) == PGRES_COPY_IN;
      const std::string refusal = copying ? "" : pq::PQresultErrorMessage(start);
      pq::PQclear(start);
      if (!copying) fail(conn, b.table, refusal);
      constexpr std::size_t kChunk = 1u << 20;
      bool sent = true;
      for (std::size_t at = 0; at < b.rows.size() && sent; at += kChunk) {
        const std::size_t n = std::min(kChunk, b.rows.size() - at);
        sent = pq::PQputCopyData(conn, b.rows.data() + at, static_cast<int>(n)) == 1;
      }
      if (pq::PQputCopyEnd(conn, sent ? nullptr : "the load was cut short") != 1)
        fail(conn, b.table, pq::PQerrorMessage(conn));
      std::string error;
      while (PGresult* r = pq::PQgetResult(conn)) {
        if (pq::PQresultStatus(r) != PGRES_COMMAND_OK && error.empty())
          error = pq::PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY) != nullptr
                      ? pq::PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY)
                      : pq::PQresultErrorMessage(r);
        pq::PQclear(r);
      }
      if (!error.empty()) fail(conn, b.table, error);
      b.rows.clear();
      b.rows.shrink_to_fit();
    }
    held_ = 0;
  }

  [[noreturn]] void fail(pg_conn* conn, const std::string& table, std::string text) {
    if (pq::PQstatus(conn) != CONNECTION_OK) db_.lost("bulk load of table " + table);
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    if (text.starts_with("ERROR:  ")) text = text.substr(8);
    throw SqlError::loadFailed(table, text);
  }

  PgDatabase& db_;
  std::vector<Batch> batches_;
  std::map<std::string, std::size_t, std::less<>> index_;
  std::string key_;
  std::size_t held_ = 0;
};

}  // namespace

std::unique_ptr<BulkLoader> PgDatabase::makeBulkLoader() {
  return std::make_unique<PgBulkLoader>(*this);
}

}  // namespace quillon::sql
