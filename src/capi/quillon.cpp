// The C interface (quillon.h) over the automation runtime: a table of the values handed to the
// host, one guard that turns every exception into a status and the calling thread's last error,
// and the dialog hosts a C program can install. Nothing a caller passes may end the process, so
// every entry point runs inside guarded().
#include "quillon.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "automation/collection.h"
#include "automation/com_error.h"
#include "automation/dispatch.h"
#include "automation/variant.h"
#include "capi/dialog_hosts.h"
#include "classes/public_classes.h"
#include "components/suite/account_check.h"
#include "components/suite/account_database.h"
#include "quillon_version.h"
#include "sql/database.h"

namespace {

using quillon::automation::ComError;
using quillon::automation::InvokeKind;
using quillon::automation::ObjectPtr;
using quillon::automation::Variant;
using quillon::automation::VarType;

// A failure of the interface itself (not an error the library raised).
struct ApiError {
  quillon_status status;
  std::string text;
};

struct LastError {
  quillon_status status = QUILLON_OK;
  std::int32_t number = 0;
  std::string text;
  std::string out;  // the text handed out by the last call (const char **)
};

LastError& lastError() {
  thread_local LastError error;
  return error;
}

// The values the host holds. Never destroyed: a host may keep handles until the process ends,
// and their objects must not be torn down after the rest of the library's statics.
struct ValueTable {
  std::unordered_map<quillon_value, Variant> values;
  quillon_value next = 1;
};

ValueTable& table() {
  static auto* values = new ValueTable;
  return *values;
}

std::recursive_mutex& apiMutex() {
  static auto* mutex = new std::recursive_mutex;
  return *mutex;
}

void registerClassesOnce() {
  static bool registered = false;
  if (registered) return;
  quillon::classes::registerAllClasses(quillon::automation::classRegistry());
  registered = true;
}

template <class Fn>
quillon_status guarded(const char* function, Fn&& body) {
  LastError& error = lastError();
  error = LastError{};
  // What the call was working on, put before the text of an error the library raised.
  std::string context;
  try {
    std::lock_guard<std::recursive_mutex> lock(apiMutex());
    registerClassesOnce();
    body(context);
    return QUILLON_OK;
  } catch (const ApiError& e) {
    error.status = e.status;
    error.number = 0;
    error.text = std::string(function) + ": " + e.text;
  } catch (const ComError& e) {
    error.status = QUILLON_RAISED;
    error.number = e.number();
    error.text = (context.empty() ? std::string(function) : context) + ": error " +
                 std::to_string(e.number()) + ": " + e.description();
  } catch (const std::bad_alloc&) {
    error.status = QUILLON_INTERNAL;
    error.number = quillon::automation::err::kOutOfMemory;
    error.text = std::string(function) + ": out of memory";
  } catch (const std::exception& e) {
    error.status = QUILLON_INTERNAL;
    error.text = std::string(function) + ": " + e.what();
  } catch (...) {
    error.status = QUILLON_INTERNAL;
    error.text = std::string(function) + ": an unexpected failure";
  }
  error.out.clear();
  return error.status;
}

template <class T>
void require(const T* pointer, const char* name) {
  if (pointer == nullptr)
    throw ApiError{QUILLON_NULL_POINTER, std::string(name) + " is a null pointer"};
}

Variant& valueOf(quillon_value handle) {
  ValueTable& t = table();
  if (handle == 0) throw ApiError{QUILLON_BAD_HANDLE, "0 is no value"};
  auto it = t.values.find(handle);
  if (it == t.values.end()) {
    throw ApiError{QUILLON_BAD_HANDLE,
                   "value " + std::to_string(handle) +
                       (handle < t.next ? " was released already" : " was never given out")};
  }
  return it->second;
}

quillon_value issue(Variant value) {
  ValueTable& t = table();
  const quillon_value handle = t.next++;
  t.values.emplace(handle, std::move(value));
  return handle;
}

void give(quillon_value* out, Variant value) {
  *out = issue(std::move(value));
}

const char* handOut(std::string text) {
  LastError& error = lastError();
  error.out = std::move(text);
  return error.out.c_str();
}

quillon_kind kindOf(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty:
      return QUILLON_EMPTY;
    case VarType::Null:
      return QUILLON_NULL;
    case VarType::Boolean:
      return QUILLON_BOOLEAN;
    case VarType::Integer:
      return QUILLON_INTEGER;
    case VarType::Long:
      return QUILLON_LONG;
    case VarType::Double:
      return QUILLON_DOUBLE;
    case VarType::Date:
      return QUILLON_DATE;
    case VarType::String:
      return QUILLON_TEXT;
    case VarType::Missing:
      return QUILLON_MISSING;
    case VarType::Array:
      return QUILLON_ARRAY;
    case VarType::Object:
      break;
  }
  const ObjectPtr& object = v.asObject();
  if (!object) return QUILLON_NOTHING;
  if (dynamic_cast<const quillon::automation::Collection*>(object.get())) return QUILLON_COLLECTION;
  if (dynamic_cast<const quillon::ado::Recordset*>(object.get())) return QUILLON_RECORDSET;
  return QUILLON_OBJECT;
}

