#include "classes/track_set.h"

#include <cctype>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "automation/com_error.h"
#include "automation/error_info.h"
#include "components/archive.h"
#include "module/module_state.h"

namespace quillon::classes {

using automation::Args;
using automation::ComError;
using automation::ObjectPtr;
using automation::Variant;

namespace {

[[noreturn]] void objectNotSet() {
  throw ComError(automation::err::kObjectVariableNotSet,
                 "Object variable or With block variable not set");
}

template <class T>
T& required(T* object) {
  if (object == nullptr) objectNotSet();
  return *object;
}

// An id goes into the statements without quotes, so only a plain integer may stand there.
bool isIntegerText(const std::string& text) {
  std::size_t i = 0;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) i = 1;
  if (i >= text.size()) return false;
  for (; i < text.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  }
  return true;
}

std::string refusedId(const std::string& id) {
  std::string message = kRdsIdNotInteger;
  message.replace(message.find('%'), 1, id);
  return message;
}

// A value as plain text, the way string concatenation turns it into statement text.
std::string plainText(const Variant& v) {
  return v.isNull() ? std::string() : v.toString();
}

std::string quotedValue(const Variant& v) {
  std::string out;
  for (char c : plainText(v)) {
    if (c == '\'') out.push_back('\'');
    out.push_back(c);
  }
  return out;
}

bool notCheckNum(const ObjectPtr& inventory) {
  if (!inventory) objectNotSet();
  if (auto item = std::dynamic_pointer_cast<components::InventoryItem>(inventory))
    return item->notCheckNum();
  return inventory->get("bNotCheckNum").toBool();
}

}  // namespace

std::string TrackSet::writeStatement(const std::string& sRdsID, ado::Recordset* rsHead,
                                     ado::Recordset& rsBody, bool bRDorCS, bool bIO) {
  const std::string sign = bIO ? "+" : "-";
  if (bRDorCS) {
    return "UPDATE RdRecords SET cVouchCode ='" + sRdsID + "'" +
           ", iSOutQuantity = iSOutQuantity " + sign + plainText(rsBody.value("iSOutQuantity")) +
           ", iSOutNum =  iSOutNum" + sign + plainText(rsBody.value("iSOutNum")) +
           " where AutoID = " + sRdsID;
  }
  std::string free[10];
  for (int k = 0; k < 10; ++k) free[k] = quotedValue(rsBody.value("cFree" + std::to_string(k + 1)));
  const std::string warehouse = quotedValue(required(rsHead).value("cWhCode"));
  const std::string inventory = quotedValue(rsBody.value("cInvCode"));
  const std::string batch = quotedValue(rsBody.value("cBatch"));

  std::string condition;
  const auto add = [&condition](const std::string& column, const std::string& value) {
    if (value.empty()) return;
    if (!condition.empty()) condition += " and ";
    condition += column + " = '" + value + "'";
  };
  add("cWhCode", warehouse);
  add("cInvCode", inventory);
  add("cBatch", batch);
  for (int k = 0; k < 10; ++k) add("cFree" + std::to_string(k + 1), free[k]);
  // Without any identifying value the statement would touch every stock row.
  if (condition.empty()) return {};
  return "UPDATE CurrentStock SET iQuantity = iQuantity " + sign +
         plainText(rsBody.value("iSOutQuantity")) + ", iNum = iNum " + sign +
         plainText(rsBody.value("iSOutNum")) + " where " + condition;
}

bool TrackSet::WritCountofRD_CS(const std::string& sRdsID, ado::Recordset* rsHead,
                                ado::Recordset* rsBody, ado::Connection* oCon, bool bRDorCS,
                                std::string& ErrMsg, bool bIO) {
  try {
    if (bRDorCS && !isIntegerText(sRdsID)) {
      ErrMsg = refusedId(sRdsID);
      return false;
    }
    std::string statement = writeStatement(sRdsID, rsHead, required(rsBody), bRDorCS, bIO);
    if (statement.empty()) {
      ErrMsg = kStockRowUnknown;
      return false;
    }
    module::gSQL = std::move(statement);
    required(oCon).execute(module::gSQL, nullptr, ado::adOptionUnspecified);
    return true;
  } catch (...) {
    automation::trapCurrentException(*module::gErrInfo);
    ErrMsg = automation::trappedMessage("TrackSet:WritCountofRD_CS", *module::gErrInfo);
    return false;
  }
}

bool TrackSet::AllowWritCount(const std::string& sRdsID, ado::Recordset* rsHead,
                              ado::Recordset* rsBody, ado::Connection* oCon,
                              const ObjectPtr& oInventory, std::string& ErrMsg, bool bRDorCS) {
  (void)rsHead;  // the check reads the body only; the head belongs to the write
  try {
    if (!isIntegerText(sRdsID)) {
      ErrMsg = refusedId(sRdsID);
      return false;
    }
    module::gSQL = "SELECT *  FROM RdRecords where AutoID =" + sRdsID;
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
  } catch (...) {
    automation::trapCurrentException(*module::gErrInfo);
    ErrMsg = automation::trappedMessage("TrackSet:AllowWritCount", *module::gErrInfo);
    return false;
  }
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
                    std::string err = a.str(5);
                    bool ok = false;
                    try {
                      ok = self.WritCountofRD_CS(a.str(0), a.objectAs<ado::Recordset>(1).get(),
                                                 a.objectAs<ado::Recordset>(2).get(),
                                                 a.objectAs<ado::Connection>(3).get(), a.boolean(4),
                                                 err, a.boolean(6));
                    } catch (...) {
                      // Arguments of the wrong kind are run-time errors of the method too.
                      automation::trapCurrentException(*module::gErrInfo);
                      err = automation::trappedMessage("TrackSet:WritCountofRD_CS",
                                                       *module::gErrInfo);
                    }
                    a[5] = Variant(err);
                    return Variant(ok);
                  })
          .method("AllowWritCount",
                  {in("sRdsID", "String"), in("rsHead", "Recordset"), in("rsBody", "Recordset"),
                   in("oCon", "Connection"), in("oInventory", "Object"), ref("ErrMsg", "String"),
                   optRef("bRDorCS", "Boolean", Variant(true))},
                  "Boolean",
                  [](Self& self, Args& a) -> Variant {
                    std::string err = a.str(5);
                    bool ok = false;
                    try {
                      ok = self.AllowWritCount(a.str(0), a.objectAs<ado::Recordset>(1).get(),
                                               a.objectAs<ado::Recordset>(2).get(),
                                               a.objectAs<ado::Connection>(3).get(), a.object(4),
                                               err, a.boolean(6));
                    } catch (...) {
                      automation::trapCurrentException(*module::gErrInfo);
                      err =
                          automation::trappedMessage("TrackSet:AllowWritCount", *module::gErrInfo);
                    }
                    a[5] = Variant(err);
                    return Variant(ok);
                  })
          .build();
  return table;
}

void registerTrackSet(automation::ClassRegistry& registry) {
  if (registry.find(kTrackSetProgId) == nullptr) {
    registry.add<TrackSet>(kTrackSetProgId, kTrackSetClsid);
  }
}

}  // namespace quillon::classes
