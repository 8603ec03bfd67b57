// Bin positions: InvPositionService inserts, updates and deletes bin-position records described by
// an InvPosition object.
//
// Late-bound calls: Insert/Update/Delete(oInvPos, [rs1], [rs2], [oConn], [ByRef vResult]) As
// Boolean. The two recordset slots are unused; the connection is the given one or else that of
// the position object's session context. On refusal the result is False and vResult receives the
// reason; on success vResult is "". Database failures raise.
//
// Every record moves the balance of its position (put away adds, taken out subtracts); a change
// that would leave a negative balance is refused, as is a warehouse without bin positions, a
// position of another warehouse or not at the end level, an unknown item and a zero quantity.
// Insert gives the position object the new record's AutoID; Update and Delete find the record by
// AutoID. The statements of one call run in one transaction unless the connection is already in
// the caller's transaction, which then decides.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "automation/dispatch.h"
#include "components/session_context.h"

namespace quillon::components {

// One bin-position record: where (warehouse, bin), what (item, batch, free items) and how much.
struct InvPositionData {
  std::int32_t autoId = 0;  // key of an existing record; 0 for a new one
  std::string whCode;
  std::string posCode;
  std::string invCode;
  std::string batch;
  std::string free[10];
  double quantity = 0;
  double num = 0;
  std::int32_t rdsId = 0;  // the voucher line
  std::int32_t rdId = 0;   // the voucher head
  bool inbound = true;     // bRdFlag: put away (True) or taken out (False)
  automation::Variant date = automation::Variant::null();  // dDate
  std::string handler;                                     // cHandler
  std::string memo;                                        // cMemo
};

class InvPosition : public automation::Object {
 public:
  virtual InvPositionData& data() = 0;
  virtual void setLogin(std::shared_ptr<SessionContext> context) = 0;
  virtual std::shared_ptr<SessionContext> loginContext() const = 0;
};

struct PositionResult {
  bool ok = false;
  std::string error;  // empty when ok
};

class InvPositionService : public automation::Object {
 public:
  virtual PositionResult insert(InvPosition& position, std::shared_ptr<ado::Connection> conn) = 0;
  virtual PositionResult update(InvPosition& position, std::shared_ptr<ado::Connection> conn) = 0;
  virtual PositionResult remove(InvPosition& position, std::shared_ptr<ado::Connection> conn) = 0;
};

}  // namespace quillon::components