const char* kindName(quillon_kind kind) {
  switch (kind) {
    case QUILLON_EMPTY:
      return "Empty";
    case QUILLON_NULL:
      return "Null";
    case QUILLON_BOOLEAN:
      return "a Boolean";
    case QUILLON_INTEGER:
      return "an Integer";
    case QUILLON_LONG:
      return "a Long";
    case QUILLON_DOUBLE:
      return "a Double";
    case QUILLON_DATE:
      return "a date";
    case QUILLON_TEXT:
      return "a text";
    case QUILLON_OBJECT:
      return "an object";
    case QUILLON_NOTHING:
      return "Nothing";
    case QUILLON_MISSING:
      return "Missing";
    case QUILLON_ARRAY:
      return "an array";
    case QUILLON_COLLECTION:
      return "a collection";
    case QUILLON_RECORDSET:
      return "a recordset";
  }
  return "a value";
}

[[noreturn]] void wrongKind(const Variant& v, const char* wanted) {
  throw ApiError{QUILLON_WRONG_KIND,
                 std::string("the value is ") + kindName(kindOf(v)) + ", not " + wanted};
}

ObjectPtr objectOf(quillon_value handle) {
  const Variant& v = valueOf(handle);
  if (!v.isObject() || v.isNothing()) wrongKind(v, "an object");
  return v.asObject();
}

template <class T>
std::shared_ptr<T> objectAs(quillon_value handle, const char* wanted) {
  const Variant& v = valueOf(handle);
  auto typed = v.isObject() ? std::dynamic_pointer_cast<T>(v.asObject()) : nullptr;
  if (!typed) wrongKind(v, wanted);
  return typed;
}

std::string memberContext(const ObjectPtr& object, const char* member) {
  return object->className() + "." + member;
}

// A row of the recordset's present view, on a clone so that the host's own position stays.
std::shared_ptr<quillon::ado::Recordset> rowOf(const quillon::ado::Recordset& rs,
                                               std::int32_t row) {
  const std::int32_t count = rs.isOpen() ? std::max(rs.recordCount(), 0) : 0;
  if (row < 1 || row > count) {
    throw ApiError{QUILLON_OUT_OF_RANGE,
                   "row " + std::to_string(row) + " of a recordset of " + std::to_string(count) +
                       (count == 1 ? " row" : " rows") + " (rows count from 1)"};
  }
  auto view = rs.clone();
  view->setFilter(rs.filter());
  view->setSort(rs.sort());
  view->moveFirst();
  if (row > 1) view->move(row - 1);
  return view;
}

