#include "classes/track_set.h"

#include <charconv>
#include <cstdint>
#include <string_view>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "automation/com_error.h"
#include "classes/class_kit.h"
#include "components/archive.h"
#include "module/module_state.h"
#include "sql/sql_text.h"

namespace quillon::classes {

using automation::Args;
using automation::ComError;
using automation::ObjectPtr;
using automation::Variant;

namespace {

template <class T>
T& required(T* object) {
  if (object == nullptr) throw ComError::objectNotSet();
  return *object;
}

// The record id as the statements carry it: a whole number, read as the database reads a text
// as an int: blanks (spaces) before and after, a "+" or "-" right before the digits. Anything
// else (other white space, a sign apart from its digits, a fraction, an exponent, a hex or empty
// text, a number past 64 bits) is refused before a statement runs, with the trapped prefix like
// every other failure.
std::string recordId(const std::string& text) {
  std::string_view digits = text;
  while (!digits.empty() && digits.front() == ' ') digits.remove_prefix(1);
  while (!digits.empty() && digits.back() == ' ') digits.remove_suffix(1);
  const bool negative = !digits.empty() && digits.front() == '-';
  if (!digits.empty() && (negative || digits.front() == '+')) digits.remove_prefix(1);
  std::uint64_t magnitude = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
  const bool whole = !digits.empty() && digits.front() >= '0' && digits.front() <= '9' &&
                     ec == std::errc() && end == digits.data() + digits.size() &&
                     magnitude <= static_cast<std::uint64_t>(INT64_MAX);
  if (!whole) {
    std::string message = kRdsIdNotInteger;
    message.replace(message.find('%'), 1, text);
    throw ComError(automation::err::kTypeMismatch, message);
  }
  return (negative && magnitude != 0 ? "-" : "") + std::to_string(magnitude);
}

// A body quantity as the statement carries it: a number (a text that is none is error 13, Null
// error 94), never the field's text.
std::string quantity(ado::Recordset& body, const char* field) {
  return sql::literal(body.value(field).toDouble());
}

std::string text(const Variant& v) {
  return v.isNull() ? std::string() : v.toString();
}

bool notCheckNum(const ObjectPtr& inventory) {
  if (!inventory) throw ComError::objectNotSet();
  if (auto item = std::dynamic_pointer_cast<components::InventoryItem>(inventory))
    return item->notCheckNum();
  return inventory->get("bNotCheckNum").toBool();
}

}  // namespace

std::string TrackSet::writeStatement(const std::string& sRdsID, ado::Recordset* rsHead,
                                     ado::Recordset& rsBody, bool bRDorCS, bool bIO) {
  const std::string sign = bIO ? "+" : "-";
  if (bRDorCS) {
    const std::string id = recordId(sRdsID);
    return "UPDATE RdRecords SET cVouchCode =" + sql::literal(sRdsID) +
           ", iSOutQuantity = iSOutQuantity " + sign + quantity(rsBody, "iSOutQuantity") +
           ", iSOutNum =  iSOutNum" + sign + quantity(rsBody, "iSOutNum") + " where AutoID = " + id;
  }
  std::string free[10];
  for (int k = 0; k < 10; ++k) free[k] = text(rsBody.value("cFree" + std::to_string(k + 1)));
  const std::string warehouse = text(required(rsHead).value("cWhCode"));
  const std::string inventory = text(rsBody.value("cInvCode"));
  const std::string batch = text(rsBody.value("cBatch"));

  std::string condition;
  const auto add = [&condition](const std::string& column, const std::string& value) {
    if (value.empty()) return;
    if (!condition.empty()) condition += " and ";
    condition += column + " = " + sql::literal(value);
  };
  add("cWhCode", warehouse);
  add("cInvCode", inventory);
  add("cBatch", batch);
  for (int k = 0; k < 10; ++k) add("cFree" + std::to_string(k + 1), free[k]);
  // Without any identifying value the statement would touch every stock row.
  if (condition.empty()) throw ComError(automation::err::kInvalidProcedureCall, kStockRowUnknown);
  return "UPDATE CurrentStock SET iQuantity = iQuantity " + sign +
         quantity(rsBody, "iSOutQuantity") + ", iNum = iNum " + sign +
         quantity(rsBody, "iSOutNum") + " where " + condition;
}

bool TrackSet::WritCountofRD_CS(const std::string& sRdsID, ado::Recordset* rsHead,
                                ado::Recordset* rsBody, ado::Connection* oCon, bool bRDorCS,
                                std::string& ErrMsg, bool bIO) {
  return trapInto("TrackSet:WritCountofRD_CS", ErrMsg, [&] {
    module::gSQL = writeStatement(sRdsID, rsHead, required(rsBody), bRDorCS, bIO);
    required(oCon).execute(module::gSQL, nullptr, ado::adOptionUnspecified);
    return true;
  });
}

bool TrackSet::AllowWritCount(const std::string& sRdsID, ado::Recordset* rsHead,
                              ado::Recordset* rsBody, ado::Connection* oCon,
                              const ObjectPtr& oInventory, std::string& ErrMsg, bool bRDorCS) {
  (void)rsHead;  // the check reads the body only; the head belongs to the write
  return trapInto("TrackSet:AllowWritCount", ErrMsg, [&] {
    module::gSQL = "SELECT *  FROM RdRecords where AutoID =" + recordId(sRdsID);
    auto rs = std::make_shared<ado::Recordset>();
    rs->setCursorLocation(ado::adUseClient);
    rs->open(Variant(module::gSQL), Variant(ObjectPtr(required(oCon).self())), ado::adOpenStatic,
             ado::adLockReadOnly);
    if (!rs->isOpen() || rs->eof()) return true;
    ado::Recordset& body = required(rsBody);
    const char* quantityField = bRDorCS ? "iSOutQuantity" : "iQuantity";
    const char* piecesField = bRDorCS ? "iSOutNum" : "iNum";
    const char* message = bRDorCS ? "出库数大于了入库数量！" : "出库数大于了结存数量！";
    if (rs->value("iSOutQuantity").toDouble() > body.value(quantityField).toDouble()) {
      ErrMsg = message;
    }
    if (!notCheckNum(oInventory) &&
        rs->value("iSOutNum").toDouble() > body.value(piecesField).toDouble()) {
      ErrMsg = message;
    }
    return true;
  });
}

const automation::MemberTable& TrackSet::memberTable() const {
  using automation::in;
  using automation::optRef;
  using automation::ref;
  using Self = TrackSet;
  static const automation::MemberTable table =
      automation::MemberBuilder<Self>("TrackSet")
          .method("WritCountofRD_CS",
                  {in("sRdsID", "String"), in("rsHead", "Recordset"), in("rsBody", "Recordset"),
                   in("oCon", "Connection"), in("bRDorCS", "Boolean"), ref("ErrMsg", "String"),
                   optRef("bIO", "Boolean", Variant(true))},
                  "Boolean",
                  [](Self& self, Args& a) -> Variant {
                    // Arguments of the wrong kind are run-time errors of the method too.
                    return withErrMsg(
                        a, 5,
                        [&](std::string& err) {
                          return self.WritCountofRD_CS(a.str(0),
                                                       a.objectAs<ado::Recordset>(1).get(),
                                                       a.objectAs<ado::Recordset>(2).get(),
                                                       a.objectAs<ado::Connection>(3).get(),
                                                       a.boolean(4), err, a.boolean(6));
                        },
                        "TrackSet:WritCountofRD_CS");
                  })
          .method("AllowWritCount",
                  {in("sRdsID", "String"), in("rsHead", "Recordset"), in("rsBody", "Recordset"),
                   in("oCon", "Connection"), in("oInventory", "Object"), ref("ErrMsg", "String"),
                   optRef("bRDorCS", "Boolean", Variant(true))},
                  "Boolean",
                  [](Self& self, Args& a) -> Variant {
                    return withErrMsg(
                        a, 5,
                        [&](std::string& err) {
                          return self.AllowWritCount(a.str(0), a.objectAs<ado::Recordset>(1).get(),
                                                     a.objectAs<ado::Recordset>(2).get(),
                                                     a.objectAs<ado::Connection>(3).get(),
                                                     a.object(4), err, a.boolean(6));
                        },
                        "TrackSet:AllowWritCount");
                  })
          .build();
  return table;
}

void registerTrackSet(automation::ClassRegistry& registry) {
  registerOnce<TrackSet>(registry, kTrackSetProgId, kTrackSetClsid);
}

}  // namespace quillon::classes
