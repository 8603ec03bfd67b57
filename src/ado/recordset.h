// Recordset: a client-side, static, locally updatable set of rows. Whatever cursor and lock type
// a caller asks for, rows are read once into memory (see RecordData) and never written back:
// AddNew, field writes, Update and Delete change only this copy and its clones.
//
// C++ members are camelCase (moveNext, eof, recordCount, setFilter, ...); late-bound callers use
// the platform's names: Open, Close, Requery, State, Source, ActiveConnection, CursorType,
// LockType, CursorLocation, BOF, EOF, RecordCount, MoveFirst, MoveNext, MovePrevious, MoveLast,
// Move, AbsolutePosition, Bookmark, Fields (the default member: rs("name") is a Field), Collect,
// Filter, Sort, Find, AddNew, Update, CancelUpdate, Delete, EditMode, Status, Clone, Supports.
//
// Errors: 3704 on a closed recordset, 3705 opening an open one, 3021 without a current record,
// 3265 for an unknown field, 3001 for an invalid filter, bookmark, position or argument.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "ado/connection.h"
#include "ado/fields.h"
#include "ado/recordset_core.h"
#include "automation/class_registry.h"
#include "automation/dispatch.h"

namespace quillon::ado {

class Field;
class Fields;
class RowLoad;

// CursorTypeEnum and LockTypeEnum (accepted; every recordset behaves as adOpenStatic).
inline constexpr std::int32_t adOpenUnspecified = -1;
inline constexpr std::int32_t adOpenForwardOnly = 0;
inline constexpr std::int32_t adOpenKeyset = 1;
inline constexpr std::int32_t adOpenDynamic = 2;
inline constexpr std::int32_t adOpenStatic = 3;
inline constexpr std::int32_t adLockUnspecified = -1;
inline constexpr std::int32_t adLockReadOnly = 1;
inline constexpr std::int32_t adLockPessimistic = 2;
inline constexpr std::int32_t adLockOptimistic = 3;
inline constexpr std::int32_t adLockBatchOptimistic = 4;

class Recordset : public automation::Object {
 public:
  Recordset();
  ~Recordset() override;

  const automation::MemberTable& memberTable() const override;

  // --- opening
  // source: a T-SQL batch (its first result set is read), or a table name with adCmdTable.
  // activeConnection: a Connection object, a connection string (a private connection is opened),
  // or Missing/Nothing for the connection set before. Without a source, a recordset with
  // appended fields opens empty. A batch that yields no rows leaves the recordset closed.
  void open(const Variant& source = Variant::missing(),
            const Variant& activeConnection = Variant::missing(),
            std::int32_t cursorType = adOpenUnspecified, std::int32_t lockType = adLockUnspecified,
            std::int32_t options = adOptionUnspecified);
  void open(std::string_view sql, const std::shared_ptr<Connection>& connection);
  // Opens a batch that is one query for a list to show while its rows load: the first
  // `firstRows` rows are read now, the rest when the list asks for them (RecordsetView::grow) or
  // as soon as anything else needs them — any operation of this recordset, or anything else run
  // on the connection — so nothing but such a view ever sees part of the rows. Any other batch
  // opens as open() opens it.
  void openProgressive(std::string_view sql, const std::shared_ptr<Connection>& connection,
                       std::size_t firstRows);
  // Opens over rows already read (used by Connection::execute and the copies).
  void openData(std::shared_ptr<RecordData> data, std::string source,
                std::shared_ptr<Connection> connection);
  // Opens an empty recordset built from field definitions, without any query.
  static std::shared_ptr<Recordset> fabricate(std::vector<FieldDef> fields);
  void close();
  // Runs the source again on the connection; 3219 for a recordset that has none.
  void requery();
  std::int32_t state() const { return isOpen() ? adStateOpen : adStateClosed; }
  bool isOpen() const { return load_ != nullptr || core_->isOpen(); }

  const std::string& source() const { return source_; }
  void setSource(std::string source);  // 3705 while open
  const std::shared_ptr<Connection>& activeConnection() const { return connection_; }
  void setActiveConnection(std::shared_ptr<Connection> connection);
  std::int32_t cursorType() const { return cursorType_; }
  std::int32_t lockType() const { return lockType_; }
  std::int32_t cursorLocation() const { return cursorLocation_; }
  void setCursorType(std::int32_t v) { cursorType_ = v; }
  void setLockType(std::int32_t v) { lockType_ = v; }
  void setCursorLocation(std::int32_t v) { cursorLocation_ = v; }