void checkField(const quillon::ado::Recordset& rs, std::int32_t field) {
  const std::int32_t count = rs.fields()->count();
  if (field < 0 || field >= count) {
    throw ApiError{QUILLON_OUT_OF_RANGE, "field " + std::to_string(field) + " of a recordset of " +
                                             std::to_string(count) +
                                             (count == 1 ? " field" : " fields") +
                                             " (fields count from 0)"};
  }
}

std::size_t itemIndex(const quillon::automation::Collection& coll, std::int32_t index) {
  const std::size_t count = coll.count();
  if (index < 1 || static_cast<std::size_t>(index) > count) {
    throw ApiError{QUILLON_OUT_OF_RANGE, "item " + std::to_string(index) + " of a collection of " +
                                             std::to_string(count) +
                                             (count == 1 ? " item" : " items") +
                                             " (items count from 1)"};
  }
  return static_cast<std::size_t>(index);
}

using quillon::automation::MemberInfo;

// A member the object's class declares; 438 for one it does not.
const MemberInfo& declaredMember(const ObjectPtr& object, const char* member) {
  const MemberInfo* info = object->memberTable().find(member);
  if (info == nullptr) throw ComError::memberNotFound();
  return *info;
}

const quillon::automation::ParamInfo& paramOf(const MemberInfo& info, std::int32_t index) {
  const std::size_t count = info.params.size();
  if (index < 0 || static_cast<std::size_t>(index) >= count) {
    throw ApiError{QUILLON_OUT_OF_RANGE, "parameter " + std::to_string(index) + " of " + info.name +
                                             ", which has " + std::to_string(count) +
                                             (count == 1 ? " parameter" : " parameters") +
                                             " (parameters count from 0)"};
  }
  return info.params[static_cast<std::size_t>(index)];
}

// The values of the arguments, checked before anything is called.
std::vector<Variant> argumentValues(size_t argc, const quillon_value* args) {
  if (argc > 0) require(args, "args");
  std::vector<Variant> values;
  values.reserve(argc);
  for (size_t i = 0; i < argc; ++i) values.push_back(valueOf(args[i]));
  return values;
}

// Calls the member; by-reference arguments take what it left, also when it raised.
Variant invokeWritingBack(const ObjectPtr& target, const char* member, std::vector<Variant>& values,
                          size_t argc, const quillon_value* args, const int* by_ref) {
  auto writeBack = [&] {
    if (by_ref == nullptr) return;
    for (size_t i = 0; i < argc; ++i) {
      if (by_ref[i] != 0) valueOf(args[i]) = values[i];
    }
  };
  Variant returned;
  try {
    returned = target->invoke(member, InvokeKind::Method, values);
  } catch (...) {
    writeBack();
    throw;
  }
  writeBack();
  return returned;
}

// What the dialogs of the thread's last quillon_call_dialogs did.
std::string& lastCallTranscript() {
  thread_local std::string text;
  return text;
}

}  // namespace

