#include "ado/recordset.h"

#include <utility>

#include "ado/ado_errors.h"
#include "ado/fields.h"
#include "ado/loader.h"
#include "ado/row_load.h"

namespace quillon::ado {

using automation::Args;
using automation::MemberBuilder;
using automation::MemberTable;
using automation::ObjectPtr;

namespace {

// Keeps the first result set of the batch; the rest of the batch still runs.
class FirstRowsHandler : public sql::ResultHandler {
 public:
  void onResultSet(sql::Cursor& cursor) override {
    if (!data) data = loadRecordData(cursor);
  }
  std::shared_ptr<RecordData> data;
};

thread_local std::size_t t_progressiveRows = 0;

bool absent(const Variant& v) {
  return v.isMissing() || v.isEmpty() || v.isNothing();
}

}  // namespace

Recordset::Recordset()
    : core_(std::make_shared<RecordsetCore>()), fields_(std::make_shared<Fields>(core_)) {}

Recordset::~Recordset() = default;

ProgressiveOpens::ProgressiveOpens(std::size_t firstRows)
    : previous_(std::exchange(t_progressiveRows, firstRows)) {}

ProgressiveOpens::~ProgressiveOpens() {
  t_progressiveRows = previous_;
}

void Recordset::openSql(const std::string& text, const std::shared_ptr<Connection>& connection) {
  if (t_progressiveRows > 0) {
    sql::Database& db = connection->database();
    if (std::unique_ptr<sql::Cursor> cursor = db.openRows(text, t_progressiveRows)) {
      auto load = std::make_shared<RowLoad>(db, std::move(cursor), t_progressiveRows);
      connection_ = connection;
      if (load->done()) {
        core_->open(load->data());
      } else {
        load_ = std::move(load);
      }
      return;
    }
  }
  FirstRowsHandler handler;
  connection->database().execute(text, handler);
  connection_ = connection;
  if (handler.data) core()->open(std::move(handler.data));
}

void Recordset::open(const Variant& source, const Variant& activeConnection,
                     std::int32_t cursorType, std::int32_t lockType, std::int32_t options) {
  if (isOpen()) throwObjectOpen();
  if (cursorType != adOpenUnspecified) cursorType_ = cursorType;
  if (lockType != adLockUnspecified) lockType_ = lockType;

  std::shared_ptr<Connection> connection = connection_;
  if (activeConnection.isString()) {
    connection = std::make_shared<Connection>();
    connection->open(activeConnection.asString());
  } else if (activeConnection.isObject() && !activeConnection.isNothing()) {
    connection = automation::toObjectAs<Connection>(activeConnection);
  } else if (!absent(activeConnection)) {
    throwArguments("ActiveConnection must be a Connection or a connection string");
  }

  std::string text;
  if (source.isString()) {
    text = source.asString();
  } else if (!absent(source)) {
    throwArguments("Source must be a text");
  } else {
    text = source_;
  }

  if (text.empty()) {
    core()->openFabricated();
    connection_ = connection;
    return;
  }
  if (!connection) throwConnectionInvalid();
  connection->database();  // 3704 when the connection is closed
  source_ = text;
  std::string batch = text;
  if (options != adOptionUnspecified && (options & (adCmdTable | adCmdTableDirect)) != 0 &&
      (options & adCmdText) == 0)
    batch = "select * from " + text;
  openSql(batch, connection);
}

void Recordset::open(std::string_view sql, const std::shared_ptr<Connection>& connection) {
  if (isOpen()) throwObjectOpen();
  if (!connection) throwConnectionInvalid();
  connection->database();
  source_ = std::string(sql);
  openSql(source_, connection);
}

void Recordset::openData(std::shared_ptr<RecordData> data, std::string source,
                         std::shared_ptr<Connection> connection) {
  if (isOpen()) throwObjectOpen();
  source_ = std::move(source);
  connection_ = std::move(connection);
  core()->open(std::move(data));
}

void Recordset::openProgressive(std::string_view sql, const std::shared_ptr<Connection>& connection,
                                std::size_t firstRows) {
  const ProgressiveOpens progressive(firstRows > 0 ? firstRows : 1);
  open(sql, connection);
}

void Recordset::completeLoad() const {
  const std::shared_ptr<RowLoad> load = std::move(load_);
  load_ = nullptr;
  load->finish();
  core_->open(load->data());
}

std::shared_ptr<Recordset> Recordset::fabricate(std::vector<FieldDef> fields) {
  auto rs = std::make_shared<Recordset>();
  for (FieldDef& f : fields) rs->core()->appendFieldDef(std::move(f));
  rs->core()->openFabricated();
  rs->cursorType_ = adOpenStatic;
  rs->lockType_ = adLockBatchOptimistic;
  rs->cursorLocation_ = adUseClient;
  return rs;
}

void Recordset::close() {
  if (load_) {
    // Closed while its rows were still being read: the unread rows and the statement go with
    // the load, and the rows were never handed to the core.
    load_ = nullptr;
    return;
  }
  core_->close();
}

void Recordset::requery() {
  if (!core()->isOpen()) throwObjectClosed();
  if (source_.empty() || !connection_) throwOperationNotAllowed();
  FirstRowsHandler handler;
  connection_->database().execute(source_, handler);
  if (handler.data)
    core()->open(std::move(handler.data));
  else
    core()->close();
}

void Recordset::setSource(std::string source) {
  if (isOpen()) throwObjectOpen();
  source_ = std::move(source);
}

void Recordset::setActiveConnection(std::shared_ptr<Connection> connection) {
  if (isOpen() && connection) throwObjectOpen();
  connection_ = std::move(connection);
}

std::shared_ptr<Field> Recordset::field(const Variant& nameOrIndex) const {
  return fields_->item(nameOrIndex);
}

Variant Recordset::value(const Variant& nameOrIndex) const {
  return core()->value(core()->resolveField(nameOrIndex));
}

Variant Recordset::value(std::string_view name) const {
  return core()->value(core()->resolveField(name));
}

void Recordset::setValue(const Variant& nameOrIndex, const Variant& v) {
  core()->setValue(core()->resolveField(nameOrIndex), v);
}

Variant Recordset::filter() const {
  if (!core()->isOpen()) return Variant(std::int32_t{adFilterNone});
  return core()->filter();
}

std::string Recordset::sort() const {
  return core()->isOpen() ? core()->sort() : std::string();
}

std::shared_ptr<Recordset> Recordset::clone() const {
  auto rs = std::make_shared<Recordset>();
  rs->core_ = core()->clone();
  rs->fields_ = std::make_shared<Fields>(rs->core_);
  rs->source_ = source_;
  rs->connection_ = connection_;
  rs->cursorType_ = cursorType_;
  rs->lockType_ = lockType_;
  rs->cursorLocation_ = cursorLocation_;
  return rs;
}

std::shared_ptr<Recordset> Recordset::copyStructure() const {
  auto rs = std::make_shared<Recordset>();
  rs->openData(core()->copyStructure(), source_, nullptr);
  rs->cursorType_ = adOpenStatic;
  rs->lockType_ = adLockBatchOptimistic;
  rs->cursorLocation_ = adUseClient;
  return rs;
}

std::shared_ptr<Recordset> Recordset::copyWithRows() const {
  auto rs = std::make_shared<Recordset>();
  rs->openData(core()->copyWithRows(), source_, nullptr);
  rs->cursorType_ = adOpenStatic;
  rs->lockType_ = adLockBatchOptimistic;
  rs->cursorLocation_ = adUseClient;
  return rs;
}

std::size_t Recordset::memoryBytes() const {
  std::size_t bytes = sizeof(*this) + core()->memoryBytes();
  if (core()->isOpen()) bytes += core()->data()->memoryBytes();
  return bytes;
}

// ---------------------------------------------------------------------------------------------
// Late-bound members

namespace {

std::int32_t optionalLong(const Args& a, std::size_t i, std::int32_t fallback) {
  return a.omitted(i) || a[i].isMissing() || a[i].isEmpty() ? fallback : a.lng(i);
}

Variant objectVariant(std::shared_ptr<automation::Object> o) {
  return Variant(std::move(o));
}

Variant fieldsOrField(Recordset& rs, Args& a) {
  if (a.omitted(0) || a[0].isMissing()) return objectVariant(rs.fields());
  return objectVariant(rs.field(a[0]));
}

}  // namespace

const MemberTable& Recordset::memberTable() const {
  using automation::in;
  using automation::opt;
  static const MemberTable table =
      MemberBuilder<Recordset>("Recordset")
          .property("Fields", "Fields", fieldsOrField, nullptr, nullptr, {opt("Index", "Variant")})
          .method("Open",
                  {opt("Source", "Variant"), opt("ActiveConnection", "Variant"),
                   opt("CursorType", "Long", -1), opt("LockType", "Long", -1),
                   opt("Options", "Long", -1)},
                  "",
                  [](Recordset& rs, Args& a) -> Variant {
                    rs.open(a[0], a[1], optionalLong(a, 2, -1), optionalLong(a, 3, -1),
                            optionalLong(a, 4, -1));
                    return {};
                  })
          .method("Close", {}, "",
                  [](Recordset& rs, Args&) -> Variant {
                    rs.close();
                    return {};
                  })
          .method("Requery", {opt("Options", "Long", -1)}, "",
                  [](Recordset& rs, Args&) -> Variant {
                    rs.requery();
                    return {};
                  })
          .getter("State", "Long", [](Recordset& rs, Args&) -> Variant { return rs.state(); })
          .property(
              "Source", "String", [](Recordset& rs, Args&) -> Variant { return rs.source(); },
              [](Recordset& rs, Args& a) -> Variant {
                rs.setSource(a.value().toString());
                return {};
              })
          .property(
              "ActiveConnection", "Connection",
              [](Recordset& rs, Args&) -> Variant { return objectVariant(rs.activeConnection()); },
              [](Recordset& rs, Args& a) -> Variant {
                if (a.value().isString()) {
                  auto c = std::make_shared<Connection>();
                  c->open(a.value().asString());
                  rs.setActiveConnection(std::move(c));
                } else {
                  rs.setActiveConnection(automation::toObjectAs<Connection>(a.value()));
                }
                return {};
              },
              [](Recordset& rs, Args& a) -> Variant {
                rs.setActiveConnection(automation::toObjectAs<Connection>(a.value()));
                return {};
              })
          .property(
              "CursorType", "Long",
              [](Recordset& rs, Args&) -> Variant {
                return rs.isOpen() ? adOpenStatic : rs.cursorType();
              },
              [](Recordset& rs, Args& a) -> Variant {
                rs.setCursorType(a.value().toLong());
                return {};
              })
          .property(
              "LockType", "Long", [](Recordset& rs, Args&) -> Variant { return rs.lockType(); },
              [](Recordset& rs, Args& a) -> Variant {
                rs.setLockType(a.value().toLong());
                return {};
              })
          .property(
              "CursorLocation", "Long",
              [](Recordset& rs, Args&) -> Variant { return rs.cursorLocation(); },
              [](Recordset& rs, Args& a) -> Variant {
                rs.setCursorLocation(a.value().toLong());
                return {};
              })
          .getter("BOF", "Boolean", [](Recordset& rs, Args&) -> Variant { return rs.bof(); })
          .getter("EOF", "Boolean", [](Recordset& rs, Args&) -> Variant { return rs.eof(); })
          .getter("RecordCount", "Long",
                  [](Recordset& rs, Args&) -> Variant { return rs.recordCount(); })
          .method("MoveFirst", {}, "",
                  [](Recordset& rs, Args&) -> Variant {
                    rs.moveFirst();
                    return {};
                  })
          .method("MoveLast", {}, "",
                  [](Recordset& rs, Args&) -> Variant {
                    rs.moveLast();
                    return {};
                  })
          .method("MoveNext", {}, "",
                  [](Recordset& rs, Args&) -> Variant {
                    rs.moveNext();
                    return {};
                  })
          .method("MovePrevious", {}, "",
                  [](Recordset& rs, Args&) -> Variant {
                    rs.movePrevious();
                    return {};
                  })
          .method("Move", {in("NumRecords", "Long"), opt("Start", "Variant")}, "",
                  [](Recordset& rs, Args& a) -> Variant {
                    rs.move(a.lng(0), a[1]);
                    return {};
                  })
          .property(
              "AbsolutePosition", "Long",
              [](Recordset& rs, Args&) -> Variant { return rs.absolutePosition(); },
              [](Recordset& rs, Args& a) -> Variant {
                rs.setAbsolutePosition(a.value().toLong());
                return {};
              })
          .property(
              "Bookmark", "Variant", [](Recordset& rs, Args&) -> Variant { return rs.bookmark(); },
              [](Recordset& rs, Args& a) -> Variant {
                rs.setBookmark(a.value());
                return {};
              })
          .property(
              "Collect", "Variant",
              [](Recordset& rs, Args& a) -> Variant { return rs.value(a[0]); },
              [](Recordset& rs, Args& a) -> Variant {
                rs.setValue(a[0], a.value());
                return {};
              },
              nullptr, {in("Index", "Variant")})
          .property(
              "Filter", "Variant", [](Recordset& rs, Args&) -> Variant { return rs.filter(); },
              [](Recordset& rs, Args& a) -> Variant {
                rs.setFilter(a.value());
                return {};
              })
          .property(
              "Sort", "String", [](Recordset& rs, Args&) -> Variant { return rs.sort(); },
              [](Recordset& rs, Args& a) -> Variant {
                rs.setSort(a.value().toString());
                return {};
              })
          .method("Find",
                  {in("Criteria", "String"), opt("SkipRecords", "Long", 0),
                   opt("SearchDirection", "Long", adSearchForward), opt("Start", "Variant")},
                  "",
                  [](Recordset& rs, Args& a) -> Variant {
                    rs.find(a.str(0), a.lng(1), a.lng(2), a[3]);
                    return {};
                  })
          .method("AddNew", {opt("FieldList", "Variant"), opt("Values", "Variant")}, "",
                  [](Recordset& rs, Args& a) -> Variant {
                    rs.addNew(a[0], a[1]);
                    return {};
                  })
          .method("Update", {opt("Fields", "Variant"), opt("Values", "Variant")}, "",
                  [](Recordset& rs, Args& a) -> Variant {
                    rs.update(a[0], a[1]);
                    return {};
                  })
          .method("CancelUpdate", {}, "",
                  [](Recordset& rs, Args&) -> Variant {
                    rs.cancelUpdate();
                    return {};
                  })
          .method("Delete", {opt("AffectRecords", "Long", 1)}, "",
                  [](Recordset& rs, Args& a) -> Variant {
                    if (a.lng(0) != 1) throwArguments("only the current record can be deleted");
                    rs.deleteRecord();
                    return {};
                  })
          .getter("EditMode", "Long", [](Recordset& rs, Args&) -> Variant { return rs.editMode(); })
          .getter("Status", "Long", [](Recordset& rs, Args&) -> Variant { return rs.status(); })
          .method("Clone", {opt("LockType", "Long", -1)}, "Recordset",
                  [](Recordset& rs, Args&) -> Variant { return objectVariant(rs.clone()); })
          .method("Supports", {in("CursorOptions", "Long")}, "Boolean",
                  [](Recordset&, Args&) -> Variant { return true; })
          .defaultMember("Fields")
          .build();
  return table;
}

void registerAdoClasses(automation::ClassRegistry& registry) {
  registry.add<Connection>("ADODB.Connection");
  registry.add<Recordset>("ADODB.Recordset");
}

}  // namespace quillon::ado