  // --- fields
  const std::shared_ptr<Fields>& fields() const {
    core();
    return fields_;
  }
  std::shared_ptr<Field> field(const Variant& nameOrIndex) const;
  // The current row's value of a field (by name without regard to case, or by 0-based index).
  Variant value(const Variant& nameOrIndex) const;
  Variant value(std::string_view name) const;
  Variant value(const char* name) const { return value(std::string_view(name)); }
  Variant value(const std::string& name) const { return value(std::string_view(name)); }
  Variant value(std::size_t index) const { return core()->value(index); }
  // The 0-based place of a field (by name without regard to case); 3265 when there is none.
  std::size_t fieldIndex(std::string_view name) const { return core()->resolveField(name); }
  void setValue(const Variant& nameOrIndex, const Variant& v);
  void setValue(std::size_t index, const Variant& v) { core()->setValue(index, v); }
  void writeAt(std::int32_t position, std::size_t index, const Variant& v) {
    core()->writeAt(position, index, v);
  }
  // writeAt of a number, stored without a Variant in between where the field holds doubles.
  void writeNumberAt(std::int32_t position, std::size_t index, double v) {
    core()->writeNumberAt(position, index, v);
  }
  // writeNumberAt(positions[i], index, values[i]) for each i in order, for a dialog that writes
  // a field of many rows.
  void writeNumbersAt(std::span<const std::int32_t> positions, std::size_t index,
                      std::span<const double> values) {
    core()->writeNumbersAt(positions, index, values);
  }
  // The rows the recordset is open on (null when closed): a field's place found in them holds
  // while the key stays the same.
  const void* rowsKey() const { return core()->dataPtr(); }

  // --- navigation
  bool bof() const { return core()->bof(); }
  bool eof() const { return core()->eof(); }
  std::int32_t recordCount() const { return core()->recordCount(); }
  void moveFirst() { core()->moveFirst(); }
  void moveLast() { core()->moveLast(); }
  void moveNext() { core()->moveNext(); }
  void movePrevious() { core()->movePrevious(); }
  void move(std::int32_t n, const Variant& start = Variant::missing()) { core()->move(n, start); }
  std::int32_t absolutePosition() const { return core()->absolutePosition(); }
  void setAbsolutePosition(std::int32_t p) { core()->setAbsolutePosition(p); }
  Variant bookmark() const { return core()->bookmark(); }
  Variant bookmarkAt(std::int32_t position) const { return core()->bookmarkAt(position); }
  void setBookmark(const Variant& b) { core()->setBookmark(b); }

  // --- filter, sort, find
  Variant filter() const;
  void setFilter(const Variant& filter) { core()->setFilter(filter); }
  void setFilterPositions(const std::vector<std::int32_t>& positions) {
    core()->setFilterPositions(positions);
  }
  std::string sort() const;
  void setSort(std::string_view sortText) { core()->setSort(sortText); }
  void find(std::string_view criteria, std::int32_t skip = 0,
            std::int32_t direction = adSearchForward, const Variant& start = Variant::missing()) {
    core()->find(criteria, skip, direction, start);
  }

  // --- local editing
  void addNew(const Variant& fields = Variant::missing(),
              const Variant& values = Variant::missing()) {
    core()->addNew(fields, values);
  }
  void update(const Variant& fields = Variant::missing(),
              const Variant& values = Variant::missing()) {
    core()->update(fields, values);
  }
  void cancelUpdate() { core()->cancelUpdate(); }
  void deleteRecord() { core()->deleteCurrent(); }
  std::int32_t editMode() const { return core()->editMode(); }
  std::int32_t status() const { return core()->status(); }

  // --- copies
  // Shares the rows; its own position, filter and sort (none at first).
  std::shared_ptr<Recordset> clone() const;
  // New, independent, disconnected recordsets with the same fields: empty, or holding copies of
  // the rows this recordset's view shows (filter and sort applied), in that order.
  std::shared_ptr<Recordset> copyStructure() const;
  std::shared_ptr<Recordset> copyWithRows() const;
  // Whether copyWithRows would copy the rows exactly as they are (see RecordsetCore::rowsAsRead).
  bool rowsAsRead() const { return core()->rowsAsRead(); }

  // Bytes held by this recordset's rows and view.
  std::size_t memoryBytes() const;

 private:
  friend class RecordsetInternal;
  void openSql(const std::string& text, const std::shared_ptr<Connection>& connection);
  // The cursor, with the rows of a progressive open read to their end first: every operation of
  // the recordset goes through here, so none of them sees part of the rows.
  const std::shared_ptr<RecordsetCore>& core() const {
    if (load_) completeLoad();
    return core_;
  }
  // Reads the rest of a progressive open's rows and opens the cursor over them; when reading
  // fails the recordset is closed and the error thrown, as the open would have thrown it.
  void completeLoad() const;

  std::shared_ptr<RecordsetCore> core_;
  mutable std::shared_ptr<RowLoad> load_;  // a progressive open's rows while they load
  std::shared_ptr<Fields> fields_;
  std::string source_;
  std::shared_ptr<Connection> connection_;
  std::int32_t cursorType_ = adOpenForwardOnly;
  std::int32_t lockType_ = adLockReadOnly;
  std::int32_t cursorLocation_ = adUseServer;
};

// While one lives, on its thread, Recordset::open of a batch that is one query opens it as
// openProgressive does, reading its first `firstRows` rows at once: for a dialog that shows the
// recordsets it is about to open in a drawn list. Scopes nest; 0 turns it off inside.
class ProgressiveOpens {
 public:
  explicit ProgressiveOpens(std::size_t firstRows);
  ~ProgressiveOpens();
  ProgressiveOpens(const ProgressiveOpens&) = delete;
  ProgressiveOpens& operator=(const ProgressiveOpens&) = delete;

 private:
  std::size_t previous_;
};

// Registers "ADODB.Connection" and "ADODB.Recordset" for CreateObject.
void registerAdoClasses(automation::ClassRegistry& registry);

}  // namespace quillon::ado