extern "C" {

const char* quillon_version(void) {
  return QUILLON_VERSION " (commit " QUILLON_COMMIT ")";
}

quillon_status quillon_error_status(void) {
  return lastError().status;
}

int32_t quillon_error_number(void) {
  return lastError().number;
}

const char* quillon_error_text(void) {
  return lastError().text.c_str();
}

quillon_status quillon_empty(quillon_value* out) {
  return guarded("quillon_empty", [&](std::string&) {
    require(out, "out");
    give(out, Variant());
  });
}

quillon_status quillon_null(quillon_value* out) {
  return guarded("quillon_null", [&](std::string&) {
    require(out, "out");
    give(out, Variant::null());
  });
}

quillon_status quillon_nothing(quillon_value* out) {
  return guarded("quillon_nothing", [&](std::string&) {
    require(out, "out");
    give(out, Variant::nothing());
  });
}

quillon_status quillon_missing(quillon_value* out) {
  return guarded("quillon_missing", [&](std::string&) {
    require(out, "out");
    give(out, Variant::missing());
  });
}

quillon_status quillon_bool(int value, quillon_value* out) {
  return guarded("quillon_bool", [&](std::string&) {
    require(out, "out");
    give(out, Variant(value != 0));
  });
}

quillon_status quillon_integer(int16_t value, quillon_value* out) {
  return guarded("quillon_integer", [&](std::string&) {
    require(out, "out");
    give(out, Variant(static_cast<std::int16_t>(value)));
  });
}

quillon_status quillon_long(int32_t value, quillon_value* out) {
  return guarded("quillon_long", [&](std::string&) {
    require(out, "out");
    give(out, Variant(static_cast<std::int32_t>(value)));
  });
}

quillon_status quillon_double(double value, quillon_value* out) {
  return guarded("quillon_double", [&](std::string&) {
    require(out, "out");
    give(out, Variant(value));
  });
}

quillon_status quillon_date(double serial, quillon_value* out) {
  return guarded("quillon_date", [&](std::string&) {
    require(out, "out");
    give(out, Variant(quillon::automation::DateValue{serial}));
  });
}

quillon_status quillon_date_text(const char* text, quillon_value* out) {
  return guarded("quillon_date_text", [&](std::string& context) {
    require(text, "text");
    require(out, "out");
    context = std::string("date \"") + text + "\"";
    give(out, Variant(Variant(text).toDate()));
  });
}

quillon_status quillon_text(const char* utf8, quillon_value* out) {
  return guarded("quillon_text", [&](std::string&) {
    require(utf8, "utf8");
    require(out, "out");
    give(out, Variant(utf8));
  });
}

quillon_status quillon_array(size_t count, const quillon_value* items, quillon_value* out) {
  return guarded("quillon_array", [&](std::string&) {
    if (count > 0) require(items, "items");
    require(out, "out");
    std::vector<Variant> values;
    values.reserve(count);
    for (size_t i = 0; i < count; ++i) values.push_back(valueOf(items[i]));
    give(out, Variant::array(std::move(values)));
  });
}

quillon_status quillon_array_count(quillon_value array, int32_t* out) {
  return guarded("quillon_array_count", [&](std::string&) {
    require(out, "out");
    const Variant& v = valueOf(array);
    if (!v.isArray()) wrongKind(v, "an array");
    *out = static_cast<int32_t>(v.asArray()->items.size());
  });
}

quillon_status quillon_array_item(quillon_value array, int32_t place, quillon_value* out) {
  return guarded("quillon_array_item", [&](std::string&) {
    require(out, "out");
    const Variant& v = valueOf(array);
    if (!v.isArray()) wrongKind(v, "an array");
    const auto& items = v.asArray()->items;
    if (place < 0 || static_cast<std::size_t>(place) >= items.size()) {
      throw ApiError{QUILLON_OUT_OF_RANGE, "place " + std::to_string(place) + " of an array of " +
                                               std::to_string(items.size()) +
                                               " items (places count from 0)"};
    }
    give(out, items[static_cast<std::size_t>(place)]);
  });
}

quillon_status quillon_copy(quillon_value value, quillon_value* out) {
  return guarded("quillon_copy", [&](std::string&) {
    require(out, "out");
    give(out, valueOf(value));
  });
}

quillon_status quillon_release(quillon_value value) {
  return guarded("quillon_release", [&](std::string&) {
    valueOf(value);
    // Out of the table before the value goes, so that whatever its object does on the way out
    // sees a consistent table.
    auto node = table().values.extract(value);
  });
}

quillon_status quillon_kind_of(quillon_value value, quillon_kind* out) {
  return guarded("quillon_kind_of", [&](std::string&) {
    require(out, "out");
    *out = kindOf(valueOf(value));
  });
}

quillon_status quillon_get_bool(quillon_value value, int* out) {
  return guarded("quillon_get_bool", [&](std::string&) {
    require(out, "out");
    const Variant& v = valueOf(value);
    if (v.type() != VarType::Boolean) wrongKind(v, "a Boolean");
    *out = v.asBool() ? 1 : 0;
  });
}

quillon_status quillon_get_long(quillon_value value, int32_t* out) {
  return guarded("quillon_get_long", [&](std::string&) {
    require(out, "out");
    const Variant& v = valueOf(value);
    if (v.type() != VarType::Long && v.type() != VarType::Integer)
      wrongKind(v, "a Long or an Integer");
    *out = v.toLong();
  });
}

quillon_status quillon_get_double(quillon_value value, double* out) {
  return guarded("quillon_get_double", [&](std::string&) {
    require(out, "out");
    const Variant& v = valueOf(value);
    if (!v.isNumber()) wrongKind(v, "a number");
    *out = v.toDouble();
  });
}

quillon_status quillon_get_date(quillon_value value, double* out) {
  return guarded("quillon_get_date", [&](std::string&) {
    require(out, "out");
    const Variant& v = valueOf(value);
    if (v.type() != VarType::Date) wrongKind(v, "a date");
    *out = v.asDate().serial;
  });
}

quillon_status quillon_get_text(quillon_value value, const char** out) {
  return guarded("quillon_get_text", [&](std::string&) {
    require(out, "out");
    const Variant& v = valueOf(value);
    if (!v.isString()) wrongKind(v, "a text");
    *out = handOut(v.asString());
  });
}

quillon_status quillon_display_text(quillon_value value, const char** out) {
  return guarded("quillon_display_text", [&](std::string&) {
    require(out, "out");
    const Variant& v = valueOf(value);
    if (v.isObject()) {
      *out =
          handOut(v.isNothing() ? std::string("Nothing") : "<" + v.asObject()->className() + ">");
    } else if (v.isArray()) {
      *out = handOut("<Array> (" + std::to_string(v.asArray()->items.size()) + " items)");
    } else if (v.isMissing()) {
      *out = handOut("");
    } else {
      *out = handOut(v.displayText());
    }
  });
}

quillon_status quillon_class_name(quillon_value value, const char** out) {
  return guarded("quillon_class_name", [&](std::string&) {
    require(out, "out");
    *out = handOut(objectOf(value)->className());
  });
}

quillon_status quillon_create(const char* prog_id, quillon_value* out) {
  return guarded("quillon_create", [&](std::string& context) {
    require(prog_id, "prog_id");
    require(out, "out");
    context = std::string("creating \"") + prog_id + "\"";
    give(out, Variant(quillon::automation::CreateObject(prog_id)));
  });
}

quillon_status quillon_call(quillon_value object, const char* member, size_t argc,
                            const quillon_value* args, const int* by_ref, quillon_value* result) {
  return guarded("quillon_call", [&](std::string& context) {
    require(member, "member");
    ObjectPtr target = objectOf(object);
    std::vector<Variant> values = argumentValues(argc, args);
    context = memberContext(target, member);
    Variant returned = invokeWritingBack(target, member, values, argc, args, by_ref);
    if (result != nullptr) give(result, std::move(returned));
  });
}

quillon_status quillon_get_property(quillon_value object, const char* name, quillon_value* out) {
  return guarded("quillon_get_property", [&](std::string& context) {
    require(name, "name");
    require(out, "out");
    ObjectPtr target = objectOf(object);
    context = memberContext(target, name);
    give(out, target->invoke(name, InvokeKind::PropertyGet, {}));
  });
}

quillon_status quillon_set_property(quillon_value object, const char* name, quillon_value value) {
  return guarded("quillon_set_property", [&](std::string& context) {
    require(name, "name");
    ObjectPtr target = objectOf(object);
    std::vector<Variant> assigned{valueOf(value)};
    context = memberContext(target, name);
    target->invoke(name,
                   assigned.front().isObject() ? InvokeKind::PropertySet : InvokeKind::PropertyLet,
                   assigned);
  });
}

quillon_status quillon_collection_count(quillon_value collection, int32_t* out) {
  return guarded("quillon_collection_count", [&](std::string&) {
    require(out, "out");
    auto coll = objectAs<quillon::automation::Collection>(collection, "a collection");
    *out = static_cast<int32_t>(coll->count());
  });
}

quillon_status quillon_collection_item(quillon_value collection, int32_t index,
                                       quillon_value* out) {
  return guarded("quillon_collection_item", [&](std::string&) {
    require(out, "out");
    auto coll = objectAs<quillon::automation::Collection>(collection, "a collection");
    give(out, coll->item(itemIndex(*coll, index)));
  });
}

quillon_status quillon_collection_item_by_key(quillon_value collection, const char* key,
                                              quillon_value* out) {
  return guarded("quillon_collection_item_by_key", [&](std::string& context) {
    require(key, "key");
    require(out, "out");
    auto coll = objectAs<quillon::automation::Collection>(collection, "a collection");
    context = std::string("Collection(\"") + key + "\")";
    give(out, coll->item(std::string_view(key)));
  });
}

quillon_status quillon_collection_key(quillon_value collection, int32_t index, const char** out) {
  return guarded("quillon_collection_key", [&](std::string&) {
    require(out, "out");
    auto coll = objectAs<quillon::automation::Collection>(collection, "a collection");
    const std::size_t i = itemIndex(*coll, index);
    *out = handOut(coll->keys()[i - 1].value_or(""));
  });
}

quillon_status quillon_recordset_field_count(quillon_value recordset, int32_t* out) {
  return guarded("quillon_recordset_field_count", [&](std::string& context) {
    require(out, "out");
    auto rs = objectAs<quillon::ado::Recordset>(recordset, "a recordset");
    context = "Recordset.Fields";
    *out = rs->fields()->count();
  });
}

quillon_status quillon_recordset_field_name(quillon_value recordset, int32_t field,
                                            const char** out) {
  return guarded("quillon_recordset_field_name", [&](std::string& context) {
    require(out, "out");
    auto rs = objectAs<quillon::ado::Recordset>(recordset, "a recordset");
    context = "Recordset.Fields";
    checkField(*rs, field);
    *out = handOut(rs->fields()->item(static_cast<std::size_t>(field))->name());
  });
}

quillon_status quillon_recordset_row_count(quillon_value recordset, int32_t* out) {
  return guarded("quillon_recordset_row_count", [&](std::string&) {
    require(out, "out");
    auto rs = objectAs<quillon::ado::Recordset>(recordset, "a recordset");
    *out = rs->isOpen() ? std::max(rs->recordCount(), 0) : 0;
  });
}

quillon_status quillon_recordset_value(quillon_value recordset, int32_t row, int32_t field,
                                       quillon_value* out) {
  return guarded("quillon_recordset_value", [&](std::string& context) {
    require(out, "out");
    auto rs = objectAs<quillon::ado::Recordset>(recordset, "a recordset");
    context = "Recordset";
    auto view = rowOf(*rs, row);
    checkField(*view, field);
    give(out, view->value(static_cast<std::size_t>(field)));
  });
}

quillon_status quillon_recordset_value_by_name(quillon_value recordset, int32_t row,
                                               const char* field, quillon_value* out) {
  return guarded("quillon_recordset_value_by_name", [&](std::string& context) {
    require(field, "field");
    require(out, "out");
    auto rs = objectAs<quillon::ado::Recordset>(recordset, "a recordset");
    context = std::string("Recordset(\"") + field + "\")";
    auto view = rowOf(*rs, row);
    give(out, view->value(std::string_view(field)));
  });
}

quillon_status quillon_dialogs_script(const char* dialog_lines, int flags) {
  return guarded("quillon_dialogs_script", [&](std::string&) {
    require(dialog_lines, "dialog_lines");
    if (auto failure =
            quillon::capi::installDialogLines(dialog_lines, (flags & QUILLON_DIALOGS_DRAWN) != 0)) {
      throw ApiError{failure->status, failure->text};
    }
  });
}

quillon_status quillon_dialogs_person(void) {
  return guarded("quillon_dialogs_person", [&](std::string&) {
    if (auto failure = quillon::capi::installPerson())
      throw ApiError{failure->status, failure->text};
  });
}

quillon_status quillon_dialogs_transcript(const char** out) {
  return guarded("quillon_dialogs_transcript", [&](std::string&) {
    require(out, "out");
    *out = handOut(quillon::capi::dialogsTranscript());
  });
}

quillon_status quillon_dialogs_finish(void) {
  return guarded("quillon_dialogs_finish", [&](std::string&) {
    if (auto failure = quillon::capi::finishDialogs())
      throw ApiError{failure->status, failure->text};
  });
}

quillon_status quillon_member_count(quillon_value object, int32_t* out) {
  return guarded("quillon_member_count", [&](std::string&) {
    require(out, "out");
    *out = static_cast<int32_t>(objectOf(object)->memberTable().members().size());
  });
}

quillon_status quillon_member_name(quillon_value object, int32_t index, const char** out) {
  return guarded("quillon_member_name", [&](std::string&) {
    require(out, "out");
    const auto& members = objectOf(object)->memberTable().members();
    if (index < 0 || static_cast<std::size_t>(index) >= members.size()) {
      throw ApiError{QUILLON_OUT_OF_RANGE, "member " + std::to_string(index) + " of a class of " +
                                               std::to_string(members.size()) +
                                               " members (members count from 0)"};
    }
    *out = handOut(members[static_cast<std::size_t>(index)].name);
  });
}

quillon_status quillon_member_info(quillon_value object, const char* member, int* kinds,
                                   int32_t* param_count) {
  return guarded("quillon_member_info", [&](std::string& context) {
    require(member, "member");
    require(kinds, "kinds");
    require(param_count, "param_count");
    ObjectPtr target = objectOf(object);
    context = memberContext(target, member);
    const MemberInfo& info = declaredMember(target, member);
    *kinds = (info.method ? QUILLON_MEMBER_METHOD : 0) | (info.get ? QUILLON_MEMBER_GET : 0) |
             (info.let ? QUILLON_MEMBER_LET : 0) | (info.set ? QUILLON_MEMBER_SET : 0);
    *param_count = static_cast<int32_t>(info.params.size());
  });
}

quillon_status quillon_member_param(quillon_value object, const char* member, int32_t index,
                                    const char** name, int* flags) {
  return guarded("quillon_member_param", [&](std::string& context) {
    require(member, "member");
    require(name, "name");
    require(flags, "flags");
    ObjectPtr target = objectOf(object);
    context = memberContext(target, member);
    const auto& param = paramOf(declaredMember(target, member), index);
    *flags =
        (param.optional ? QUILLON_PARAM_OPTIONAL : 0) | (param.byRef ? QUILLON_PARAM_BY_REF : 0);
    *name = handOut(param.name);
  });
}

quillon_status quillon_member_param_type(quillon_value object, const char* member, int32_t index,
                                         const char** out) {
  return guarded("quillon_member_param_type", [&](std::string& context) {
    require(member, "member");
    require(out, "out");
    ObjectPtr target = objectOf(object);
    context = memberContext(target, member);
    *out = handOut(paramOf(declaredMember(target, member), index).typeName);
  });
}

quillon_status quillon_member_text(quillon_value object, const char* member, const char** out) {
  return guarded("quillon_member_text", [&](std::string& context) {
    require(member, "member");
    require(out, "out");
    ObjectPtr target = objectOf(object);
    context = memberContext(target, member);
    // The member printer puts the DISPID first; a host names members, not numbers.
    std::string line = quillon::automation::describeMember(declaredMember(target, member));
    line.erase(0, line.find(' ') + 1);
    *out = handOut(std::move(line));
  });
}

quillon_status quillon_call_dialogs(quillon_value object, const char* member, size_t argc,
                                    const quillon_value* args, const int* by_ref,
                                    const char* dialog_lines, int flags, quillon_value* result) {
  return guarded("quillon_call_dialogs", [&](std::string& context) {
    require(member, "member");
    require(dialog_lines, "dialog_lines");
    ObjectPtr target = objectOf(object);
    std::vector<Variant> values = argumentValues(argc, args);
    lastCallTranscript().clear();
    quillon::capi::OneCallDialogs dialogs(dialog_lines, (flags & QUILLON_DIALOGS_DRAWN) != 0);
    if (const auto& failure = dialogs.failure()) throw ApiError{failure->status, failure->text};
    context = memberContext(target, member);
    Variant returned;
    try {
      returned = invokeWritingBack(target, member, values, argc, args, by_ref);
    } catch (const ComError& e) {
      lastCallTranscript() = dialogs.transcript();
      // The member's error stands; lines that failed as well are told in its text.
      if (auto failure = dialogs.finish()) {
        throw ComError(
            e.number(),
            e.description() + " (the dialog lines failed as well: " + failure->text + ")",
            e.source());
      }
      throw;
    }
    lastCallTranscript() = dialogs.transcript();
    auto failure = dialogs.finish();
    if (result != nullptr) give(result, std::move(returned));
    if (failure) throw ApiError{failure->status, failure->text};
  });
}

quillon_status quillon_call_dialogs_transcript(const char** out) {
  return guarded("quillon_call_dialogs_transcript", [&](std::string&) {
    require(out, "out");
    *out = handOut(lastCallTranscript());
  });
}

quillon_status quillon_recordset_rows(quillon_value recordset, int32_t first, int32_t count,
                                      quillon_value* out) {
  return guarded("quillon_recordset_rows", [&](std::string& context) {
    require(out, "out");
    auto rs = objectAs<quillon::ado::Recordset>(recordset, "a recordset");
    context = "Recordset";
    const std::int32_t rows = rs->isOpen() ? std::max(rs->recordCount(), 0) : 0;
    if (first < 1 || count < 0 || first - 1 > rows - count) {
      throw ApiError{QUILLON_OUT_OF_RANGE,
                     std::to_string(count) + " rows from row " + std::to_string(first) +
                         " of a recordset of " + std::to_string(rows) +
                         (rows == 1 ? " row" : " rows") + " (rows count from 1)"};
    }
    std::vector<Variant> taken;
    taken.reserve(static_cast<std::size_t>(count));
    if (count > 0) {
      auto view = rowOf(*rs, first);
      const std::size_t fields = static_cast<std::size_t>(view->fields()->count());
      for (std::int32_t i = 0; i < count; ++i) {
        if (i > 0) view->moveNext();
        std::vector<Variant> row;
        row.reserve(fields);
        for (std::size_t f = 0; f < fields; ++f) row.push_back(view->value(f));
        taken.push_back(Variant::array(std::move(row)));
      }
    }
    give(out, Variant::array(std::move(taken)));
  });
}

quillon_status quillon_check_account(const char* db, int* clean, const char** report) {
  return guarded("quillon_check_account", [&](std::string& context) {
    require(db, "db");
    require(clean, "clean");
    require(report, "report");
    context = std::string("checking \"") + db + "\"";
    const auto database = quillon::components::suite::openAccountDatabase(db);
    const auto found = quillon::components::suite::checkAccountDatabase(*database);
    *clean = found.clean() ? 1 : 0;
    *report = handOut(found.text());
  });
}

quillon_status quillon_value_count(size_t* out) {
  return guarded("quillon_value_count", [&](std::string&) {
    require(out, "out");
    *out = table().values.size();
  });
}

}  // extern "C"
